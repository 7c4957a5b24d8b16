# Fails when a shipped library exports a base class (its member functions,
# vtable or type information): the base types must stay private to each
# deliverable, so that every deliverable keeps its own registries.
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
list(LENGTH symbols size)
message(STATUS "${LIBRARY}: no base class exported")
