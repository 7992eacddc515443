# Read by ctest when it starts: one test per GoogleTest suite of a test
# program, run in one process, so that the cases of a suite can share what is
# costly to make (a running daemon). Set by the including file: PROGRAM, the
# program's path; EMULATOR, what runs it; PROPERTIES, for every suite;
# ALONE, the suites that run with no other test beside them; KEYBOARD, the
# suites that press keys; PIPE, the suites that start a daemon where the
# program's other suites do not, which take turns on the one pipe name with
# the other daemon suites. Keys reach the window with the X keyboard focus,
# which any window another test makes on the same display can take; the
# second session runs one suite at a time, so they run there.
execute_process(COMMAND "${EMULATOR}" "${PROGRAM}" --gtest_list_tests
                OUTPUT_VARIABLE listing RESULT_VARIABLE status TIMEOUT 60)
get_filename_component(name "${PROGRAM}" NAME_WE)
if(NOT status EQUAL 0)
  # A program that cannot list its tests is a failure, not a silent skip.
  add_test("${name}_NOT_LISTED" "${EMULATOR}" "${PROGRAM}" --gtest_list_tests)
  set_tests_properties("${name}_NOT_LISTED" PROPERTIES WILL_FAIL TRUE)
  return()
endif()
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # A suite line starts in the first column and ends with its dot (and, for
  # typed and parameterised suites, a comment).
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    add_test("${suite}" "${EMULATOR}" "${PROGRAM}" "--gtest_filter=${suite}.*")
    set_tests_properties("${suite}" PROPERTIES ${PROPERTIES})
    list(FIND KEYBOARD "${suite}" at)
    if(NOT at EQUAL -1)
      set_tests_properties("${suite}" PROPERTIES RESOURCE_LOCK QuorvelPipeB ENVIRONMENT QV_WINE_SESSION=b)
    endif()
    list(FIND PIPE "${suite}" at)
    if(NOT at EQUAL -1)
      set_tests_properties("${suite}" PROPERTIES RESOURCE_LOCK QuorvelPipe)
    endif()
    list(FIND ALONE "${suite}" at)
    if(NOT at EQUAL -1)
      set_tests_properties("${suite}" PROPERTIES RUN_SERIAL TRUE)
    endif()
  endif()
endforeach()
