# Runs one scenario in a fresh program folder and checks its transcript against the lines the
# scenario asserts. Inputs: SIM (the runner), SCRIPT, EXPECTED (the scenario's path without
# extension), PYTHON and CHECKER (the assertion checker), WORK (a folder of this scenario's
# own). The runner starts in WORK with the program's folder given as "dir", so paths in
# transcripts stay the same wherever the build lives.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/dir)
execute_process(COMMAND ${SIM} --dir dir ${SCRIPT}
                WORKING_DIRECTORY ${WORK}
                OUTPUT_FILE ${WORK}/actual.out
                ERROR_VARIABLE errors
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wendrel-sim exited with ${result}: ${errors}")
endif()
if(NOT EXISTS ${EXPECTED}.expect)
  message(FATAL_ERROR "${EXPECTED}.expect is missing: a scenario asserts its lines there")
endif()
execute_process(COMMAND ${PYTHON} ${CHECKER} ${EXPECTED}.expect ${WORK}/actual.out RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the transcript does not hold what ${EXPECTED}.expect asserts; it is in ${WORK}/actual.out")
endif()
