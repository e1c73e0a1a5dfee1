#!/usr/bin/env bash
# Builds the installer package build/package/npDesklaunch-<version>.msi from package/npDesklaunch.wxs
# with wixl, around build/win32/npDesklaunch.dll, the native messaging host desklaunch-host.exe
# built beside it (so the host of a 64-bit module's build for x64), the host's manifests of
# package/messaging_host and the Group Policy template of package/policy; the version is the one
# in src/common/product_version.h.
# With SIGN_CERT and SIGN_KEY (PEM certificate and private key; SIGN_PASS if the key is
# encrypted) it signs the module and the host, then the package, with osslsigncode.
#   tools/package.sh [MODULE [PLATFORM [OUTPUT_DIR]]]     PLATFORM: x86 (default) or x64
# NPD_PACKAGE_VERSION overrides the version; the package tests use it to make an older package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
module=$(realpath "${1:-$root/build/win32/npDesklaunch.dll}")
platform=${2:-x86}
out=${3:-$root/build/package}

version_part() {
    sed -n "s/^#define NPD_VERSION_$1 \\([0-9][0-9]*\\)\$/\\1/p" "$root/src/common/product_version.h"
}
version=${NPD_PACKAGE_VERSION:-$(version_part MAJOR).$(version_part MINOR).$(version_part PATCH).$(version_part BUILD)}
if ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "package: no version in src/common/product_version.h (got \"$version\")" >&2
    exit 1
fi
[ -f "$module" ] || { echo "package: no module at $module; run make build first" >&2; exit 1; }
host=$(dirname "$module")/desklaunch-host.exe
[ -f "$host" ] || { echo "package: no messaging host at $host; run make build first" >&2; exit 1; }

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d "$out/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT
msi="$out/npDesklaunch-$version.msi"

cp "$module" "$stage/npDesklaunch.dll"
cp "$host" "$stage/desklaunch-host.exe"
cp "$root"/package/messaging_host/com.corvid.desklaunch.*.json "$stage/"
cp "$root/package/policy/npDesklaunch.admx" "$root/package/policy/en-US/npDesklaunch.adml" "$stage/"
signing=
if [ -n "${SIGN_CERT:-}" ] || [ -n "${SIGN_KEY:-}" ]; then
    [ -n "${SIGN_CERT:-}" ] && [ -n "${SIGN_KEY:-}" ] || {
        echo "package: signing needs both SIGN_CERT and SIGN_KEY" >&2
        exit 1
    }
    signing=yes
fi

sign() { # in out
    local pass=()
    [ -n "${SIGN_PASS:-}" ] && pass=(-pass "$SIGN_PASS")
    osslsigncode sign -certs "$SIGN_CERT" -key "$SIGN_KEY" "${pass[@]}" -h sha256 \
        -n "npDesklaunch" -in "$1" -out "$2" >/dev/null
}

if [ -n "$signing" ]; then
    for program in npDesklaunch.dll desklaunch-host.exe; do
        sign "$stage/$program" "$stage/signed"
        mv "$stage/signed" "$stage/$program"
    done
fi

# wixl looks files up relative to the folder it runs in.
(cd "$stage" && wixl -a "$platform" -D Version="$version" -D ModuleFile=npDesklaunch.dll \
    -D HostFile=desklaunch-host.exe -D ChromiumManifestFile=com.corvid.desklaunch.chromium.json \
    -D FirefoxManifestFile=com.corvid.desklaunch.firefox.json \
    -D PolicyFile=npDesklaunch.admx -D PolicyTextFile=npDesklaunch.adml \
    -D Platform="$platform" -o package.msi "$root/package/npDesklaunch.wxs")
# What wixl cannot write: it gives HKMU root 4 where Windows Installer wants -1 (HKEY_CURRENT_USER
# per user, HKEY_LOCAL_MACHINE per machine); it makes every custom action deferred (2099), and
# the property assignments here must be immediate (51); it has no component conditions and no
# LockPermissions.
msibuild "$stage/package.msi" \
    -q "UPDATE \`Registry\` SET \`Root\` = -1 WHERE \`Root\` = 4" \
    -q "UPDATE \`CustomAction\` SET \`Type\` = 51 WHERE \`Type\` = 2099" \
    -q "UPDATE \`Component\` SET \`Condition\` = 'ALLUSERS=1' WHERE \`Component\` = 'ImagesFolder'" \
    -i "$root/package/LockPermissions.idt"

if [ -n "$signing" ]; then
    sign "$stage/package.msi" "$msi"
    echo "package: $msi (module, host and package signed)"
else
    mv "$stage/package.msi" "$msi"
    echo "package: $msi (not signed: set SIGN_CERT and SIGN_KEY to sign)"
fi
