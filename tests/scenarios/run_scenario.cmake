# Runs pelmora-sim on one script and compares its trace with the expected one. Windows
# programs write CRLF line ends; they are not part of the trace.
string(REPLACE "|" ";" emulator "${EMULATOR}")
execute_process(COMMAND ${emulator} ${DRIVER} ${SCRIPT}
                OUTPUT_VARIABLE actual
                ERROR_VARIABLE errors
                RESULT_VARIABLE result
                TIMEOUT 120)
string(REPLACE "\r" "" actual "${actual}")
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "The trace differs from ${EXPECTED} (driver result ${result}).\n"
                      "--- expected\n${expected}--- actual\n${actual}--- errors\n${errors}")
endif()
