# The built-in definitions lie in the definitions folder, and so do the descriptions of the
# host's type libraries, which the stand-in reads; the platform reads their compiled libraries.
target_compile_definitions(HostSimulator PRIVATE
  HOST_SIMULATOR_DEFINITIONS_DIR="${CMAKE_CURRENT_SOURCE_DIR}/definitions")
if(WIN32)
  target_compile_definitions(HostSimulator PRIVATE HOST_SIMULATOR_TYPE_LIBRARIES_DIR="${CMAKE_BINARY_DIR}/typelibs"
                                                   HOST_SIMULATOR_TYPE_LIBRARY_SUFFIX=".tlb")
else()
  target_link_libraries(HostSimulator PRIVATE LibXml2::LibXml2)
  target_compile_definitions(HostSimulator PRIVATE
    HOST_SIMULATOR_TYPE_LIBRARIES_DIR="${CMAKE_CURRENT_SOURCE_DIR}/definitions"
    HOST_SIMULATOR_TYPE_LIBRARY_SUFFIX=".tld")
endif()

# The module-definition parser's fuzz target; its corpus replays with the tests.
if(COMMAND add_fuzz_target)
  add_fuzz_target(module_definition_fuzz SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/tests/fuzz/module_definition_fuzz.cpp
                  CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/tests/corpus/module_definition LIBS HostSimulator)
endif()
