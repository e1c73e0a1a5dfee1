#!/bin/sh
# Compiler launcher of the test programs: runs the posix thread model's variant of the
# MinGW-w64 compiler that CMake chose (...-win32), with the same arguments.
compiler=$1
shift
case $compiler in
*-win32) exec "${compiler%-win32}-posix" "$@" ;;
*) exec "$compiler" "$@" ;;
esac
