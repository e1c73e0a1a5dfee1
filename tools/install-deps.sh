#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine; returns at once when all is there.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-i686-posix)
command -v i686-w64-mingw32-windres >/dev/null 2>&1 || need+=(binutils-mingw-w64-i686)
command -v wine >/dev/null 2>&1 || need+=(wine)
[ -e /usr/lib/wine/i386-windows/kernel32.dll ] || need+=(wine32:i386)
command -v Xvfb >/dev/null 2>&1 || need+=(xvfb)
command -v xvfb-run >/dev/null 2>&1 || need+=(xvfb)
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v make >/dev/null 2>&1 || need+=(make)
command -v g++ >/dev/null 2>&1 || need+=(g++)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ ${#need[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror in the middle of a sync fails one index now and then; what was fetched still serves.
$SUDO apt-get update -qq || { sleep 5; $SUDO apt-get update -qq || true; }
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
