# Sanitizer tests of the catalogue subsystem's pure code (included from tests/native/CMakeLists.txt).
add_executable(catalogue_core_tests
    catalogue/test_support.cpp
    catalogue/entry_rules_test.cpp
    catalogue/folder_expansion_test.cpp
    catalogue/history_rules_test.cpp
)
target_link_libraries(catalogue_core_tests PRIVATE npd_core gtest_main)
target_compile_options(catalogue_core_tests PRIVATE -Wall -Wextra -Werror)
add_test(NAME catalogue_core_tests COMMAND catalogue_core_tests)
npd_set_test_timeout(catalogue_core_tests 60)

# The blocks of the catalogue text.
add_executable(catalogue_assembly_tests catalogue_assembly_test.cpp)
target_link_libraries(catalogue_assembly_tests PRIVATE npd_core gtest_main)
target_compile_options(catalogue_assembly_tests PRIVATE -Wall -Wextra -Werror)
add_test(NAME catalogue_assembly_tests COMMAND catalogue_assembly_tests)
npd_set_test_timeout(catalogue_assembly_tests 60)
