# Runs a session that must fail: it must end with exit status STATUS and say MESSAGE (a regular
# expression) on standard error. EMULATOR is the tree's emulator and ARGS the program's
# arguments, each with '|' for its list separators.
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
string(REPLACE "|" ";" ARGS "${ARGS}")
execute_process(
  COMMAND ${EMULATOR} ${PROGRAM} ${ARGS}
  RESULT_VARIABLE status
  ERROR_VARIABLE errors
  OUTPUT_QUIET)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}; ${errors}")
endif()
if(NOT errors MATCHES "${MESSAGE}")
  message(FATAL_ERROR "standard error does not say \"${MESSAGE}\": ${errors}")
endif()
