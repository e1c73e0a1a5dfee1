# Sanitizer tests of the catalogue subsystem's pure code (included from tests/native/CMakeLists.txt).
