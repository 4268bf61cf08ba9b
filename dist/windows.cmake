# Windows only: the resources inside zarquel.exe, the zip CPack makes and the MSI wixl makes.

# The icon Explorer shows, the version on the file's Details tab and the DPI manifest.
target_sources(zarquel PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/zarquel.rc)
# windres reports no dependencies: a redrawn icon must still rebuild the resources.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/zarquel.rc TARGET_DIRECTORY zarquel PROPERTIES
    OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/assets/icon.ico;${PROJECT_SOURCE_DIR}/win32/zarquel.manifest")

# The zip holds the game, the README and the licence, nothing of the Linux desktop files.
install(TARGETS zarquel RUNTIME DESTINATION . COMPONENT windows)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT windows)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};Zarquel;windows;/")
set(CPACK_GENERATOR "ZIP")
# zarquel-1.00-win64.zip, or -win32 from the i686 build.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_SYSTEM_NAME "win64")
    set(ZARQUEL_MSI_ARCH "x64")
else()
    set(CPACK_SYSTEM_NAME "win32")
    set(ZARQUEL_MSI_ARCH "x86")
endif()
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

# The Windows Installer package, built with wixl from msitools; 64-bit only, as Wine here is.
find_program(WIXL_PROGRAM wixl)
if(WIXL_PROGRAM AND ZARQUEL_MSI_ARCH STREQUAL "x64")
    configure_file(zarquel.wxs.in zarquel.wxs @ONLY)
    set(ZARQUEL_MSI ${PROJECT_BINARY_DIR}/zarquel-${ZARQUEL_VERSION}-${ZARQUEL_MSI_ARCH}.msi)
    # wixl takes source files only by relative names, so the two are staged beside the source.
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/msi)
    file(MAKE_DIRECTORY ${stage})
    add_custom_command(OUTPUT ${ZARQUEL_MSI}
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zarquel> ${PROJECT_SOURCE_DIR}/assets/icon.ico
                ${CMAKE_CURRENT_BINARY_DIR}/zarquel.wxs ${stage}
        COMMAND ${WIXL_PROGRAM} --arch ${ZARQUEL_MSI_ARCH} -o ${ZARQUEL_MSI} zarquel.wxs
        WORKING_DIRECTORY ${stage}
        DEPENDS zarquel ${CMAKE_CURRENT_BINARY_DIR}/zarquel.wxs ${PROJECT_SOURCE_DIR}/assets/icon.ico
        COMMENT "Building the Windows Installer package")
    add_custom_target(zarquel_msi ALL DEPENDS ${ZARQUEL_MSI})
endif()
