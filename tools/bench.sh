#!/usr/bin/env bash
# Runs every benchmark program (*_bench.exe) of the Windows test build inside one Wine session;
# each prints its own medians.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$(tools/test-arch.sh)
shopt -s nullglob
programs=("build/$arch"/*_bench.exe)
if [ ${#programs[@]} -eq 0 ]; then
    echo "no benchmark programs in build/$arch; run make build first" >&2
    exit 1
fi
# shellcheck disable=SC2016
tools/wine-session.sh "build/$arch" "$arch" bash -c '
    for program in "$@"; do
        echo "== $(basename "$program")"
        tools/wine-exec "$program"
    done' bench "${programs[@]}"
