# add_resource_dll(<name> <script.rc> [INCLUDES dirs...] [DEPENDS files...])
#
# A resource-only module as the host loads it: the script is compiled by the project's resource
# compiler (tools/rc) into a source file whose only content is the resource blob in the
# ".rsrc" section, and linked into a shared object named exactly <name>.dll in the common bin
# folder. The module has no code, no entry point and no dependencies: it is built without the
# sanitizers and without the C and C++ libraries. Headers the script includes are tracked
# through the compiler's dependency file; DEPENDS adds other files (data files of the script).
include_guard(GLOBAL)

# The resource compiler's -I arguments for folders given relative to the calling folder.
function(resource_include_args variable)
  set(args "")
  foreach(dir ${ARGN})
    get_filename_component(dir_path ${dir} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND args -I ${dir_path})
  endforeach()
  set(${variable} ${args} PARENT_SCOPE)
endfunction()

function(add_resource_dll name script)
  cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
  get_filename_component(script_path ${script} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/${name}.rsrc.cpp)
  set(depfile ${CMAKE_CURRENT_BINARY_DIR}/${name}.rsrc.d)
  resource_include_args(include_args ${ARG_INCLUDES})
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

# add_platform_resources(<name> <script.rc> [OBJECT <variable>] [INCLUDES dirs...]
#                        [DEPENDS files...] [TYPELIBS names...])
#
# The same script for the platform's images: the project's resource compiler writes the
# platform's binary resource file <name>.res (16-bit text units, string blocks without padding,
# type libraries in the platform's format), and the toolchain's windres turns it into the
# object <name>.res.o, whose path OBJECT names in the caller's scope; linked into an image it
# becomes the image's resource section. TYPELIBS names the type libraries (add_type_library)
# whose compiled files stand for the script's TYPELIB descriptions. The module's own resource
# blob (add_resource_dll) is never part of it.
#
# On Linux the build has a module named <name>.dll (add_resource_dll, or a DLL whose sources hold
# the blob), made before or after this call: a test reads the resource file back with windres as
# an independent reader and compares every dialog, string, data block and type library with the
# module's own.
# The resource compiler runs on the build machine: a cross build, which cannot run the rc it
# builds, names one built for the build machine with -DPROJECT_HOST_RC=path.
if(PROJECT_HOST_RC)
  set(PROJECT_RC_COMMAND ${PROJECT_HOST_RC})
else()
  set(PROJECT_RC_COMMAND rc)
endif()

# A cross build takes the resource tool its toolchain file names; this build the i686 one.
if(CMAKE_RC_COMPILER)
  set(PLATFORM_WINDRES ${CMAKE_RC_COMPILER})
else()
  find_program(PLATFORM_WINDRES NAMES i686-w64-mingw32-windres)
endif()

function(add_platform_resources name script)
  cmake_parse_arguments(ARG "" "OBJECT" "INCLUDES;DEPENDS;TYPELIBS" ${ARGN})
  if(NOT PLATFORM_WINDRES)
    return()
  endif()
  get_filename_component(script_path ${script} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${name}.res)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}.res.o)
  resource_include_args(args ${ARG_INCLUDES})
  set(typelib_files "")
  foreach(typelib ${ARG_TYPELIBS})
    get_property(tlb GLOBAL PROPERTY TYPE_LIBRARY_${typelib})
    if(NOT tlb)
      message(FATAL_ERROR "add_platform_resources(${name}): no type library ${typelib} (add_type_library first)")
    endif()
    list(APPEND typelib_files ${tlb})
  endforeach()
  if(typelib_files)
    list(GET typelib_files 0 first_tlb)
    get_filename_component(tlb_dir ${first_tlb} DIRECTORY)
    list(APPEND args -T ${tlb_dir})
  endif()
  add_custom_command(
    OUTPUT ${res}
    COMMAND ${PROJECT_RC_COMMAND} ${args} -o ${res} --depfile ${res}.d ${script_path}
    DEPENDS ${PROJECT_RC_COMMAND} ${script_path} ${ARG_DEPENDS} ${typelib_files}
    DEPFILE ${res}.d
    COMMENT "Compiling platform resources ${script} for ${name}.dll"
    VERBATIM)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${PLATFORM_WINDRES} -J res -O coff -i ${res} -o ${object}
    DEPENDS ${res}
    COMMENT "Converting ${name}.res into an object"
    VERBATIM)
  add_custom_target(${name}_platform_resources ALL DEPENDS ${object})
  # The type libraries are built by their own targets, so their rules run once.
  foreach(typelib ${ARG_TYPELIBS})
    add_dependencies(${name}_platform_resources ${typelib}_typelib)
  endforeach()
  if(ARG_OBJECT)
    set(${ARG_OBJECT} ${object} PARENT_SCOPE)
  endif()

  if(NOT WIN32)
    set(typelib_arg "")
    if(typelib_files)
      set(typelib_arg -DTYPELIB=${first_tlb})
    endif()
    add_test(NAME resource_file.${name}
             COMMAND ${CMAKE_COMMAND} -DWINDRES=${PLATFORM_WINDRES} -DOBJCOPY=${CMAKE_OBJCOPY}
                     -DRESLIST=$<TARGET_FILE:reslist> -DMODULE=$<TARGET_FILE:${name}> -DRES=${res}
                     -DWORK=${CMAKE_CURRENT_BINARY_DIR}/${name}.check ${typelib_arg}
                     -P ${PROJECT_SOURCE_DIR}/cmake/CompareResources.cmake)
  endif()
