# Fails unless the library's dynamic symbol table defines exactly the two static functions of the
# exported interface: everything else linked into it (trade client, transport, standard library and
# Boost instances) must stay inside.
#   cmake -DLIBRARY=<path to the shared library> -P CheckExportedSymbols.cmake
set(expected
  "CNarvSqelTraderApi::CreateSqelTraderApi(char const*)"
  "CNarvSqelTraderApi::GetApiVersion()")
execute_process(COMMAND nm -D --defined-only -C "${LIBRARY}"
                OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(found "")
foreach(line IN LISTS lines)
  # "<address> <type> <name>"; version nodes (type A) name no code or data.
  if(line MATCHES "^[0-9a-fA-F]* +([A-Za-z]) +(.*)$")
    if(NOT CMAKE_MATCH_1 STREQUAL "A")
      list(APPEND found "${CMAKE_MATCH_2}")
    endif()
  endif()
endforeach()
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  message(FATAL_ERROR "exported: ${found}\nexpected: ${expected}")
endif()
