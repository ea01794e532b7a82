# The Windows build (presets windows and windows64): the same product folders as PE images.
# The operating system is the platform's own: nothing of the stand-in (Platform/include,
# Platform/src) is built or on the include path; the toolchain's headers and import libraries
# take its place, with Platform/Windows/include for the little the toolchain lacks. The class
# libraries and the project's helpers are ours on both builds.
#
# Link model: every image is linked -static, so that no runtime DLL of the compiler
# (libstdc++, libgcc, winpthread) becomes an import, and as a GUI subsystem image. The class
# libraries are a static library compiled into each DLL that links them, as the platform's
# statically linked class libraries are: each DLL has its own copy of all of them.
#
# The tests that drive the stand-in (its clock, registry, windows and counters) stay with the
# Linux build: here the test functions add nothing.
add_compile_definitions(UNICODE _UNICODE)
add_link_options(-static -Wl,--subsystem,windows)

include(Resources)

# The resource compiler runs on the build machine: this build takes the one the Linux build made.
if(NOT PROJECT_HOST_RC OR NOT EXISTS ${PROJECT_HOST_RC})
  message(FATAL_ERROR "The Windows build compiles its resources with the project's resource compiler "
                      "of the Linux build; build the default preset first (PROJECT_HOST_RC: '${PROJECT_HOST_RC}')")
endif()

# The operating system: the toolchain's import libraries. "Platform" names it as the stand-in
# library does on Linux.
add_library(Platform INTERFACE)
target_include_directories(Platform INTERFACE ${CMAKE_SOURCE_DIR}/Platform/Windows/include)
target_link_libraries(Platform INTERFACE ole32 oleaut32 uuid user32 gdi32 comctl32 advapi32 shlwapi shell32 htmlhelp)

# The class libraries and the project's helpers (the host's paths are a Linux helper).
set(class_libraries_dir ${CMAKE_SOURCE_DIR}/Platform/ClassLibraries)
file(GLOB class_library_sources CONFIGURE_DEPENDS ${class_libraries_dir}/src/*/*.cpp)
add_library(ClassLibraries STATIC ${class_library_sources} ${CMAKE_SOURCE_DIR}/Platform/Support/src/dlgtemplate.cpp)
target_include_directories(ClassLibraries PUBLIC ${class_libraries_dir}/include
                                                 ${CMAKE_SOURCE_DIR}/Platform/Support/include)
target_link_libraries(ClassLibraries PUBLIC Platform)
add_library(PlatformDllSupport STATIC ${class_libraries_dir}/dllsupport/dllmodule.cpp)
target_link_libraries(PlatformDllSupport PUBLIC ClassLibraries)

function(set_framework_library_properties name)
endfunction()

# The four COM exports by their undecorated names. On i686 they are __stdcall functions,
# whose symbols carry their argument bytes (DllGetClassObject@12): the .def file aliases them.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(STDCALL_0 "@0")
  set(STDCALL_12 "@12")
endif()
set(PRODUCT_EXPORTS_DEF ${CMAKE_BINARY_DIR}/product-exports.def)
file(CONFIGURE OUTPUT ${PRODUCT_EXPORTS_DEF} CONTENT [[
EXPORTS
  DllCanUnloadNow = DllCanUnloadNow@STDCALL_0@
  DllGetClassObject = DllGetClassObject@STDCALL_12@
  DllRegisterServer = DllRegisterServer@STDCALL_0@
  DllUnregisterServer = DllUnregisterServer@STDCALL_0@
]] @ONLY)

# add_windows_dll(name SOURCES ... [LIBS ...]): a DLL named <name>.dll in the common bin folder.
function(add_windows_dll name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# check_windows_image(target IMPORTS ... [OPTIONAL_IMPORTS ...] EXPORTS ...): after each link,
# the image's shape: a GUI subsystem DLL of this architecture importing the named DLLs and no
# others than those and the optional ones, and exporting exactly the named functions.
function(check_windows_image name)
  cmake_parse_arguments(ARG "" "" "IMPORTS;OPTIONAL_IMPORTS;EXPORTS" ${ARGN})
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DIMAGE=$<TARGET_FILE:${name}> -DARCH=${CMAKE_SYSTEM_PROCESSOR}
            "-DIMPORTS=${ARG_IMPORTS}" "-DOPTIONAL_IMPORTS=${ARG_OPTIONAL_IMPORTS}" "-DEXPORTS=${ARG_EXPORTS}"
            -P ${CMAKE_SOURCE_DIR}/cmake/CheckWindowsImage.cmake
    VERBATIM)
endfunction()

# add_product_dll(name SOURCES ... LIBS ...): an in-process server as the host loads it, with
# the four COM exports and nothing else. (EXPORTS_MAP is the Linux build's.)
function(add_product_dll name)
  cmake_parse_arguments(ARG "" "EXPORTS_MAP" "SOURCES;LIBS" ${ARGN})
  add_windows_dll(${name} SOURCES ${ARG_SOURCES} ${PRODUCT_EXPORTS_DEF} LIBS ${ARG_LIBS})
endfunction()

# add_exports_test(name [IMPORTS dlls...]): the deliverable exports the four COM exports and
# nothing else, imports the named DLLs (the host's logging library) and otherwise only the
# platform's own system DLLs.
set(PLATFORM_SYSTEM_DLLS KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll ole32.dll OLEAUT32.dll
                         COMCTL32.dll SHLWAPI.dll SHELL32.dll hhctrl.ocx msvcrt.dll)
function(add_exports_test name)
  cmake_parse_arguments(ARG "" "" "IMPORTS" ${ARGN})
  check_windows_image(${name} IMPORTS KERNEL32.dll ${ARG_IMPORTS} OPTIONAL_IMPORTS ${PLATFORM_SYSTEM_DLLS}
                      EXPORTS DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer)
endfunction()

# add_language_dll(name script [INCLUDES dirs...] [DEPENDS files...]): a resource-only PE DLL:
# no code, no entry point, no imports, only the script's resources.
function(add_language_dll name script)
  cmake_parse_arguments(ARG "" "" "INCLUDES;DEPENDS" ${ARGN})
  add_platform_resources(${name} ${script} OBJECT object INCLUDES ${ARG_INCLUDES} DEPENDS ${ARG_DEPENDS})
  add_library(${name} SHARED ${object})
  add_dependencies(${name} ${name}_platform_resources)  # the object's rules run in that target only
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".dll" LINKER_LANGUAGE C
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  target_link_options(${name} PRIVATE -nostdlib -Wl,--entry=0)
  check_windows_image(${name} IMPORTS "" EXPORTS "")
endfunction()

include(WindowsTests)

# The stand-in's tests and fuzz targets are not part of this build.
function(add_gtest)
endfunction()
function(add_gtests_in_folder)
endfunction()
function(add_fuzz_target)
endfunction()
function(add_fuzz_targets_in_folder)
endfunction()
