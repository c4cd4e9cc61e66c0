# Runs the real kostrel-sim binary: a good run, and bad usage and bad input that must end
# with status 2 and a one-line message, never a crash.
function(run_sim expected_status input expected_regex)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/sim_input.txt "${input}")
  execute_process(COMMAND ${SIM} ${ARGN} INPUT_FILE ${CMAKE_CURRENT_BINARY_DIR}/sim_input.txt
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 20)
  if(NOT status STREQUAL "${expected_status}" OR NOT "${out}${err}" MATCHES "${expected_regex}")
    message(FATAL_ERROR "kostrel-sim ${ARGN}: status ${status}, output '${out}${err}'; "
                        "expected ${expected_status} and '${expected_regex}'")
  endif()
endfunction()

string(REPEAT "..........\n" 19 upper)
run_sim(0 "${upper}#########.\n" "^3\n$" choose 0)
run_sim(2 "" "^kostrel-sim: [^\n]+\n$")
run_sim(2 "${upper}" "^kostrel-sim: bad board: line 20: [^\n]+\n$" eval)
run_sim(2 "new bogus" "^kostrel-sim: unknown command \"bogus\" at line 1, column 5\n$" play)
