#!/usr/bin/env bash
# Runs every test: the native sanitizer build, then the Windows tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$(tools/test-arch.sh)
if [ "$arch" = win64 ]; then
    echo "note: this kernel runs no 32-bit programs; the Windows tests run on 64-bit Wine" \
        "against the module built for 64-bit Windows, and the 32-bit module is checked as a file."
fi
ctest --test-dir build/native --output-on-failure
tools/wine-session.sh "build/$arch" "$arch" ctest --test-dir "build/$arch" --output-on-failure
tests/package/package_test.sh
