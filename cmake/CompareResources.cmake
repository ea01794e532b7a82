# cmake -DWINDRES=... -DOBJCOPY=... -DRESLIST=... -DMODULE=X.dll -DRES=X.res -DWORK=dir
#       [-DTYPELIB=X.tlb] -P CompareResources.cmake
#
# The platform resource file RES against the resources of the module MODULE of this build:
# windres decompiles RES and turns it into an object; reslist lists both sides in one canonical
# form, which must be the same; the type library in RES must be the file TYPELIB.
file(MAKE_DIRECTORY ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result ERROR_VARIABLE error OUTPUT_VARIABLE output)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed (${result}):\n${error}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

run(${WINDRES} -J res -O rc -i ${RES} -o ${WORK}/decompiled.rc)
run(${WINDRES} -J res -O coff -i ${RES} -o ${WORK}/resources.o)
run(${OBJCOPY} -O binary --only-section=.rsrc ${MODULE} ${WORK}/module.rsrc)

set(typelib_out "")
if(TYPELIB)
  set(typelib_out --typelib-out ${WORK}/typelib.tlb)
endif()
run(${RESLIST} decompiled ${WORK}/decompiled.rc ${typelib_out})
set(platform_listing "${output}")
run(${RESLIST} module ${WORK}/module.rsrc)
set(module_listing "${output}")
file(WRITE ${WORK}/platform.txt "${platform_listing}")
file(WRITE ${WORK}/module.txt "${module_listing}")
if(platform_listing STREQUAL "")
  message(FATAL_ERROR "${RES}: no resources")
endif()
if(NOT platform_listing STREQUAL module_listing)
  execute_process(COMMAND diff -u ${WORK}/module.txt ${WORK}/platform.txt OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "${RES} differs from the resources of ${MODULE} (- module, + platform):\n${difference}")
endif()
if(TYPELIB)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/typelib.tlb ${TYPELIB} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "the type library in ${RES} is not ${TYPELIB}")
  endif()
endif()
