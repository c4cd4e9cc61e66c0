# Runs the real kostrel-sim binary: a good run, and bad input that must exit with status 2
# and a one-line message, never a crash.
function(run_sim expected_status input expected_err_regex)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/sim_input.txt "${input}")
  execute_process(COMMAND ${SIM} ${ARGN}
    INPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/sim_input.txt
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT status STREQUAL "${expected_status}")
    message(FATAL_ERROR "kostrel-sim ${ARGN}: status ${status}, expected ${expected_status}; stderr: ${err}")
  endif()
  if(NOT err MATCHES "${expected_err_regex}")
    message(FATAL_ERROR "kostrel-sim ${ARGN}: stderr '${err}' does not match '${expected_err_regex}'")
  endif()
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

string(REPEAT "..........\n" 19 upper)
run_sim(0 "${upper}#########.\n" "^$" choose 0)
if(NOT last_out STREQUAL "3\n")
  message(FATAL_ERROR "choose 0 printed '${last_out}', expected 3")
endif()
run_sim(0 "new left left tick score" "^$" play)
if(NOT last_out STREQUAL "score 0\n")
  message(FATAL_ERROR "play printed '${last_out}'")
endif()
run_sim(2 "" "^kostrel-sim: [^\n]+\n$")
run_sim(2 "${upper}" "^kostrel-sim: bad board: line 20: [^\n]+\n$" eval)
run_sim(2 "${upper}.........." "^kostrel-sim: bad kind [^\n]+\n$" choose 9)
run_sim(2 "new bogus" "^kostrel-sim: unknown command \"bogus\" at line 1, column 5\n$" play)
