#!/usr/bin/env bash
# Without arguments, the demo (tools/demo/run.sh). With arguments, the command-line host on the
# plug-in: tools/demo.sh METHOD [TEXT] calls that method of its scriptable object.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
    exec tools/demo/run.sh
fi
arch=$(tools/test-arch.sh)
session="tools/wine-session.sh build/$arch $arch"
$session tools/wine-exec "build/$arch/nphost.exe" "build/$arch/npDesklaunch.dll" "$@"
