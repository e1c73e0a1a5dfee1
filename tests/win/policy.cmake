# The administrator's policy through the host (included from tests/CMakeLists.txt): which pages
# the object answers and which programs a page may start, on Windows 7 (app_defaults.reg).
npd_add_test_program(policy_tests win/test_main.cpp win/family_fixture.cpp win/policy_test.cpp)
add_dependencies(policy_tests marker_program bare_program)
add_test(NAME policy_tests COMMAND policy_tests --expected-family=4)
npd_set_test_timeout(policy_tests 180)
