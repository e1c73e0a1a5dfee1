# Windows tests of the catalogue subsystem (included from tests/CMakeLists.txt).
