# The native messaging host as browsers start it (included from tests/CMakeLists.txt), on
# Windows 7 (app_defaults.reg), with its service also run in the test's own process.
npd_add_test_program(messaging_host_tests
    win/test_main.cpp win/family_fixture.cpp win/messaging_host_test.cpp win/host_process.cpp)
target_link_libraries(messaging_host_tests PRIVATE npd_messaging_host npd_soak)
add_dependencies(messaging_host_tests desklaunch-host marker_program sketch_program atlas_program)
add_test(NAME messaging_host_tests COMMAND messaging_host_tests --expected-family=4)
npd_set_test_timeout(messaging_host_tests 300)

# Benchmark of the host (run by make bench, not by CTest), and the least host it is measured
# against.
add_executable(one_answer_host win/one_answer_host.cpp)
target_link_options(one_answer_host PRIVATE ${NPD_TEST_LINK_OPTIONS})
npd_add_test_program(messaging_bench win/messaging_bench.cpp win/host_process.cpp)
target_link_libraries(messaging_bench PRIVATE npd_messaging_host)
target_link_options(messaging_bench PRIVATE -municode)
add_dependencies(messaging_bench desklaunch-host one_answer_host marker_program)
