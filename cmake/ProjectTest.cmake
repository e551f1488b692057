# One test executable per source folder, run under the offscreen platform. The tests
# whose names match the gtest filter FIXTURE_TESTS run only with the CTest fixture
# FIXTURE set up (a server they talk to), and fail when it cannot be.
function(add_project_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FIXTURE;FIXTURE_TESTS" "")
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE test_support GTest::gtest)
  if(arg_FIXTURE)
    gtest_discover_tests(${name}
      TEST_FILTER "-${arg_FIXTURE_TESTS}"
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${SANITIZER_TEST_PROPERTIES})
    gtest_discover_tests(${name}
      TEST_FILTER "${arg_FIXTURE_TESTS}"
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${SANITIZER_TEST_PROPERTIES} FIXTURES_REQUIRED ${arg_FIXTURE})
  else()
    gtest_discover_tests(${name}
      DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${SANITIZER_TEST_PROPERTIES})
  endif()
endfunction()
