# Sanitizer tests of the icons subsystem's pure code (included from tests/native/CMakeLists.txt).
