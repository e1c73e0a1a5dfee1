#!/usr/bin/env bash
# Builds the module and the Windows tests for 32-bit Windows (the product, build/win32) and for
# 64-bit Windows (build/win64, the fast suite on 64-bit Wine), and the native sanitizer build of
# the code that makes no Win32 call (build/native): the presets of CMakePresets.json. The 32-bit
# tests are built on every machine, whether they run here, in the x86 guest, or not at all
# (make quick).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# Where this kernel runs no 32-bit code, the 32-bit tests run in the emulated guest, where
# Windows code runs about ten times slower: their time limits are scaled to match.
if tools/can-run-i386.sh; then win32_scale=1; else win32_scale=${NPD_GUEST_TIMEOUT_SCALE:-10}; fi

for preset in win32 win64 native; do
    scale=1
    [ "$preset" = win32 ] && scale=$win32_scale
    cmake --preset "$preset" --no-warn-unused-cli -DNPD_TEST_TIMEOUT_SCALE="$scale" >/dev/null
    cmake --build --preset "$preset" -j"$jobs"
done
