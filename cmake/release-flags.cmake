# Hardening and reproducibility for optimised builds on Linux: what Debian's packages get.

# Fortified string functions, a stack protector, read-only relocations bound at start-up,
# and format strings that cannot come from outside: dpkg-buildflags' hardening=+all.
# Only optimised builds: fortify needs the optimiser, and debug builds have the sanitizers.
# Not WebAssembly: wasm-ld has no RELRO, and the engine keeps code and return addresses out of reach of stray writes.
if(UNIX AND NOT APPLE AND NOT EMSCRIPTEN AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set(optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    add_compile_options(
        "$<${optimised}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>"
        "$<${optimised}:-fstack-protector-strong;-fstack-clash-protection>"
        "$<${optimised}:-Wformat;-Werror=format-security;-Wdate-time>"
        # Two trees, or two checkouts, build the same bytes (debug builds keep real paths for the debugger).
        "$<${optimised}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.;-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>")
    add_link_options("$<${optimised}:LINKER:-z,relro;LINKER:-z,now>")
endif()

# Everything dated (the resources compiled in, the files in the package) takes
# the time of the last commit, so the same commit always gives the same package. A date
# already in SOURCE_DATE_EPOCH, as a Debian build sets it, wins.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ZARQUEL_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    find_package(Git QUIET)
    if(GIT_FOUND AND EXISTS "${PROJECT_SOURCE_DIR}/.git")
        execute_process(COMMAND "${GIT_EXECUTABLE}" log -1 --format=%ct
            WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
            OUTPUT_VARIABLE ZARQUEL_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
            RESULT_VARIABLE git_failed ERROR_QUIET)
        if(git_failed)
            set(ZARQUEL_SOURCE_DATE_EPOCH "")
        endif()
        # A new commit configures again, so a tree built after it takes its date.
        execute_process(COMMAND "${GIT_EXECUTABLE}" rev-parse --path-format=absolute --git-path logs/HEAD
            WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
            OUTPUT_VARIABLE head_log OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
        if(head_log AND EXISTS "${head_log}")
            set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${head_log}")
        endif()
    endif()
endif()
if(ZARQUEL_SOURCE_DATE_EPOCH)
    set(ENV{SOURCE_DATE_EPOCH} "${ZARQUEL_SOURCE_DATE_EPOCH}")
    # Build steps run by the generator (rcc above all) see it too; on Linux, where the
    # package is made and checked.
    if(UNIX AND NOT APPLE)
        set_property(GLOBAL PROPERTY RULE_LAUNCH_CUSTOM
            "\"${CMAKE_COMMAND}\" -E env SOURCE_DATE_EPOCH=${ZARQUEL_SOURCE_DATE_EPOCH}")
    endif()
endif()
