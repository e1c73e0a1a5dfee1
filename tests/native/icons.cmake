# Sanitizer tests of the icons subsystem's pure code (included from tests/native/CMakeLists.txt).
npd_add_native_test(icons_core_tests bitmap_layout_test.cpp bitmap_pixels_test.cpp
    icon_paths_test.cpp LIBRARIES npd_icons)
