# `cpack` in a build folder (tools/package.sh runs it for both builds): the Debian package
# from the Linux build, the zip from the Windows build.
set(CPACK_PACKAGE_NAME scenewright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Scenewright)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rotates the desktop wallpaper through your pictures")
set(CPACK_PACKAGE_CONTACT "Scenewright <scenewright@localhost>")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME scenewright-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  install(TARGETS scenewright RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/windows-readme.txt DESTINATION . RENAME README.txt)
else()
  set(CPACK_GENERATOR DEB)
  # The launcher's Exec names the installed path, so the package is staged through DESTDIR,
  # which keeps the staging folder out of the prefix the install steps see.
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded at run time, so the library scan cannot see them: Qt's readers of WebP and TIFF, and
  # its Wayland platform for a session without XWayland.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, qt6-wayland")
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  set(CPACK_PACKAGE_DESCRIPTION "Scenewright changes the wallpaper when it starts and then at a \
fixed interval, in list order or at random, can start at logon and waits in the tray while \
minimised.")
  install(FILES ${PROJECT_SOURCE_DIR}/resources/scenewright.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME io.github.scenewright.Scenewright.metainfo.xml)
endif()
include(CPack)
