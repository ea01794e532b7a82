# The Windows build (preset `windows`): the same sources as PE images for i686. The operating
# system is the platform's own, so nothing of the stand-in (Platform/include, Platform/src) is
# built or on the include path. Every image is linked -static, so that no runtime DLL of the
# compiler (libstdc++, libgcc, winpthread) becomes an import, and as a GUI subsystem image.
add_compile_definitions(UNICODE _UNICODE)
add_link_options(-static -Wl,--subsystem,windows)

# add_windows_dll(name SOURCES ... [LIBS ...]): a DLL named <name>.dll in the common bin folder.
# Resources: each deliverable and language DLL gets its resource object here, as one more
# source of the image (the compiled .res turned into an object by windres); until then the
# images carry no resource section.
function(add_windows_dll name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# The host's logging library, which the view DLLs import as on the platform.
add_windows_dll(ORVOLogger2 SOURCES ${CMAKE_SOURCE_DIR}/Host/ORVOLogger2/OrvoLog.cpp)
target_compile_definitions(ORVOLogger2 PRIVATE ORVOLOGGER2_BUILD)
target_include_directories(ORVOLogger2 PUBLIC ${CMAKE_SOURCE_DIR}/Host/include
                                       PRIVATE ${CMAKE_SOURCE_DIR}/Platform/Support/include)

# The class libraries and the dialog-template helpers, compiled into each DLL that links them
# (the host's paths are a Linux helper). The per-DLL part (module state, entry point) is in
# the same library here: every DLL has its own copy of all of it.
set(class_libraries_dir ${CMAKE_SOURCE_DIR}/Platform/ClassLibraries)
file(GLOB class_library_sources CONFIGURE_DEPENDS ${class_libraries_dir}/src/*/*.cpp)
add_library(ClassLibraries STATIC ${class_library_sources} ${class_libraries_dir}/dllsupport/dllmodule.cpp
                                  ${CMAKE_SOURCE_DIR}/Platform/Support/src/dlgtemplate.cpp)
target_include_directories(ClassLibraries PUBLIC ${class_libraries_dir}/include
                                                 ${CMAKE_SOURCE_DIR}/Platform/Support/include)

# The images' shape, checked as part of the build: a 32-bit GUI subsystem DLL importing only
# the operating system's DLLs and exporting exactly what the host calls.
add_custom_target(image_checks ALL
  COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:ORVOLogger2> -DARCH=${CMAKE_SYSTEM_PROCESSOR}
          "-DIMPORTS=KERNEL32.dll\;msvcrt.dll"
          -DEXPORTS=OrvoLog -P ${CMAKE_SOURCE_DIR}/cmake/CheckWindowsImage.cmake
  DEPENDS ORVOLogger2 VERBATIM)

# The load check for Wine: each DLL loaded by LoadLibraryW, its
# exports found, and freed again. A console program, so that Wine shows what it prints.
add_executable(loadcheck ${CMAKE_SOURCE_DIR}/tools/wincheck/loadcheck.cpp)
target_link_options(loadcheck PRIVATE -municode -Wl,--subsystem,console)
