#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine; returns at once when all
# is there. 32-bit Wine is installed only where the kernel runs 32-bit programs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

missing() {
    local need=()
    command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-i686-posix)
    command -v i686-w64-mingw32-windres >/dev/null 2>&1 || need+=(binutils-mingw-w64-i686)
    command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-x86-64-posix)
    command -v x86_64-w64-mingw32-windres >/dev/null 2>&1 || need+=(binutils-mingw-w64-x86-64)
    [ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
    command -v Xvfb >/dev/null 2>&1 || need+=(xvfb)
    command -v xvfb-run >/dev/null 2>&1 || need+=(xvfb)
    command -v xauth >/dev/null 2>&1 || need+=(xauth)
    command -v cmake >/dev/null 2>&1 || need+=(cmake)
    command -v make >/dev/null 2>&1 || need+=(make)
    command -v g++ >/dev/null 2>&1 || need+=(g++)
    [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
    command -v node >/dev/null 2>&1 || need+=(nodejs)
    command -v chromium >/dev/null 2>&1 || need+=(chromium) # the launcher page's tests and demo
    dpkg -s fonts-wqy-zenhei >/dev/null 2>&1 || need+=(fonts-wqy-zenhei) # Chinese names on it
    [ -x /usr/bin/convert ] || need+=(imagemagick) # the image tool that views stored icons
    if "$here/can-run-i386.sh"; then
        [ -x /usr/lib/wine/wine ] || need+=(wine32:i386)
    elif ! dpkg -s libc6:i386 >/dev/null 2>&1; then
        need+=(libc6:i386) # to find out whether 32-bit programs run here
    fi
    echo "${need[@]}"
}

need=$(missing)
[ -z "$need" ] && exit 0

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi

# A mirror in the middle of a sync may serve an index whose size disagrees with its Release
# file; apt then drops that index, and the i386 packages no longer match the installed amd64
# ones. Such an index is taken from the compressed file that was served.
update() {
    $SUDO apt-get update -qq 2>&1 | grep -v '^W:' || true
    local lists=/var/lib/apt/lists
    for release in "$lists"/deb.debian.org_*_InRelease; do
        [ -e "$release" ] || continue
        local prefix=${release%_InRelease}
        for arch in amd64 i386; do
            [ -e "${prefix}_main_binary-${arch}_Packages" ] && continue
            ls "${prefix}_main_binary-${arch}_Packages".* >/dev/null 2>&1 && continue
            local site=${prefix##*/}
            site=${site//_//}
            local url="http://${site}/main/binary-${arch}/Packages.xz"
            if curl -fsS --max-time 120 -o /tmp/npd-Packages.xz "$url" 2>/dev/null; then
                xz -dc /tmp/npd-Packages.xz | $SUDO tee "${prefix}_main_binary-${arch}_Packages" >/dev/null || true
            fi
        done
    done
}
update

install() {
    # shellcheck disable=SC2086
    $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
# shellcheck disable=SC2086
install $need
if "$here/can-run-i386.sh" && [ ! -x /usr/lib/wine/wine ]; then
    install wine32:i386
fi
