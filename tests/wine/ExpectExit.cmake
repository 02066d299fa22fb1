# Runs the host simulator under the Wine wrapper in DIR and checks its exit status:
#   cmake -DRUNNER=... -DPREFIX=... -DPROGRAM=... -DDIR=... -DEXPECTED=N -DARGS="a;b" -P ExpectExit.cmake
execute_process(COMMAND ${RUNNER} ${PREFIX} ${PROGRAM} ${ARGS} WORKING_DIRECTORY ${DIR} RESULT_VARIABLE result
                OUTPUT_VARIABLE output ERROR_VARIABLE errors TIMEOUT 120)
message("${output}${errors}")
if(NOT result STREQUAL "${EXPECTED}")
  message(FATAL_ERROR "exit status ${result}, expected ${EXPECTED}")
endif()
foreach(file IN LISTS FILES)
  if(NOT EXISTS ${DIR}/${file})
    message(FATAL_ERROR "the script did not write ${file}")
  endif()
endforeach()
