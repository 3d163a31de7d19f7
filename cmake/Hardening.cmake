# Build paths stay out of the binaries, so that two builds of one commit in different folders
# give the same bytes. The last map given is tried first: the build folder may lie inside the
# sources.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
  "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")
if(SCENEWRIGHT_SANITIZE OR SCENEWRIGHT_FUZZ)
  return()
endif()

# The protections Debian builds every package with (dpkg-buildflags, hardening=+all), and on
# Windows what MinGW-w64 offers of them: a stack protector and fortified functions (both from
# its libssp, linked statically), with address space randomisation and a data execution guard.
# Fortification needs the optimiser, which a Debug build lacks.
set(_cxx $<COMPILE_LANGUAGE:CXX>)
set(_optimised $<NOT:$<CONFIG:Debug>>)
add_compile_options("$<${_cxx}:-fstack-protector-strong;-Wformat;-Werror=format-security>"
                    "$<$<AND:${_cxx},${_optimised}>:-D_FORTIFY_SOURCE=2>")
if(WIN32)
  add_link_options(-fstack-protector-strong -Wl,--dynamicbase -Wl,--nxcompat -Wl,--high-entropy-va
                   -Wl,--no-insert-timestamp)
else()
  add_compile_options("$<${_cxx}:-fstack-clash-protection;-fcf-protection>")
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
endif()
