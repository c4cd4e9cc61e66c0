# Every ctest test has a time limit, so a test that hangs (a dialog that never shows under
# Wine, a loop that never ends) fails by name instead of holding the run. ctest takes the
# limit of every test without a TIMEOUT property of its own from DartConfiguration.tcl in
# the build tree, the file in which CTest's dashboard module would keep it, so no test needs
# listing, not even the GoogleTest cases that are found only when ctest runs.

# Generous for a Wine program's first start in a busy machine, yet bounded.
if(CMAKE_CROSSCOMPILING)
  set(kostrel_default_test_timeout 300)
else()
  set(kostrel_default_test_timeout 180)
endif()
set(KOSTREL_TEST_TIMEOUT ${kostrel_default_test_timeout} CACHE STRING
    "Seconds that one ctest test may run before it fails")
file(WRITE ${PROJECT_BINARY_DIR}/DartConfiguration.tcl "TimeOut: ${KOSTREL_TEST_TIMEOUT}\n")
