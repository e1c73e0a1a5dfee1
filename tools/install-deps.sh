#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine; returns at once when all
# is there. 32-bit Wine is installed only where the kernel runs 32-bit programs. Run by a user
# other than root, it installs nothing: it prints the command that root has to run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# One line per need: a command (or file) to look for, and the package that brings it.
# Engineers add their own packages here.
requirements() {
    cat <<'LIST'
i686-w64-mingw32-g++-win32     g++-mingw-w64-i686-win32
i686-w64-mingw32-g++-posix     g++-mingw-w64-i686-posix
i686-w64-mingw32-windres       binutils-mingw-w64-i686
x86_64-w64-mingw32-g++-win32   g++-mingw-w64-x86-64-win32
x86_64-w64-mingw32-g++-posix   g++-mingw-w64-x86-64-posix
x86_64-w64-mingw32-windres     binutils-mingw-w64-x86-64
/usr/lib/wine/wine64           wine64
/usr/bin/wine                  wine
Xvfb                           xvfb
xvfb-run                       xvfb
xauth                          xauth
cmake                          cmake
make                           make
g++                            g++
clang++                        clang
/usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a libclang-rt-14-dev
/usr/src/googletest/CMakeLists.txt googletest
/usr/include/nlohmann/json.hpp nlohmann-json3-dev
/usr/bin/convert               imagemagick
node                           nodejs
chromium                       chromium
firefox-esr                    firefox-esr
zip                            zip
unzip                          unzip
/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc fonts-wqy-zenhei
wixl                           wixl
msibuild                       msitools
osslsigncode                   osslsigncode
xmllint                        libxml2-utils
LIST
}

present() {
    case $1 in
    /*) [ -e "$1" ] ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
    esac
}

need=()
while read -r what package; do
    [ -n "$what" ] || continue
    present "$what" && continue
    case " ${need[*]-} " in *" $package "*) ;; *) need+=("$package") ;; esac
done < <(requirements)

i386_wine=no
if "$here/can-run-i386.sh" && [ ! -x /usr/lib/wine/wine ]; then
    i386_wine=yes
    need+=(wine32:i386)
fi

[ ${#need[@]} -eq 0 ] && exit 0

apt_options=(-o Acquire::Retries=5 -o Acquire::By-Hash=force -o DPkg::Lock::Timeout=600)
commands=()
if [ "$i386_wine" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    commands+=("dpkg --add-architecture i386")
fi
commands+=("apt-get ${apt_options[*]} update")
commands+=("DEBIAN_FRONTEND=noninteractive apt-get ${apt_options[*]} install -y --no-install-recommends ${need[*]}")

if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages: ${need[*]}" >&2
    echo "install-deps: as root, run:" >&2
    for command in "${commands[@]}"; do
        echo "    $command" >&2
    done
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
for command in "${commands[@]}"; do
    # apt-get update answers 0 even when a source could not be fetched: its warnings say so.
    if ! output=$(eval "$command" 2>&1) || grep -qE '^(W|E): (Failed to fetch|Some index files failed)' <<<"$output"; then
        echo "$output" >&2
        echo "install-deps: '$command' failed (output above): the package archive could not" \
            "be reached, or refused a package. Nothing more was installed." >&2
        exit 1
    fi
done
