# Fails when the program PROGRAM holds a symbol of the module (namespace bm): the host must
# know the module only through the interfaces in host/.
execute_process(COMMAND nm -C "${PROGRAM}" OUTPUT_VARIABLE symbols RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${PROGRAM}")
endif()
string(REGEX MATCHALL "[^\n]*bm::[^\n]*" found "${symbols}")
if(found)
  list(LENGTH found count)
  list(SUBLIST found 0 5 shown)
  list(JOIN shown "\n  " shown)
  message(FATAL_ERROR "${PROGRAM} links ${count} symbol(s) of the module, e.g.\n  ${shown}")
endif()
