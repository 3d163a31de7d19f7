# Stages the installer's files and runs wixl on them (cmake -P, from cmake/Msi.cmake).
# Reproducible: the files and the database carry the sources' time (cmake/SourceDate.cmake),
# the product code follows the version and the package code the version and that time.
# wixl 0.101 takes neither the time nor the package code: it runs under faketime, and msibuild
# then writes the package code.
include(${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)
set(epoch $ENV{SOURCE_DATE_EPOCH})
set(namespace 65d21f39-033e-4447-a5d8-d2fb63ca022a)
string(UUID MSI_PRODUCT_CODE NAMESPACE ${namespace} NAME "product ${PROJECT_VERSION}" TYPE SHA1 UPPER)
string(UUID MSI_PACKAGE_CODE NAMESPACE ${namespace} NAME "package ${PROJECT_VERSION} ${epoch}" TYPE SHA1 UPPER)

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
file(COPY_FILE ${EXE} ${STAGE}/scenewright.exe)
file(COPY_FILE ${UNINSTALL_EXE} ${STAGE}/scenewright-uninstall.exe)
file(COPY_FILE ${SOURCE_DIR}/LICENSE ${STAGE}/LICENSE.txt)
file(COPY_FILE ${SOURCE_DIR}/resources/windows-readme.txt ${STAGE}/README.txt)
file(COPY_FILE ${SOURCE_DIR}/src/ui/win32/resources/scenewright.ico ${STAGE}/scenewright.ico)
configure_file(${SOURCE_DIR}/resources/windows/scenewright.wxs.in ${STAGE}/scenewright.wxs @ONLY)
execute_process(COMMAND touch -h -d @${epoch} scenewright.exe scenewright-uninstall.exe LICENSE.txt README.txt scenewright.ico
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
set(ENV{TZ} UTC)
string(TIMESTAMP stamp "%Y-%m-%d %H:%M:%S" UTC)
execute_process(COMMAND faketime -f ${stamp} ${WIXL} --arch x64 -o ${OUTPUT} scenewright.wxs
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND faketime -f ${stamp} msibuild ${OUTPUT}
                  -s "Scenewright ${PROJECT_VERSION}" "The Scenewright developers" "x64;1033" "{${MSI_PACKAGE_CODE}}"
                WORKING_DIRECTORY ${STAGE} COMMAND_ERROR_IS_FATAL ANY)
