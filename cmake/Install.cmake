# What `cmake --install` puts where, and the Debian package made from it with `cpack -G DEB`.
#
#   bin/                           walkthrough, model-info, walkthrough-shot, make-sample
#   share/walkthrough/             the sample scene kelm.3ds and its sound groud.wav
#   share/applications/            ID.desktop, starting the program in share/walkthrough, with a
#                                  .3ds file (image/x-3ds) when one is opened
#   share/metainfo/                ID.metainfo.xml: what software centres show (AppStream)
#   share/thumbnailers/            walkthrough.thumbnailer: .3ds previews drawn by walkthrough-shot
#   share/icons/hicolor/256x256/apps/walkthrough.png
#   share/man/man1/                a manual page for each program
include(GNUInstallDirs)

# The application's id names the desktop entry and the AppStream metadata; software centres know
# the program by it, so it is kept once chosen. The metadata's screenshots are the pictures in
# docs/ of each release, published at WALKTHROUGH_HOMEPAGE/screenshots/VERSION/.
set(WALKTHROUGH_APP_ID "org.example.walkthrough" CACHE STRING
    "Reverse-DNS id of the application: the desktop entry's and the metadata's file name")
set(WALKTHROUGH_HOMEPAGE "https://walkthrough.example.org" CACHE STRING
    "The project's home page, under which the metadata's screenshots are published")
set(WALKTHROUGH_SCREENSHOTS ${WALKTHROUGH_HOMEPAGE}/screenshots/${PROJECT_VERSION})

foreach(program walkthrough model-info walkthrough-shot make-sample)
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()

# The sample scene is made by our own generator at build time; a rebuilt generator replaces it.
set(sample_dir ${PROJECT_BINARY_DIR}/sample)
add_custom_command(
    OUTPUT ${sample_dir}/kelm.3ds ${sample_dir}/groud.wav
    COMMAND make-sample --force ${sample_dir}
    DEPENDS make-sample
    COMMENT "Writing the sample scene")
add_custom_target(sample_scene ALL DEPENDS ${sample_dir}/kelm.3ds ${sample_dir}/groud.wav)
install(FILES ${sample_dir}/kelm.3ds ${sample_dir}/groud.wav
        DESTINATION ${CMAKE_INSTALL_DATADIR}/walkthrough)

foreach(page walkthrough model-info walkthrough-shot make-sample)
    configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1 ${PROJECT_BINARY_DIR}/man/${page}.1
                   @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/man/${page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/data/walkthrough.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
# File managers find walkthrough-shot on the PATH (the entry's TryExec).
install(FILES ${PROJECT_SOURCE_DIR}/data/walkthrough.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)

# Started from the menu without a file, the program reads the sample scene from the working
# directory, so the desktop entry names the installed data folder; the prefix is only known
# when installing.
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    set(BINDIR \"\${prefix}/${CMAKE_INSTALL_BINDIR}\")
    set(DATADIR \"\${prefix}/${CMAKE_INSTALL_DATADIR}\")
    set(entry \"\$ENV{DESTDIR}\${DATADIR}/applications/${WALKTHROUGH_APP_ID}.desktop\")
    configure_file(\"${PROJECT_SOURCE_DIR}/data/walkthrough.desktop.in\" \"\${entry}\" @ONLY)
    message(STATUS \"Installing: \${entry}\")
")
configure_file(${PROJECT_SOURCE_DIR}/data/walkthrough.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${WALKTHROUGH_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/${WALKTHROUGH_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME walkthrough)
set(CPACK_PACKAGE_VENDOR "walkthrough developers")
set(CPACK_PACKAGE_CONTACT "walkthrough developers <walkthrough@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Install into the staging folder under the final prefix, so the desktop entry names /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The dependencies are the Debian packages of the libraries the programs link against, and the
# GL that SDL loads at run time with the Mesa drivers that render through it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1, libgl1-mesa-dri")
include(CPack)
