# add_fuzz_target(name SOURCE file CORPUS dir LIBS ...): a parser's fuzz target. Its corpus is
# replayed in the ordinary test run (test <name>.Corpus); with FUZZING on (the `fuzz` preset,
# clang), <name>_fuzzer is a libFuzzer binary to run on that corpus. Both silence the log
# records (tools/fuzz/fuzz_setup.cpp), which would otherwise bury the fuzzer's own output.
option(FUZZING "Build the libFuzzer targets (clang)" OFF)

# Every library of a fuzz build carries the coverage instrumentation, not only the drivers, so
# that the fuzzer sees the code it tests; only the drivers link libFuzzer itself.
if(FUZZING)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

function(add_fuzz_target name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "LIBS" ${ARGN})
  set(setup ${CMAKE_SOURCE_DIR}/tools/fuzz/fuzz_setup.cpp)
  add_executable(${name}_corpus ${ARG_SOURCE} ${setup} ${CMAKE_SOURCE_DIR}/tools/fuzz/replay_main.cpp)
  target_link_libraries(${name}_corpus PRIVATE ${ARG_LIBS})
  add_test(NAME ${name}.Corpus COMMAND ${name}_corpus ${ARG_CORPUS})
  if(FUZZING)
    add_executable(${name}_fuzzer ${ARG_SOURCE} ${setup})
    target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name}_fuzzer PRIVATE ${ARG_LIBS})
  endif()
endfunction()

# Every tests/fuzz/<name>_fuzz.cpp under folder becomes a fuzz target with its corpus in
# tests/corpus/<name>.
function(add_fuzz_targets_in_folder folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/fuzz/*_fuzz.cpp)
  foreach(source ${sources})
    get_filename_component(target ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" corpus ${target})
    add_fuzz_target(${target} SOURCE ${source} CORPUS ${folder}/corpus/${corpus} LIBS ${ARG_LIBS})
  endforeach()
endfunction()
