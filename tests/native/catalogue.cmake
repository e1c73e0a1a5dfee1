# Sanitizer tests of the catalogue subsystem's pure code (included from tests/native/CMakeLists.txt).
npd_add_native_test(catalogue_core_tests
    catalogue/test_support.cpp
    catalogue/entry_rules_test.cpp
    catalogue/folder_expansion_test.cpp
    catalogue/history_rules_test.cpp
    LIBRARIES npd_catalogue npd_icons)

# The blocks of the catalogue text.
npd_add_native_test(catalogue_assembly_tests catalogue_assembly_test.cpp LIBRARIES npd_catalogue)
