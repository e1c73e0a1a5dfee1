# Windows tests of the picker subsystem (included from tests/CMakeLists.txt).

# The launcher with the real shell, once per OS family (named for Wine's version settings).
npd_add_test_program(launcher_tests win/test_main.cpp win/family_fixture.cpp win/launcher_test.cpp)
target_link_libraries(launcher_tests PRIVATE npd_app)
add_dependencies(launcher_tests marker_program)
npd_add_version_copies(launcher_tests launcher_ 300 winxp=3 win7=4)

# Programs the user chooses in the tests: both carry an icon, one also names its product.
foreach(kind plain named)
    add_executable(pick_target_${kind} win/pick_target.c win/pick_target_${kind}.rc)
    target_link_options(pick_target_${kind} PRIVATE -static)
endforeach()

# SelectApplications through the host, with the real common dialog worked as a user works it.
npd_add_test_program(picker_tests win/test_main.cpp win/picker_test.cpp)
target_link_libraries(picker_tests PRIVATE ole32 uuid shell32)
add_dependencies(picker_tests pick_target_plain pick_target_named)
# The unload case needs a process in which nothing else loaded the module.
add_test(NAME picker_tests COMMAND picker_tests --gtest_filter=-PickerUnload.*)
add_test(NAME picker_unload_tests COMMAND picker_tests --gtest_filter=PickerUnload.*)

# The dialog's record as the module's code builds it.
npd_add_test_program(picker_code_tests win/test_main.cpp win/picker_dialog_test.cpp)
target_link_libraries(picker_code_tests PRIVATE npd_app)
add_test(NAME picker_code_tests COMMAND picker_code_tests)

npd_set_test_timeout(picker_tests 300)
npd_set_test_timeout(picker_unload_tests 120)
npd_set_test_timeout(picker_code_tests 60)
