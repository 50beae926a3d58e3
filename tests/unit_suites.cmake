# Read by ctest before it runs any test (TEST_INCLUDE_FILES, see
# CMakeLists.txt): registers one test per GoogleTest suite of the unit test
# program, each running that suite's cases in one process. A failing case
# names itself in the test's output ("[  FAILED  ] Suite.Case").
#
# The suites are listed by the program itself (--gtest_list_tests), at test
# time rather than at build time, so that a cross-built program runs under
# the emulator (wine) the caller has prepared. The list is kept beside the
# program and made again only when the program is newer.
#
# Set by the including file: KV_UNIT_PROGRAM, KV_UNIT_EMULATOR (may be
# empty), KV_UNIT_WORKDIR, KV_UNIT_ENVIRONMENT, KV_UNIT_PREFIX and
# KV_UNIT_CMAKE (the cmake program: ctest does not set CMAKE_COMMAND here).

set(suites_file "${KV_UNIT_PROGRAM}.suites")

function(kv_unit_fail message)
  # A test that fails with the reason, so that a broken listing is seen.
  add_test("${KV_UNIT_PREFIX}listing" "${KV_UNIT_CMAKE}" -E echo "${message}")
  set_tests_properties("${KV_UNIT_PREFIX}listing" PROPERTIES FAIL_REGULAR_EXPRESSION ".")
endfunction()

if(NOT EXISTS "${KV_UNIT_PROGRAM}")
  kv_unit_fail("${KV_UNIT_PROGRAM} is not built")
  return()
endif()

if(NOT EXISTS "${suites_file}" OR "${KV_UNIT_PROGRAM}" IS_NEWER_THAN "${suites_file}")
  # Listed in the environment the suites run in: cases made from the
  # fixtures (KV_TEST_FIXTURES) exist only there.
  execute_process(
    COMMAND "${KV_UNIT_CMAKE}" -E env ${KV_UNIT_ENVIRONMENT}
            ${KV_UNIT_EMULATOR} "${KV_UNIT_PROGRAM}" --gtest_list_tests
    WORKING_DIRECTORY "${KV_UNIT_WORKDIR}"
    OUTPUT_VARIABLE listing ERROR_VARIABLE listing_errors
    RESULT_VARIABLE listing_status
    INPUT_FILE /dev/null
    TIMEOUT 300)
  if(NOT listing_status EQUAL 0)
    file(REMOVE "${suites_file}")
    kv_unit_fail("listing the tests failed (${listing_status}): ${listing_errors}${listing}")
    return()
  endif()
  # Suite lines start at the left margin and end with a dot, perhaps with a
  # "# TypeParam" comment after it; case lines are indented.
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(suites "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      list(APPEND suites "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  if(NOT suites)
    file(REMOVE "${suites_file}")
    kv_unit_fail("the test program listed no suite: ${listing}")
    return()
  endif()
  string(REPLACE ";" "\n" suite_lines "${suites}")
  file(WRITE "${suites_file}" "${suite_lines}\n")
endif()

file(STRINGS "${suites_file}" suites)
if(NOT suites)
  # A list emptied since it was written would otherwise run no unit test.
  file(REMOVE "${suites_file}")
  kv_unit_fail("${suites_file} lists no suite")
  return()
endif()
# A suite whose filter selects no case (the list no longer matches the
# program) fails instead of passing with nothing run.
foreach(suite IN LISTS suites)
  set(name "${KV_UNIT_PREFIX}${suite}")
  add_test("${name}" ${KV_UNIT_EMULATOR} "${KV_UNIT_PROGRAM}" "--gtest_filter=${suite}.*")
  set_tests_properties("${name}" PROPERTIES
    WORKING_DIRECTORY "${KV_UNIT_WORKDIR}"
    ENVIRONMENT "${KV_UNIT_ENVIRONMENT}"
    FAIL_REGULAR_EXPRESSION "Running 0 tests")
endforeach()
