# add_resource_dll(<name> <script.rc> [INCLUDES dirs...] [DEPENDS files...])
#
# A resource-only module as the host loads it: the script is compiled by the project's resource
# compiler (tools/rc) into a source file whose only content is the resource blob in the
# ".rsrc" section, and linked into a shared object named exactly <name>.dll in the common bin
# folder. The module has no code, no entry point and no dependencies: it is built without the
# sanitizers and without the C and C++ libraries. Headers the script includes are tracked
# through the compiler's dependency file; DEPENDS adds other files (data files of the script).
include_guard(GLOBAL)

function(add_resource_dll name script)
  cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
  get_filename_component(script_path ${script} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}.rsrc.cpp)
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${name}.rsrc.d)
  set(include_args "")
  foreach(dir ${ARG_INCLUDES})
    get_filename_component(dir_path ${dir} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND include_args -I ${dir_path})
  endforeach()
  add_custom_command(
    OUTPUT ${generated}
    COMMAND rc ${include_args} -o ${generated} --depfile ${depfile} ${script_path}
    DEPENDS rc ${script_path} ${ARG_DEPENDS}
    DEPFILE ${depfile}
    COMMENT "Compiling resources ${script} for ${name}.dll"
    VERBATIM)
  add_library(${name} SHARED ${generated})
  set_target_properties(${name} PROPERTIES
    PREFIX "" SUFFIX ".dll"
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    # Data only: none of the directory's compile and link options (sanitizers among them).
    COMPILE_OPTIONS ""
    LINK_OPTIONS ""
    LINKER_LANGUAGE CXX)
  target_link_options(${name} PRIVATE -nostdlib -Wl,--no-undefined)
endfunction()
