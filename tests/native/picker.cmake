# Sanitizer tests of the picker subsystem's pure code (included from tests/native/CMakeLists.txt).
npd_add_native_test(picker_core_tests picker_rules_test.cpp LIBRARIES npd_picker)
