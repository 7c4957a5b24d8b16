# Fails when a shipped library exports a base class (its member functions,
# vtable or type information): the base types must stay private to each
# deliverable, so that every deliverable keeps its own registries.
# With EXPECTED_EXPORTS (a file of demangled names, one a line), also fails
# unless the library exports exactly those names.
execute_process(COMMAND nm -DC --defined-only ${LIBRARY}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
set(base_classes "tObject|tNode|tList|tStrNode|tStrList|tDataNode|tDataList|tString|tBuffer|tArray|tCollection|LumoObject|LumoNode|LumoList|LumoClass|LumoProperty|LumoStream|LumoObjects|LumoSortedList|tImage|tBitmap")
string(REGEX MATCHALL "[^\n]* [A-Za-z] (vtable for |typeinfo for |typeinfo name for )?(${base_classes})(::|<|\n)[^\n]*" leaks "${symbols}\n")
if(leaks)
  message(FATAL_ERROR "${LIBRARY} exports base classes:\n${leaks}")
endif()
message(STATUS "${LIBRARY}: no base class exported")

if(DEFINED EXPECTED_EXPORTS)
  file(STRINGS ${EXPECTED_EXPORTS} expected)
  list(SORT expected)
  string(REPLACE "\n" ";" lines "${symbols}")
  set(exported "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] (.+)$")
      list(APPEND exported "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(SORT exported)
  if(NOT exported STREQUAL expected)
    string(REPLACE ";" "\n  " exported_lines "${exported}")
    string(REPLACE ";" "\n  " expected_lines "${expected}")
    message(FATAL_ERROR "${LIBRARY} exports:\n  ${exported_lines}\nbut should export exactly:\n  ${expected_lines}")
  endif()
  message(STATUS "${LIBRARY}: exports exactly its entry points")
endif()

# Functions that must be exported undecorated (C linkage), given as
# -DEXPECTED=name1,name2,...
if(DEFINED EXPECTED)
  string(REPLACE "," ";" expected_names "${EXPECTED}")
  foreach(name IN LISTS expected_names)
    if(NOT symbols MATCHES "(^|\n)[0-9a-f]* T ${name}\n")
      message(FATAL_ERROR "${LIBRARY} does not export ${name} with C linkage")
    endif()
  endforeach()
  message(STATUS "${LIBRARY}: exports ${EXPECTED}")
endif()

# Functions that must be exported with C++ linkage, given by their demangled
# signatures separated by "|" (a signature may hold commas), as
# -DEXPECTED_CPP=Name()|Other(int, bool). An overload with C linkage has a
# symbol of the bare name and does not count.
if(DEFINED EXPECTED_CPP)
  string(REPLACE "|" ";" expected_signatures "${EXPECTED_CPP}")
  string(REPLACE "\n" ";" symbol_lines "${symbols}")
  foreach(signature IN LISTS expected_signatures)
    set(found FALSE)
    foreach(line IN LISTS symbol_lines)
      if(line MATCHES "^[0-9a-fA-F]* T (.+)$" AND CMAKE_MATCH_1 STREQUAL signature)
        set(found TRUE)
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "${LIBRARY} does not export ${signature} with C++ linkage")
    endif()
  endforeach()
  message(STATUS "${LIBRARY}: exports ${EXPECTED_CPP}")
endif()
