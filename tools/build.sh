#!/usr/bin/env bash
# Builds the module and the Windows tests for 32-bit Windows (the product, build/win32) and for
# 64-bit Windows (build/win64, the fast suite on 64-bit Wine), and the native sanitizer build of
# the code that makes no Win32 call (build/native). The 32-bit tests are built on every machine,
# whether they run here, in the x86 guest, or not at all (make quick).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
product=$(pwd)/build/win32/npDesklaunch.dll

# Where this kernel runs no 32-bit code, the 32-bit tests run in the emulated guest, where
# Windows code runs about ten times slower: their time limits are scaled to match.
if tools/can-run-i386.sh; then win32_scale=1; else win32_scale=${NPD_GUEST_TIMEOUT_SCALE:-10}; fi

configure() { # folder toolchain timeout-scale
    cmake -S . -B "$1" --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/$2.cmake" -DNPD_BUILD_TESTS=ON \
        -DNPD_TEST_TIMEOUT_SCALE="$3" -DNPD_PRODUCT_MODULE="$product" >/dev/null
}

configure build/win32 mingw-i686 "$win32_scale"
cmake --build build/win32 -j"$jobs"
configure build/win64 mingw-x86_64 1
cmake --build build/win64 -j"$jobs"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug -DNPD_PRODUCT_MODULE="$product" >/dev/null
cmake --build build/native -j"$jobs"
