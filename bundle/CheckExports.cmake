# Fails the build when the bundle's dynamic symbol table defines anything but the
# seven entry points (run as: cmake -DBINARY=... -DNM=... -P CheckExports.cmake).
set(expected ACFCanUnloadNow ACFGetClassFactory ACFGetSDKVersion ACFRegisterComponent
             ACFRegisterPlugin ACFShutdown ACFStartup)
execute_process(COMMAND "${NM}" -D --defined-only "${BINARY}"
                OUTPUT_VARIABLE table RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "nm could not read ${BINARY}")
endif()
string(REPLACE "\n" ";" lines "${table}")
set(exported)
foreach(line IN LISTS lines)
  # "<address> <type> <name>"; version nodes and absolute symbols (type A) are not symbols of the code.
  if(line MATCHES "^[0-9a-fA-F]+ ([A-Za-z]) ([^ ]+)$" AND NOT CMAKE_MATCH_1 STREQUAL "A")
    list(APPEND exported "${CMAKE_MATCH_2}")
  endif()
endforeach()
list(SORT exported)
if(NOT exported STREQUAL expected)
  message(FATAL_ERROR "The bundle exports ${exported}; expected exactly ${expected}")
endif()
