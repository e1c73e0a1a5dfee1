#!/usr/bin/env bash
# Builds the module for 32-bit Windows, the tests for the Windows this machine can run, and the
# native sanitizer build of the code that makes no Win32 call.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

test_arch=$(tools/test-arch.sh)
product=$(pwd)/build/win32/npDesklaunch.dll

configure() { # folder toolchain tests
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="cmake/$2.cmake" \
        -DNPD_BUILD_TESTS="$3" -DNPD_PRODUCT_MODULE="$product" >/dev/null
}

configure build/win32 mingw-i686 "$([ "$test_arch" = win32 ] && echo ON || echo OFF)"
cmake --build build/win32 -j"$jobs"
if [ "$test_arch" = win64 ]; then
    configure build/win64 mingw-x86_64 ON
    cmake --build build/win64 -j"$jobs"
fi
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DNPD_PRODUCT_MODULE="$product" >/dev/null
cmake --build build/native -j"$jobs"
