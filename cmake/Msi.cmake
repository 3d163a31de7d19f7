# The Windows installer, package/scenewright-<version>-x64.msi, made by wixl (msitools) from
# the program, its icon, the licence and the read-me (cmake/BuildMsi.cmake; msitools, wixl and
# faketime).
find_program(SCENEWRIGHT_WIXL wixl REQUIRED)
set(_msi ${CMAKE_BINARY_DIR}/package/scenewright-${PROJECT_VERSION}-x64.msi)
add_custom_command(OUTPUT ${_msi}
  COMMAND ${CMAKE_COMMAND}
    -DWIXL=${SCENEWRIGHT_WIXL} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DRELEASE_EPOCH=${SCENEWRIGHT_RELEASE_EPOCH}
    -DSTAGE=${CMAKE_BINARY_DIR}/msi
    -DEXE=$<TARGET_FILE:scenewright> -DUNINSTALL_EXE=$<TARGET_FILE:scenewright_uninstall> -DOUTPUT=${_msi} -DPROJECT_VERSION=${PROJECT_VERSION}
    -DMSI_VERSION=${PROJECT_VERSION}
    -P ${CMAKE_CURRENT_LIST_DIR}/BuildMsi.cmake
  DEPENDS scenewright scenewright_uninstall ${CMAKE_CURRENT_LIST_DIR}/BuildMsi.cmake ${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake
    ${PROJECT_SOURCE_DIR}/resources/windows/scenewright.wxs.in ${PROJECT_SOURCE_DIR}/LICENSE
    ${PROJECT_SOURCE_DIR}/resources/windows-readme.txt
    ${PROJECT_SOURCE_DIR}/src/ui/win32/resources/scenewright.ico
  VERBATIM)
add_custom_target(scenewright_msi ALL DEPENDS ${_msi})
