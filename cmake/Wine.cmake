# Whether this machine can run the Windows build under Wine, and the one way its tests are
# registered.
#
# The program is a 32-bit PE, so Wine starts it with its 32-bit loader (/usr/lib/wine/wine from
# wine32), and that loader needs a kernel that runs i386 code. Some virtual machines run 64-bit
# user code only: there every exec of an i386 program fails with "Exec format error", and no Wine
# test can pass. On such a machine the tests that start a Windows program stay registered but are
# disabled, so ctest lists them as not run ("Disabled") instead of reporting a failure that says
# nothing about the code. The probe runs at every configure (scripts/test configures each time),
# so a build folder moved to a machine that runs i386 code enables them again.

# QM_WINE_RUNS: whether tests/wine/can-run says Wine can start 32-bit programs here.
execute_process(COMMAND ${CMAKE_SOURCE_DIR}/tests/wine/can-run RESULT_VARIABLE qm_wine_code
                OUTPUT_VARIABLE qm_wine_problem OUTPUT_STRIP_TRAILING_WHITESPACE TIMEOUT 60)
if(qm_wine_code EQUAL 0)
  set(QM_WINE_RUNS TRUE)
else()
  set(QM_WINE_RUNS FALSE)
  message(WARNING "Wine cannot run 32-bit programs on this machine (${qm_wine_problem}). The "
                  "tests that run the Windows build under Wine are disabled; the build itself "
                  "and the tests that only read the program's file still run.")
endif()

# The Wine prefix of the test run: made once by the wine.prefix test (tests/CMakeLists.txt).
set(QM_WINEPREFIX ${CMAKE_BINARY_DIR}/wine/prefix)

# Marks each named test as one that starts a Windows program: it needs the test run's prefix, has
# it to itself (Wine tests share one wineserver), and is disabled where Wine cannot run.
function(qm_wine_tests)
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wineprefix RESOURCE_LOCK wineprefix)
  if(NOT QM_WINE_RUNS)
    set_tests_properties(${ARGN} PROPERTIES DISABLED TRUE)
  endif()
endfunction()
