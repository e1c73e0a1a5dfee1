# Hostile input through the NPAPI host: a hostile registry and a hostile page.

# RecentlyApplications and the launcher over a hostile usage history, once per OS family
# (named for Wine's version settings); and what page scripts can throw at the object, on
# Windows 7: no, wrong, huge and broken arguments, and a long run of calls.
npd_add_test_program(hostile_tests win/test_main.cpp win/family_fixture.cpp
    win/hostile_history.cpp win/hostile_registry_test.cpp win/hostile_page_test.cpp)
add_dependencies(hostile_tests marker_program)
foreach(version winxp win7)
    set(copy ${PROJECT_BINARY_DIR}/hostile_${version}.exe)
    add_custom_command(TARGET hostile_tests POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:hostile_tests> ${copy})
endforeach()
add_test(NAME hostile_winxp COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
    ${PROJECT_BINARY_DIR}/hostile_winxp.exe --expected-family=3 --gtest_filter=HostileRegistry.*)
add_test(NAME hostile_win7 COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR}
    ${PROJECT_BINARY_DIR}/hostile_win7.exe --expected-family=4)
npd_set_test_timeout(hostile_winxp 120)
npd_set_test_timeout(hostile_win7 120)

# Figures of RecentlyApplications over the hostile history (run by make bench, not by CTest).
npd_add_test_program(hostile_registry_bench win/hostile_registry_bench.cpp
    win/hostile_history.cpp)
target_link_libraries(hostile_registry_bench PRIVATE npd_catalogue)
target_link_options(hostile_registry_bench PRIVATE -municode)
add_dependencies(hostile_registry_bench marker_program)
# The same on Windows XP (app_defaults.reg), which reads the NT 5 history.
add_custom_command(TARGET hostile_registry_bench POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:hostile_registry_bench>
        ${PROJECT_BINARY_DIR}/hostile_registry_winxp_bench.exe)
