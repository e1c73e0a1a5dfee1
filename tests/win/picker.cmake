# Windows tests of the picker subsystem (included from tests/CMakeLists.txt).

# The launcher with the real shell, once per OS family (named for Wine's version settings).
npd_add_test_program(launcher_tests win/test_main.cpp win/family_fixture.cpp win/launcher_test.cpp)
target_link_libraries(launcher_tests PRIVATE npd_module_code)
add_dependencies(launcher_tests marker_program)
foreach(entry "winxp;3" "win7;4")
    list(GET entry 0 version)
    list(GET entry 1 family)
    set(copy ${PROJECT_BINARY_DIR}/launcher_tests_${version}.exe)
    add_custom_command(TARGET launcher_tests POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:launcher_tests> ${copy})
    add_test(NAME launcher_${version}
        COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${copy} --expected-family=${family})
    set_tests_properties(launcher_${version} PROPERTIES TIMEOUT 300)
endforeach()
