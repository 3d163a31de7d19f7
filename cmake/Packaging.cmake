# `cpack` in a build folder (tools/package.sh runs it for both builds): the Debian package
# from the Linux build, the zip from the Windows build; the Windows build also makes the MSI
# (target scenewright_msi).
set(SCENEWRIGHT_MAINTAINER "The Scenewright developers <maintainers@scenewright.org>")
set(CPACK_PACKAGE_NAME scenewright)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Scenewright developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Rotates the desktop wallpaper through your pictures")
set(CPACK_PACKAGE_CONTACT ${SCENEWRIGHT_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# cpack dates the archives' files as the MSI's (SOURCE_DATE_EPOCH, else git's, else the release).
file(WRITE ${CMAKE_BINARY_DIR}/CPackSourceDate.cmake
     "set(SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")\nset(RELEASE_EPOCH ${SCENEWRIGHT_RELEASE_EPOCH})\n"
     "include(\"${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake\")\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackSourceDate.cmake)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME scenewright-${PROJECT_VERSION}-windows-x64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  install(TARGETS scenewright RUNTIME DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/windows-readme.txt DESTINATION . RENAME README.txt)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
  include(${CMAKE_CURRENT_LIST_DIR}/Msi.cmake)
else()
  set(CPACK_GENERATOR DEB)
  # The launcher's Exec names the installed path, so the package is staged through DESTDIR,
  # which keeps the staging folder out of the prefix the install steps see.
  set(CPACK_SET_DESTDIR ON)
  set(CPACK_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${SCENEWRIGHT_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded at run time, so the library scan cannot see them: Qt's readers of WebP and TIFF, and
  # its Wayland platform for a session without XWayland.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, qt6-wayland")
  # Stripped as Debian strips programs: without the compiler's notes either.
  install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/scenewright\" COMMAND_ERROR_IS_FATAL ANY)")
  set(CPACK_DEBIAN_PACKAGE_SECTION x11)
  # Purging removes the machine-wide start-at-login entry the program wrote for itself.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/debian/postrm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
  # One line of the extended description each, within 80 columns.
  set(CPACK_PACKAGE_DESCRIPTION "\
Scenewright changes the desktop wallpaper when it starts and then at a fixed
interval, in list order or at random, through a list of JPEG, PNG, GIF, BMP,
WebP or TIFF pictures. It can start at logon and waits in the notification
area while its window is minimised. It sets the wallpaper of GNOME, KDE
Plasma, Xfce, MATE, Cinnamon, LXDE, LXQt, sway and other wlroots compositors,
and a bare X server.")
  install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/scenewright)

  # The AppStream entry, the manual page and the Debian changelog carry the version and the
  # release date; the last two are compressed as Debian wants, without a name or time stamp.
  configure_file(${PROJECT_SOURCE_DIR}/resources/scenewright.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/generated/scenewright.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/generated/scenewright.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME io.github.scenewright.Scenewright.metainfo.xml)
  execute_process(COMMAND date -u -R -d "${SCENEWRIGHT_RELEASE_DATE}"
                  OUTPUT_VARIABLE SCENEWRIGHT_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                  COMMAND_ERROR_IS_FATAL ANY)
  set(_generated ${CMAKE_BINARY_DIR}/generated)
  configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${_generated}/changelog @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/resources/scenewright.1.in ${_generated}/scenewright.1 @ONLY)
  install(CODE "
    foreach(name changelog scenewright.1)
      execute_process(COMMAND gzip -9nf \"${_generated}/\${name}\" -c
                      OUTPUT_FILE \"${_generated}/\${name}.gz\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")
  install(FILES ${_generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/scenewright)
  install(FILES ${_generated}/scenewright.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
include(CPack)
