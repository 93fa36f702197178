# Prints how many test cases each build ran, from the reports that the
# GoogleTest programs wrote into RESULTS during a ctest run: one line per
# program, drawport_tests for the 64-bit build, drawport_tests32 for the
# 32-bit one. Run by ctest after the tests (CTestCustom.cmake).
file(GLOB reports "${RESULTS}/*.xml")
if(NOT reports)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "Test cases: no GoogleTest program reported (none ran, or none finished)")
  return()
endif()
foreach(report IN LISTS reports)
  get_filename_component(program "${report}" NAME_WE)
  if(program MATCHES "32$")
    set(build "32-bit build")
  else()
    set(build "64-bit build")
  endif()
  file(READ "${report}" xml)
  if(NOT xml MATCHES "<testsuites tests=\"([0-9]+)\" failures=\"([0-9]+)\" disabled=\"([0-9]+)\" errors=\"([0-9]+)\"")
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "Test cases of the ${build} (${program}): the report cannot be read")
    continue()
  endif()
  set(failed ${CMAKE_MATCH_2})
  set(disabled ${CMAKE_MATCH_3})
  # Every test case that ran has result="completed" (passed or failed) or
  # result="skipped".
  string(REGEX MATCHALL "result=\"completed\"" completed "${xml}")
  string(REGEX MATCHALL "result=\"skipped\"" skipped "${xml}")
  list(LENGTH completed completed)
  list(LENGTH skipped skipped)
  math(EXPR passed "${completed} - ${failed}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo
    "Test cases of the ${build} (${program}): ${passed} passed, ${failed} failed, ${skipped} skipped, ${disabled} disabled")
endforeach()
