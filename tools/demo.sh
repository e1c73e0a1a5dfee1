#!/usr/bin/env bash
# Shows the plug-in scan and the scriptable object through the command-line host.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$(tools/test-arch.sh)
session="tools/wine-session.sh build/$arch $arch"
$session tools/wine-exec "build/$arch/nphost.exe" "build/$arch/npDesklaunch.dll" "$@"
