# Debian's emscripten as a CMake toolchain, with what it needs from the environment set here.

# emcc optimises its JavaScript with acorn, which Debian keeps outside node's own search path.
set(ZARQUEL_NODE_PATH "/usr/share/nodejs")
# Configure-time checks run emcc from this process...
set(ENV{NODE_PATH} "${ZARQUEL_NODE_PATH}")
# No EM_CACHE: Debian's emscripten ships its libraries prebuilt in a frozen cache it never
# writes to (pointing it at an empty folder would only fail, as nothing may be built there).

set(ZARQUEL_EMSCRIPTEN_TOOLCHAIN /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
if(NOT EXISTS ${ZARQUEL_EMSCRIPTEN_TOOLCHAIN})
    message(FATAL_ERROR "Debian's emscripten is not installed: scripts/setup.sh web (or apt-get install emscripten)")
endif()
include(${ZARQUEL_EMSCRIPTEN_TOOLCHAIN})

# ...and the build runs it from whatever shell called ninja: the link is where the
# optimiser runs, so the linker goes through a launcher that sets the path.
set(CMAKE_CXX_LINKER_LAUNCHER "${CMAKE_COMMAND};-E;env;NODE_PATH=${ZARQUEL_NODE_PATH}")
