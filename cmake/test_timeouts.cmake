# Every ctest test gets the TIMEOUT property, so a test that hangs (a dialog that never
# shows under Wine, a loop that never ends) fails by name instead of holding the run.
# Include this before the test directories and call kostrel_apply_test_timeouts() at the
# end of the top-level CMakeLists.txt; tests added anywhere later are covered without
# being listed. GoogleTest cases are found only when ctest runs, so gtest_discover_tests
# passes PROPERTIES TIMEOUT ${KOSTREL_TEST_TIMEOUT} itself.

# Generous for a Wine program's first start in a busy machine, yet bounded.
if(CMAKE_CROSSCOMPILING)
  set(kostrel_default_test_timeout 300)
else()
  set(kostrel_default_test_timeout 180)
endif()
set(KOSTREL_TEST_TIMEOUT ${kostrel_default_test_timeout} CACHE STRING
    "Seconds that one ctest test may run before it fails")

# set_tests_properties reaches only the tests of the current directory (before CMake
# 3.28), so the timeouts are set when ctest reads the test files instead: from a directory
# added last, whose test file ctest reads after all the others.
function(kostrel_apply_test_timeouts)
  add_subdirectory(${PROJECT_SOURCE_DIR}/cmake/test-timeouts
                   ${PROJECT_BINARY_DIR}/test-timeouts)
endfunction()
