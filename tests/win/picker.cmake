# Windows tests of the picker subsystem (included from tests/CMakeLists.txt).
