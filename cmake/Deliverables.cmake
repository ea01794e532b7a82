# add_product_dll(name SOURCES ... LIBS ... [EXPORTS_MAP file]): an in-process server as the host loads it: a
# shared object named <name>.dll whose only exported symbols are the four COM exports and the
# entry point DllMain. Everything else is hidden, so each DLL has its own copy of the
# framework and its own process-wide state. ${NO_GNU_UNIQUE_OPTION} lets FreeLibrary really unload it.
function(add_product_dll name)
  cmake_parse_arguments(ARG "" "EXPORTS_MAP" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_EXPORTS_MAP)
    set(ARG_EXPORTS_MAP ${CMAKE_SOURCE_DIR}/cmake/dll-exports.map)
  endif()
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll"
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
                        LINK_DEPENDS ${ARG_EXPORTS_MAP})
  target_compile_options(${name} PRIVATE ${NO_GNU_UNIQUE_OPTION})
  target_link_options(${name} PRIVATE -Wl,--version-script=${ARG_EXPORTS_MAP}
                      ${NO_UNDEFINED_LINK_OPTION})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# Static libraries linked into product DLLs are compiled hidden too.
function(set_framework_library_properties name)
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_compile_options(${name} PRIVATE ${NO_GNU_UNIQUE_OPTION})
endfunction()

# A test that the deliverable exports exactly the four COM exports and DllMain.
function(add_exports_test name)
  add_test(NAME ${name}.Exports COMMAND ${CMAKE_COMMAND} -DDLL=$<TARGET_FILE:${name}>
           -P ${CMAKE_SOURCE_DIR}/cmake/CheckExports.cmake)
endfunction()
