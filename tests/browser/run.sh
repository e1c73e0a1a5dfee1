#!/usr/bin/env bash
# The launcher through the extension and desklaunch-host.exe in the real browsers (Debian's
# Chromium and Firefox ESR, headless), the host under this machine's 64-bit Wine.
#   tests/browser/run.sh      exits 77 (skipped) when neither browser is installed
set -euo pipefail
cd "$(dirname "$0")/../.."
if ! command -v chromium >/dev/null 2>&1 && ! command -v firefox-esr >/dev/null 2>&1; then
    echo "SKIPPED: neither Chromium nor Firefox ESR is installed (tools/install-deps.sh installs both)"
    exit 77
fi
trap 'echo "tests/browser/run.sh: \"$BASH_COMMAND\" failed (exit status $?)" >&2' ERR
tools/build-extension.sh >/dev/null
tools/wine-session.sh build/win64 win64 \
    node --experimental-websocket --no-warnings tests/browser/launcher_browser_test.js build/win64
