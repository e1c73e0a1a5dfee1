# Sanitizer tests of the picker subsystem's pure code (included from tests/native/CMakeLists.txt).
add_executable(picker_core_tests picker_rules_test.cpp)
target_link_libraries(picker_core_tests PRIVATE npd_core gtest_main)
target_compile_options(picker_core_tests PRIVATE -Wall -Wextra -Werror)
add_test(NAME picker_core_tests COMMAND picker_core_tests)
npd_set_test_timeout(picker_core_tests 60)
