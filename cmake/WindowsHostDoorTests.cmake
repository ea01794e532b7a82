# The tests that drive the product through the host's door, built from the same sources as on
# Linux for the platform itself: the DLLs loaded and registered through their exports, pages
# created through the platform's COM and driven through its message loop. The fixtures' test
# hooks come from Platform/Windows/testing, written on the platform's public API; a hook the
# platform cannot have (the test clock, fault injection, the stand-in's counters and
# recorders) fails the test that calls it, and tools/wincheck/linux-only-tests.txt lists those
# tests for scripts/windows-tests to leave out.
set(windows_test_hooks_dir ${CMAKE_SOURCE_DIR}/Platform/Windows/testing)
# The user's actions, the thread's windows and the modal idle hook, which the host command line
# drives its pages with too.
add_library(PlatformWindowsDriving STATIC ${windows_test_hooks_dir}/src/windows.cpp)
target_include_directories(PlatformWindowsDriving PUBLIC ${windows_test_hooks_dir}/include)
add_library(PlatformTestHooks STATIC ${windows_test_hooks_dir}/src/registry.cpp
                                     ${windows_test_hooks_dir}/src/unavailable.cpp)
target_link_libraries(PlatformTestHooks PUBLIC PlatformWindowsDriving ClassLibraries gtest)
# The framework's live-object reader is declared with the hooks (it finds no readers here).
target_compile_definitions(PlatformTestHooks INTERFACE PLATFORM_TEST_HOOKS)
# The log library's records, read back from its log file.
add_library(ORVOLoggerTestRecords STATIC ${CMAKE_SOURCE_DIR}/Host/ORVOLogger2/testing/RecordsFromLogFile.cpp)
target_link_libraries(ORVOLoggerTestRecords PUBLIC ORVOLogger2 ClassLibraries)

# add_windows_host_door_tests(prefix folder LIBS ... [INCLUDES ...] [DEPENDS ...] [EXCLUDE ...]):
# every <area>_test.cpp of the folder but the excluded areas as bin/<prefix>_<area>_test.exe,
# named as on Linux.
function(add_windows_host_door_tests prefix folder)
  cmake_parse_arguments(ARG "" "" "LIBS;INCLUDES;DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB tests CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  foreach(test ${tests})
    get_filename_component(area ${test} NAME_WE)
    if(area IN_LIST ARG_EXCLUDE)
      continue()
    endif()
    add_windows_gtest(${prefix}_${area} SOURCES ${test} LIBS PlatformTestHooks ORVOLoggerTestRecords ${ARG_LIBS})
    target_include_directories(${prefix}_${area} PRIVATE ${ARG_INCLUDES})
    if(ARG_DEPENDS)
      add_dependencies(${prefix}_${area} ${ARG_DEPENDS})
    endif()
  endforeach()
endfunction()

add_windows_host_door_tests(corvanetags ${CMAKE_SOURCE_DIR}/CorvaneTags/tests
  LIBS HostSimulator ORVOLogger2 INCLUDES ${CMAKE_SOURCE_DIR}/PVComponents
  DEPENDS CorvaneTags CorvaneTagsENU CorvaneTagsDEU)

# The compiled templates are read with the stand-in's own template reader: Linux only.
add_windows_host_door_tests(corvaneview ${CMAKE_SOURCE_DIR}/View/CorvaneView/tests
  LIBS PVConfigComponents PlatformDllSupport HostSimulator ORVOLogger2
  INCLUDES ${CMAKE_SOURCE_DIR}/PVComponents/tests EXCLUDE templates_test
  DEPENDS CorvaneView CorvaneViewENU CorvaneViewDEU)

# The unit data's tests drive the device controls' test page DLL, a fixture of the Linux build.
add_windows_host_door_tests(fluxorview ${CMAKE_SOURCE_DIR}/View/FluxorView/tests
  LIBS PVConfigComponents PlatformDllSupport HostSimulator ORVOLogger2
  INCLUDES ${CMAKE_SOURCE_DIR}/PVComponents/tests EXCLUDE templates_test unitdata_test
  DEPENDS FluxorView FluxorViewENU FluxorViewDEU)

# The device controls' test page DLL (one of each device control, with a test interface and an
# export that counts its live pages) and the tests that drive it; the tests of the online
# controls drive the online test pages on the test clock and stay on Linux.
set(device_pages_dir ${CMAKE_SOURCE_DIR}/View/DeviceControls/tests/fixtures/DevicePages)
set(device_pages_def ${CMAKE_BINARY_DIR}/device-test-pages.def)
file(READ ${PRODUCT_EXPORTS_DEF} product_exports)
file(CONFIGURE OUTPUT ${device_pages_def} CONTENT "${product_exports}  DevicePagesLivePages\n")
add_windows_dll(DeviceTestPages
  SOURCES ${device_pages_dir}/DevicePages.cpp ${CMAKE_SOURCE_DIR}/View/CorvaneView/CorvaneUnitData.cpp
          $<TARGET_OBJECTS:PVDllExports> ${device_pages_def}
  LIBS DeviceControls PVConfigComponents PVComponents PlatformDllSupport)
# The fixture marks its export for the Linux linker; here the .def file exports it.
target_compile_options(DeviceTestPages PRIVATE -Wno-attributes)
add_language_dll(DeviceTestPagesENU ${device_pages_dir}/DevicePagesENU.rc)
add_language_dll(DeviceTestPagesDEU ${device_pages_dir}/DevicePagesDEU.rc)
add_dependencies(DeviceTestPages DeviceTestPagesENU DeviceTestPagesDEU)
add_windows_host_door_tests(devicecontrols ${CMAKE_SOURCE_DIR}/View/DeviceControls/tests
  LIBS DeviceControls PlatformDllSupport HostSimulator ORVOLogger2
  INCLUDES ${CMAKE_SOURCE_DIR}/PVComponents/tests
  EXCLUDE deviceattributes_test diagnostics_test onlinebutton_test servicebuttons_test servicemessages_test
  DEPENDS DeviceTestPages)
