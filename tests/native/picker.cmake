# Sanitizer tests of the picker subsystem's pure code (included from tests/native/CMakeLists.txt).
