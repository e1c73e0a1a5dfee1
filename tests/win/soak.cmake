# Soak runs through the NPAPI host and the leak counters that prove them.

# A test copy of the module, never shipped (its name is no plug-in's): the linker routes its
# calls of SaveAppIcon through win/soak_leak.cpp, which leaks an icon, a DC, a bitmap and a
# kernel handle each time. It is built like the module, with the module's compiler.
set(npd_leak_symbol _Z11SaveAppIconRKNSt7__cxx1112basic_stringIwSt11char_traitsIwESaIwEEES4_)
npd_add_plugin_module(soak_leaky_module win/soak_leak.cpp)
target_compile_definitions(soak_leaky_module PRIVATE NPD_LEAK_SYMBOL=${npd_leak_symbol})
target_link_options(soak_leaky_module PRIVATE -Wl,--wrap=${npd_leak_symbol})
set_target_properties(soak_leaky_module PROPERTIES C_COMPILER_LAUNCHER "" CXX_COMPILER_LAUNCHER ""
    C_LINKER_LAUNCHER "" CXX_LINKER_LAUNCHER "")

# The counters and the soak, shared by the tests and the benchmark.
add_library(npd_soak STATIC host/resource_counters.cpp win/soak_run.cpp)
target_link_libraries(npd_soak PUBLIC nphost_test_support comdlg32 ntdll)
target_link_libraries(npd_soak PRIVATE npd_warnings)

npd_add_test_program(soak_tests win/test_main.cpp win/soak_test.cpp)
target_link_libraries(soak_tests PRIVATE npd_soak)
add_dependencies(soak_tests soak_leaky_module marker_program)
# The leaking copy runs last, after the soak it proves.
add_test(NAME soak_tests COMMAND soak_tests)
npd_set_test_timeout(soak_tests 600)
# The full soak is 500 calls and 100 picker round trips. Wine 8 shows one process no more than
# 63 open-file dialogs, so the round trips run as two processes of 50: the second runs the soak
# alone. A RecentlyApplications call costs 0.1 to 0.3 s here and a round trip 0.3 to 1 s; where
# Windows code runs ten times slower (the emulated x86 guest, where the picker is left to
# picker_tests) the soak is 20 calls: still more than the margins, so that one object leaked
# per call fails it.
if(NPD_TEST_TIMEOUT_SCALE GREATER 1)
    set_tests_properties(soak_tests PROPERTIES ENVIRONMENT "NPD_SOAK_CALLS=20;NPD_SOAK_PICKS=0")
else()
    add_test(NAME soak_tests_second_process
             COMMAND soak_tests --gtest_filter=Soak.CallsAndPicksLeaveEveryCounterFlat)
    npd_set_test_timeout(soak_tests_second_process 300)
    set_tests_properties(soak_tests_second_process PROPERTIES ENVIRONMENT "NPD_SOAK_CALLS=0")
endif()

# Benchmark: the full soak's counters at start and end (run by make bench, not by CTest).
npd_add_test_program(soak_bench win/soak_bench.cpp)
target_link_libraries(soak_bench PRIVATE npd_soak)
add_dependencies(soak_bench marker_program)
