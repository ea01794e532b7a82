# add_gtest(name SOURCES ... LIBS ...): one GoogleTest executable registered with CTest.
function(add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "PROJECT_BIN_DIR=${CMAKE_BINARY_DIR}/bin;ORVOLOG_FILE=${CMAKE_BINARY_DIR}/test-orvolog.txt")
endfunction()

# Every <area>_test.cpp in a tests folder becomes its own test executable <prefix>_<area>_test.
function(add_gtests_in_folder prefix folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test ${tests})
    get_filename_component(area ${test} NAME_WE)
    add_gtest(${prefix}_${area} SOURCES ${test} LIBS ${ARG_LIBS})
  endforeach()
endfunction()
