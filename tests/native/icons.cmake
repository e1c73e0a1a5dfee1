# Sanitizer tests of the icons subsystem's pure code (included from tests/native/CMakeLists.txt).
add_executable(icons_core_tests
    bitmap_layout_test.cpp
    bitmap_pixels_test.cpp
    icon_paths_test.cpp
)
target_link_libraries(icons_core_tests PRIVATE npd_core gtest_main)
target_compile_options(icons_core_tests PRIVATE -Wall -Wextra -Werror)
add_test(NAME icons_core_tests COMMAND icons_core_tests)
npd_set_test_timeout(icons_core_tests 60)
