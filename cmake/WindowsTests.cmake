# The tests that run on the platform itself, under Wine: those that use only the platform's
# public API and the class libraries. Among them are the stand-in's own tests of the platform's
# documented behaviour, which there check the platform that the stand-in copies. GoogleTest is
# built from the distribution's sources with the cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# add_windows_gtest(name SOURCES ... [LIBS ...]): a console test program bin/<name>.exe.
function(add_windows_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main gmock)
  target_link_options(${name} PRIVATE -Wl,--subsystem,console)
endfunction()

set(platform_tests ${CMAKE_SOURCE_DIR}/Platform/tests)
foreach(area bstr codepage crt formatmessage locale)
  add_windows_gtest(platform_${area}_test SOURCES ${platform_tests}/${area}_test.cpp LIBS ClassLibraries)
endforeach()
add_windows_gtest(platform_cstring_test SOURCES ${CMAKE_SOURCE_DIR}/Platform/ClassLibraries/tests/cstring_test.cpp
                  LIBS ClassLibraries)
