# Windows tests of the icons subsystem (included from tests/CMakeLists.txt).
