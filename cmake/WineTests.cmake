# Runs cross-built test executables under Wine on a private Xvfb display, with one Wine prefix per build tree.
#
# The prefix is made once (wineboot -i) and its server kept alive by a fixture-setup test; a fixture-cleanup
# test ends the server (wineserver -k) and the display. Every run goes through tests/win32/run-under-wine.sh,
# which sends Wine's output to a file: Wine's background services inherit it, and a pipe would never close.
# For each run it also maps the prefix's drives D: and E: to empty test folders, putting back what was there.

find_program(DUPLEX_WINE_PROGRAM wine REQUIRED)
find_program(DUPLEX_XVFB_PROGRAM Xvfb REQUIRED)

set(DUPLEX_WINE_RUNNER ${CMAKE_SOURCE_DIR}/tests/win32/run-under-wine.sh)
set(DUPLEX_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
# Executables that import SetupLogKit.dll find it on Wine's PATH (the build tree is on drive Z:).
string(REPLACE "/" "\\" DUPLEX_WINE_DLL_DIR "Z:${CMAKE_BINARY_DIR}")

# Cases that check a guarantee of Windows itself that Wine does not give stay in the executables and
# run on Windows; list them here, each with its reason, to leave them out under Wine.
set(DUPLEX_WINE_EXCLUDED_CASES)
list(JOIN DUPLEX_WINE_EXCLUDED_CASES ":" DUPLEX_WINE_EXCLUDED_FILTER)

if(NOT TEST duplex_wine_start)
  add_test(NAME duplex_wine_start COMMAND ${DUPLEX_WINE_RUNNER} start ${DUPLEX_WINE_STATE})
  set_tests_properties(duplex_wine_start PROPERTIES FIXTURES_SETUP duplex_wine TIMEOUT 180)
  add_test(NAME duplex_wine_stop COMMAND ${DUPLEX_WINE_RUNNER} stop ${DUPLEX_WINE_STATE})
  set_tests_properties(duplex_wine_stop PROPERTIES FIXTURES_CLEANUP duplex_wine TIMEOUT 60)
endif()

# duplex_add_wine_test(<target> [TIMEOUT seconds] [ENVIRONMENT VAR=value...])
function(duplex_add_wine_test target)
  cmake_parse_arguments(PARSE_ARGV 1 WINE_TEST "" "TIMEOUT" "ENVIRONMENT")
  if(NOT WINE_TEST_TIMEOUT)
    set(WINE_TEST_TIMEOUT 240)
  endif()
  add_test(NAME ${target}
           COMMAND ${DUPLEX_WINE_RUNNER} run ${DUPLEX_WINE_STATE} $<TARGET_FILE:${target}>
                   "--gtest_filter=-${DUPLEX_WINE_EXCLUDED_FILTER}"
           WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>)
  # Every run maps the test drives D: and E: in the one Wine prefix and removes them at its end, so two runs
  # at once (ctest -j) would pull them from under each other.
  set_tests_properties(${target} PROPERTIES
    FIXTURES_REQUIRED duplex_wine
    RESOURCE_LOCK duplex_wine_drives
    TIMEOUT ${WINE_TEST_TIMEOUT}
    ENVIRONMENT "WINEPATH=${DUPLEX_WINE_DLL_DIR};${WINE_TEST_ENVIRONMENT}")
endfunction()
