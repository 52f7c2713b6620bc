# The Windows program's icon and version record, and what a Windows user downloads:
#
#   walkthrough-setup.exe      the installer (NSIS, packaging/windows/walkthrough.nsi): for the
#                              current user, with a Start-menu entry, the .3ds association and an
#                              uninstaller
#   walkthrough-portable.zip   the same programs and sample scene in one folder, walkthrough-X.Y.Z
#
# Both hold walkthrough.exe, model-info.exe and make-sample.exe, stripped, with kelm.3ds and
# groud.wav from WALKTHROUGH_WINDOWS_SAMPLE_DIR, which scripts/build-windows.sh fills with the
# native make-sample's files (the Windows one would need Wine to run at build time). Without that
# folder only the programs are built.

# The icon, made from the desktop icon with ImageMagick in the sizes Explorer shows.
find_program(WALKTHROUGH_CONVERT convert REQUIRED)
set(WALKTHROUGH_ICON ${PROJECT_BINARY_DIR}/walkthrough.ico)
add_custom_command(
    OUTPUT ${WALKTHROUGH_ICON}
    COMMAND ${WALKTHROUGH_CONVERT} ${PROJECT_SOURCE_DIR}/data/walkthrough.png
            -define icon:auto-resize=256,48,32,16 ${WALKTHROUGH_ICON}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/walkthrough.png
    COMMENT "Making the Windows icon")
enable_language(RC)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/walkthrough.rc.in
               ${PROJECT_BINARY_DIR}/walkthrough.rc @ONLY)
target_sources(walkthrough PRIVATE ${PROJECT_BINARY_DIR}/walkthrough.rc)
set_source_files_properties(${PROJECT_BINARY_DIR}/walkthrough.rc
                            PROPERTIES OBJECT_DEPENDS ${WALKTHROUGH_ICON})

set(WALKTHROUGH_WINDOWS_SAMPLE_DIR "" CACHE PATH
    "Folder holding the sample scene (kelm.3ds, groud.wav) that the Windows packages install")
if(NOT WALKTHROUGH_WINDOWS_SAMPLE_DIR)
    message(STATUS "No WALKTHROUGH_WINDOWS_SAMPLE_DIR: the installer and the .zip are not made")
    return()
endif()
find_program(WALKTHROUGH_MAKENSIS makensis REQUIRED)

# The folder both packages are made from, named as the .zip unpacks.
set(package_root ${PROJECT_BINARY_DIR}/package)
set(stage ${package_root}/walkthrough-${PROJECT_VERSION})
set(staged_files)
foreach(program walkthrough model-info make-sample)
    add_custom_command(
        OUTPUT ${stage}/${program}.exe
        COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
        COMMAND ${CMAKE_STRIP} -o ${stage}/${program}.exe $<TARGET_FILE:${program}>
        DEPENDS ${program})
    list(APPEND staged_files ${stage}/${program}.exe)
endforeach()
foreach(file kelm.3ds groud.wav)
    add_custom_command(
        OUTPUT ${stage}/${file}
        COMMAND ${CMAKE_COMMAND} -E copy ${WALKTHROUGH_WINDOWS_SAMPLE_DIR}/${file} ${stage}/${file}
        DEPENDS ${WALKTHROUGH_WINDOWS_SAMPLE_DIR}/${file})
    list(APPEND staged_files ${stage}/${file})
endforeach()

set(installer_script ${PROJECT_SOURCE_DIR}/packaging/windows/walkthrough.nsi)
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/walkthrough-setup.exe
    COMMAND ${WALKTHROUGH_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage}
            -DICON=${WALKTHROUGH_ICON} -DOUTFILE=${PROJECT_BINARY_DIR}/walkthrough-setup.exe
            ${installer_script}
    DEPENDS ${installer_script} ${staged_files} ${WALKTHROUGH_ICON}
    COMMENT "Making the installer walkthrough-setup.exe")
add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/walkthrough-portable.zip
    COMMAND ${CMAKE_COMMAND} -E rm -f ${PROJECT_BINARY_DIR}/walkthrough-portable.zip
    COMMAND ${CMAKE_COMMAND} -E tar cf ${PROJECT_BINARY_DIR}/walkthrough-portable.zip
            --format=zip walkthrough-${PROJECT_VERSION}
    WORKING_DIRECTORY ${package_root}
    DEPENDS ${staged_files}
    COMMENT "Making walkthrough-portable.zip")
add_custom_target(windows_packages ALL
    DEPENDS ${PROJECT_BINARY_DIR}/walkthrough-setup.exe
            ${PROJECT_BINARY_DIR}/walkthrough-portable.zip)
