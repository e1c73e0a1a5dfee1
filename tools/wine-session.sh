#!/usr/bin/env bash
# Runs a command inside this build's own Windows: a private Wine prefix under the build folder,
# an X server at 24-bit depth and a persistent wineserver, all ended when the command ends.
#   tools/wine-session.sh BUILD_DIR ARCH COMMAND...     (ARCH: win32 or win64)
# NPD_WINEPREFIX names a prefix to use instead (the x86 guest has one made in advance);
# NPD_WINEDLLOVERRIDES adds to Wine's DLL overrides.
set -euo pipefail

build=$(cd "$1" && pwd)
arch=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${NPD_IN_XVFB:-}" ]; then
    export NPD_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build" "$arch" "$@"
fi

if [ "$arch" = win64 ]; then
    loader=/usr/lib/wine/wine64
    server=/usr/lib/wine/wineserver64
else
    loader=/usr/lib/wine/wine
    server=/usr/lib/wine/wineserver32
fi
[ -x "$server" ] || server=$(command -v wineserver)

export WINEPREFIX="${NPD_WINEPREFIX:-$build/wineprefix}"
export WINEARCH="$arch"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d${NPD_WINEDLLOVERRIDES:+;$NPD_WINEDLLOVERRIDES}"
export NPD_WINE_LOADER="$loader"

stop() { "$server" -k >/dev/null 2>&1 || true; }
trap stop EXIT

mkdir -p "$WINEPREFIX"
# Boot the prefix with its output detached: the services Wine starts would otherwise hold the
# caller's pipes open.
"$server" -p >/dev/null 2>&1 </dev/null
"$loader" cmd /c exit >/dev/null 2>&1 </dev/null
reg_file="Z:$(echo "$here/../tests/win/app_defaults.reg" | sed 's|/|\\|g')"
"$loader" regedit /S "$reg_file" >/dev/null 2>&1 </dev/null
"$@"
