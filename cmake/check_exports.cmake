# cmake -DBINARY=<dll> -DOBJDUMP=<objdump> -DNAMES=<a;b> -P check_exports.cmake
# Fails unless the DLL exports each name exactly as given. A driver that asks GetProcAddress for
# a name the DLL exports decorated (PostDrop@4 on i686) gets nothing, and only a run on that
# target would show it.
# objdump speaks the locale's language otherwise (the Wine rig sets a Japanese one).
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p ${BINARY}
  OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${OBJDUMP} -p ${BINARY} failed")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n([^\n]+\n)*" table "${dump}")
foreach(name IN LISTS NAMES)
  if(NOT table MATCHES "\\] ${name}\n")
    message(FATAL_ERROR "${BINARY} does not export ${name} under that name:\n${table}")
  endif()
endforeach()