endfunction()

# add_type_library(<name> <description.tld> [BESIDE names...])
#
# The type library of a description in the platform's format: the resource compiler writes its
# interface definition (the description stays the one source), and the toolchain's widl
# compiles it into ${CMAKE_BINARY_DIR}/typelibs/<description>.tlb, importing stdole2.tlb of the
# distribution's Wine packages. BESIDE names the libraries (added before) that describe the
# interfaces the library's objects implement. A test checks the compiled library against its
# description and that it holds none of those interfaces: they stay the other libraries'.
find_program(PLATFORM_WIDL NAMES ${CMAKE_CXX_COMPILER_TARGET}-widl i686-w64-mingw32-widl)
find_path(PLATFORM_IDL_INCLUDE_DIR oaidl.idl PATHS /usr/include/wine/wine/windows /usr/include/wine/windows
          NO_CMAKE_FIND_ROOT_PATH)
find_path(PLATFORM_STDOLE2_DIR stdole2.tlb
          PATHS /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows /usr/lib32/wine/i386-windows
          NO_CMAKE_FIND_ROOT_PATH)

function(add_type_library name description)
  cmake_parse_arguments(ARG "" "" "BESIDE" ${ARGN})
  if(NOT PLATFORM_WIDL OR NOT PLATFORM_IDL_INCLUDE_DIR OR NOT PLATFORM_STDOLE2_DIR)
    return()
  endif()
  get_filename_component(description_path ${description} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  get_filename_component(stem ${description} NAME_WE)
  set(dir ${CMAKE_BINARY_DIR}/typelibs)
  set(idl ${dir}/${stem}.idl)
  set(tlb ${dir}/${stem}.tlb)
  set(imported_tlbs "")
  set(imported_descriptions "")
  foreach(import ${ARG_BESIDE})
    get_property(imported GLOBAL PROPERTY TYPE_LIBRARY_${import})
    get_property(imported_description GLOBAL PROPERTY TYPE_LIBRARY_DESCRIPTION_${import})
    list(APPEND imported_tlbs ${imported})
    list(APPEND imported_descriptions ${imported_description})
  endforeach()
  add_custom_command(
    OUTPUT ${tlb}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${PROJECT_RC_COMMAND} --idl -o ${idl} ${description_path}
    COMMAND ${PLATFORM_WIDL} -I ${PLATFORM_IDL_INCLUDE_DIR} -L ${PLATFORM_STDOLE2_DIR} -L ${dir} -t -o ${tlb} ${idl}
    DEPENDS ${PROJECT_RC_COMMAND} ${description_path} ${imported_tlbs}
    COMMENT "Compiling the type library ${stem}.tlb"
    VERBATIM)
  add_custom_target(${name}_typelib ALL DEPENDS ${tlb})
  # A file made in another folder is not a rule here: the targets that make them come first.
  foreach(import ${ARG_BESIDE})
    add_dependencies(${name}_typelib ${import}_typelib)
  endforeach()
  set_property(GLOBAL PROPERTY TYPE_LIBRARY_${name} ${tlb})
  set_property(GLOBAL PROPERTY TYPE_LIBRARY_DESCRIPTION_${name} ${description_path})
  if(NOT WIN32)
    add_test(NAME type_library.${name}
             COMMAND $<TARGET_FILE:reslist> typelib ${description_path} ${tlb} ${imported_descriptions})
  endif()
endfunction()

# add_language_dll(<name> <script.rc> [INCLUDES dirs...] [DEPENDS files...]): a language resource
# DLL of the product: the module the host loads (add_resource_dll) and, beside it, the same
# script as the platform's resource file, which a test compares with the module's own.
function(add_language_dll name script)
  cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
  add_resource_dll(${name} ${script} INCLUDES ${ARG_INCLUDES} DEPENDS ${ARG_DEPENDS})
  add_platform_resources(${name} ${script} INCLUDES ${ARG_INCLUDES} DEPENDS ${ARG_DEPENDS})
endfunction()
