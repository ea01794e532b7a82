# The seed of the whole-binary runs' shuffled order, fixed so that a failure repeats.
set(TEST_SHUFFLE_SEED 1210 CACHE STRING "Seed of the shuffled order of the whole test binaries")

# add_gtest(name SOURCES ... LIBS ...): one GoogleTest executable registered with CTest twice:
# each test in a process of its own (label "each"), and the whole binary at once in a shuffled
# order (test <name>.Whole, label "whole"), so that a test that depends on what another left
# behind, or on running first, fails.
function(add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  set(environment "PROJECT_BIN_DIR=${CMAKE_BINARY_DIR}/bin;ORVOLOG_FILE=${CMAKE_BINARY_DIR}/test-orvolog.txt")
  # The discovered tests' properties reach set_tests_properties as one flat list, which splits
  # the environment's own list: the environment comes last so that the split does not eat the
  # label.
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS each ENVIRONMENT "${environment}")
  add_test(NAME ${name}.Whole COMMAND ${name} --gtest_shuffle --gtest_random_seed=${TEST_SHUFFLE_SEED}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${name}.Whole PROPERTIES ENVIRONMENT "${environment}" LABELS whole TIMEOUT 1200)
endfunction()

# Every <area>_test.cpp in a tests folder becomes its own test executable <prefix>_<area>_test;
# INCLUDES adds include folders (another folder's test fixtures).
function(add_gtests_in_folder prefix folder)
  cmake_parse_arguments(ARG "" "" "LIBS;INCLUDES" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test ${tests})
    get_filename_component(area ${test} NAME_WE)
    add_gtest(${prefix}_${area} SOURCES ${test} LIBS ${ARG_LIBS})
    if(ARG_INCLUDES)
      target_include_directories(${prefix}_${area} PRIVATE ${ARG_INCLUDES})
    endif()
  endforeach()
endfunction()
