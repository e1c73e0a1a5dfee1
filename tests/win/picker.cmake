# Windows tests of the picker subsystem (included from tests/CMakeLists.txt).

# The launcher with the real shell, once per OS family (named for Wine's version settings).
npd_add_test_program(launcher_tests win/test_main.cpp win/family_fixture.cpp win/launcher_test.cpp)
target_link_libraries(launcher_tests PRIVATE npd_module_code)
add_dependencies(launcher_tests marker_program)
npd_add_version_copies(launcher_tests launcher_ 300 winxp=3 win7=4)
