# Runs PROGRAM with ARGUMENTS (a ;-list) and checks its exit status against EXPECTED_STATUS
# and, when given, its standard output against EXPECTED_OUTPUT and its standard error against
# the regular expression EXPECTED_ERROR. EMULATOR, when set, runs a cross-built PROGRAM (Wine).
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGUMENTS}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE error)
# Windows programs end their lines with CR LF.
string(REPLACE "\r\n" "\n" output "${output}")
string(REPLACE "\r\n" "\n" error "${error}")
if(NOT status EQUAL EXPECTED_STATUS)
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED_STATUS}\n${output}${error}")
endif()
if(DEFINED EXPECTED_OUTPUT AND NOT output STREQUAL EXPECTED_OUTPUT)
    message(FATAL_ERROR "output '${output}', expected '${EXPECTED_OUTPUT}'")
endif()
if(DEFINED EXPECTED_ERROR AND NOT error MATCHES "${EXPECTED_ERROR}")
    message(FATAL_ERROR "error output '${error}' does not match '${EXPECTED_ERROR}'")
endif()
