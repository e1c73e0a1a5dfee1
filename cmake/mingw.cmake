# Cross-compiles for Windows with MinGW-w64 for the processor NPD_MINGW_ARCH, with the win32
# thread model: the module's own. Test programs switch to the posix model's compiler of the
# same version (tests/CMakeLists.txt, cmake/posix-threads.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${NPD_MINGW_ARCH})
set(CMAKE_C_COMPILER ${NPD_MINGW_ARCH}-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER ${NPD_MINGW_ARCH}-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER ${NPD_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${NPD_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
