# The module definitions are XML read with libxml2; the built-in definitions and the host's
# type libraries lie in the definitions folder.
target_link_libraries(HostSimulator PRIVATE LibXml2::LibXml2)
target_compile_definitions(HostSimulator PRIVATE
  HOST_SIMULATOR_DEFINITIONS_DIR="${CMAKE_CURRENT_SOURCE_DIR}/definitions")

# The module-definition parser's fuzz target; its corpus replays with the tests.
if(COMMAND add_fuzz_target)
  add_fuzz_target(module_definition_fuzz SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/module_definition_fuzz.cpp
                  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/tests/corpus/module_definition LIBS HostSimulator)
endif()
