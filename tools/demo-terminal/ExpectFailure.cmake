# Runs a session whose expectation cannot hold: Escape closes the pop-up without a pick. It must
# end with exit status 1 and name the failed step. EMULATOR is the tree's emulator with '|' for
# its list separators.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
execute_process(
  COMMAND ${EMULATOR} ${PROGRAM} --step "type 600000" --step "key Escape"
          --step "expect-received received 0x51C"
  RESULT_VARIABLE status
  ERROR_VARIABLE errors
  OUTPUT_QUIET)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "exit status ${status}, expected 1; ${errors}")
endif()
if(NOT errors MATCHES "step 3: no line contains \"received 0x51C\"")
  message(FATAL_ERROR "the failed step was not named: ${errors}")
endif()
