# Runs one scenario in a fresh program folder and compares its transcript with the expected one.
# Inputs: SIM (the runner), SCRIPT, EXPECTED (the scenario's path without extension), PYTHON and
# CHECKER (the assertion checker), WORK (a folder of this scenario's own). The runner
# starts in WORK with the program's folder given as "dir", so paths in transcripts stay the same
# wherever the build lives.
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
if(EXISTS ${EXPECTED}.expect)
  execute_process(COMMAND ${PYTHON} ${CHECKER} ${EXPECTED}.expect ${WORK}/actual.out RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "the transcript does not hold what ${EXPECTED}.expect asserts; it is in ${WORK}/actual.out")
  endif()
  return()
endif()
set(EXPECTED ${EXPECTED}.out)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${WORK}/actual.out RESULT_VARIABLE differs)
if(differs)
  find_program(DIFF diff)
  if(DIFF)
    execute_process(COMMAND ${DIFF} -u ${EXPECTED} ${WORK}/actual.out)
  endif()
  message(FATAL_ERROR "the transcript differs from ${EXPECTED}; it is in ${WORK}/actual.out")
endif()
