# Runs the crash probe under the Wine wrapper: it must fail, on its own and quickly, not hang in
# a debugger dialog until the wrapper's timeout (exit code 124) ends it.
string(TIMESTAMP start "%s")
execute_process(COMMAND ${RUNNER} ${PREFIX} ${PROBE} RESULT_VARIABLE result ERROR_VARIABLE errors TIMEOUT 60)
string(TIMESTAMP end "%s")
math(EXPR seconds "${end} - ${start}")
message("exit code ${result} after ${seconds} s")
if(result EQUAL 0 OR result EQUAL 124 OR NOT result MATCHES "^[0-9]+$")
  message(FATAL_ERROR "a crash must end the program with a failure of its own; got '${result}'\n${errors}")
endif()
if(seconds GREATER 20)
  message(FATAL_ERROR "the crash took ${seconds} s to end the program")
endif()
