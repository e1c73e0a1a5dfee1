# The module is built with the win32 thread model; the NPAPI host, the tools that link it and the
# tests with the posix model's compiler of the same version, because GoogleTest needs
# std::mutex, which the win32 model's C++ runtime lacks. They link the module's libraries as the
# module's compiler built them. Included by the folders that build them.
set(posix_threads ${PROJECT_SOURCE_DIR}/cmake/posix-threads.sh)
set(CMAKE_C_COMPILER_LAUNCHER ${posix_threads})
set(CMAKE_CXX_COMPILER_LAUNCHER ${posix_threads})
set(CMAKE_C_LINKER_LAUNCHER ${posix_threads})
set(CMAKE_CXX_LINKER_LAUNCHER ${posix_threads})
