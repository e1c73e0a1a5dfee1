#!/usr/bin/env bash
# Makes the x86 test guest, where 32-bit Windows programs run under 32-bit Wine on machines whose
# kernel runs no 32-bit code, and prints its folder (vmlinuz, initrd.img, root.img) on the last
# line. The guest is Debian 12 for amd64 with Wine for i386, built from Debian's packages and
# cached outside the work tree, keyed by a hash of this recipe: a run whose recipe is cached
# returns at once. One progress line per step goes to standard error.
#   NPD_GUEST_CACHE   where guests are kept (default /var/cache/npdesklaunch/guest)
#   NPD_GUEST_MIRROR  the Debian archive (default http://deb.debian.org/debian)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${NPD_GUEST_CACHE:-/var/cache/npdesklaunch/guest}
mirror=${NPD_GUEST_MIRROR:-http://deb.debian.org/debian}
suite=bookworm
packages=(linux-image-amd64 initramfs-tools kmod mount wine wine64 wine32:i386 xvfb xauth cmake)
steps=7

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo
fail() {
    echo "guest: error: $*" >&2
    exit 1
}
step() { echo "guest: [$1/$steps] $2" >&2; }

# The recipe: this script, the guest's init and the archive it takes packages from.
key=$(cat "$here/image.sh" "$here/init.sh" <(echo "$mirror") | sha256sum | cut -c1-16)
target=$cache/$key
if [ -f "$target/ready" ]; then
    touch "$target/ready" 2>/dev/null || true # in use: kept when old guests are dropped
    echo "$target"
    exit 0
fi

step 1 "host tools: QEMU, mmdebstrap, e2fsprogs"
need=()
command -v qemu-system-x86_64 >/dev/null 2>&1 || need+=(qemu-system-x86)
command -v mmdebstrap >/dev/null 2>&1 || need+=(mmdebstrap)
command -v mkfs.ext4 >/dev/null 2>&1 || need+=(e2fsprogs)
command -v curl >/dev/null 2>&1 || need+=(curl)
if [ ${#need[@]} -gt 0 ]; then
    $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null 2>&1 ||
        { $SUDO apt-get update -qq >/dev/null 2>&1 &&
            $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null; } ||
        fail "could not install ${need[*]} with apt-get; QEMU and mmdebstrap are needed to build and boot the guest"
fi
command -v qemu-system-x86_64 >/dev/null 2>&1 || fail "qemu-system-x86_64 is missing after installing qemu-system-x86"

$SUDO mkdir -p "$cache" || fail "cannot create the guest cache $cache"
exec 9>"$cache/lock"
if ! flock -n 9; then
    echo "guest: another build of the guest is running; waiting for it" >&2
    flock 9
fi
if [ -f "$target/ready" ]; then # built while this one waited
    echo "$target"
    exit 0
fi

step 2 "checks: free space under $cache, the archive $mirror"
free_kb=$(df -Pk "$cache" | awk 'NR == 2 { print $4 }')
[ "$free_kb" -ge $((8 * 1024 * 1024)) ] ||
    fail "no space: $((free_kb / 1024)) MB free under $cache, the guest needs 8 GB while it is built"
curl -fsS --max-time 60 -o /dev/null "$mirror/dists/$suite/Release" 2>/dev/null ||
    fail "the Debian archive is unreachable: $mirror/dists/$suite/Release could not be fetched"

work=$cache/$key.partial
$SUDO rm -rf "$work"
mkdir -p "$work"
root=$work/root
log=$work/mmdebstrap.log

step 3 "guest root: Debian $suite amd64 + i386 (${packages[*]}); about 400 MB to download"
# The security suite is left out: the guest has no network, and that suite has been seen to serve
# an i386 index whose size disagrees with its Release file.
if ! $SUDO mmdebstrap --mode=root --variant=apt --architectures=amd64,i386 \
    --include="$(
        IFS=,
        echo "${packages[*]}"
    )" \
    --dpkgopt='path-exclude=/usr/share/doc/*' --dpkgopt='path-exclude=/usr/share/man/*' \
    --dpkgopt='path-exclude=/usr/share/info/*' --dpkgopt='path-exclude=/usr/share/locale/*' \
    --dpkgopt='path-include=/usr/share/locale/locale.alias' \
    --aptopt='Acquire::Retries "3"' \
    "$suite" "$root" "deb $mirror $suite main" "deb $mirror $suite-updates main" >"$log" 2>&1; then
    if grep -qiE 'no space left|ENOSPC' "$log"; then
        fail "no space left under $cache while building the guest root (log: $log)"
    elif grep -qiE 'failed to fetch|could not resolve|temporary failure|connection (timed out|refused)|unable to connect' "$log"; then
        fail "the Debian archive $mirror could not be read while building the guest root: $(grep -iE 'failed to fetch|could not resolve|temporary failure|connection' "$log" | head -1) (log: $log)"
    fi
    fail "mmdebstrap failed: $(tail -n 3 "$log" | tr '\n' ' ') (log: $log)"
fi

step 4 "trim: drop the package caches and the kernel modules a headless virtio guest never loads"
modules=$(echo "$root"/lib/modules/*)
[ -d "$modules" ] || fail "the guest root has no kernel modules under /lib/modules"
for tree in drivers/gpu drivers/net drivers/media drivers/infiniband drivers/staging drivers/usb \
    drivers/iio drivers/isdn drivers/mtd drivers/nfc drivers/bluetooth drivers/thunderbolt \
    drivers/scsi drivers/hid drivers/md drivers/hwmon drivers/atm drivers/mmc drivers/watchdog \
    drivers/video drivers/platform drivers/misc sound net/wireless net/bluetooth net/mac80211; do
    $SUDO rm -rf "${modules:?}/kernel/$tree"
done
$SUDO rm -rf "$root"/var/cache/apt/*.bin "$root"/var/lib/apt/lists/* "$root"/var/cache/apt/archives/*.deb
$SUDO install -m 0755 "$here/init.sh" "$root/sbin/npd-init"
$SUDO cp "$(readlink -f "$root/vmlinuz")" "$work/vmlinuz"
$SUDO cp "$(readlink -f "$root/initrd.img")" "$work/initrd.img"

step 5 "image: ext4 file system made from the guest root"
size_mb=$(($($SUDO du -sxm "$root" | cut -f1) * 5 / 4 + 1024))
truncate -s "${size_mb}M" "$work/root.img"
$SUDO mkfs.ext4 -q -F -L npd-guest -d "$root" "$work/root.img" >>"$log" 2>&1 ||
    fail "mkfs.ext4 could not make the image: $(tail -n 2 "$log" | tr '\n' ' ') (log: $log)"
$SUDO rm -rf "$root"

step 6 "Wine prefix: a 32-bit prefix made once in the guest and kept in the image"
prefix_command='set -e
export WINEPREFIX=/var/lib/npdesklaunch/wineprefix WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
mkdir -p "$WINEPREFIX"
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh -c "wine wineboot --init && wineserver -w"
test -f "$WINEPREFIX/system.reg"
echo "guest: $(wine --version), kernel $(uname -r)"'
"$here/run.sh" --writable "$work" "$work" "$prefix_command" >>"$log" 2>&1 ||
    fail "the 32-bit Wine prefix could not be made in the guest: $(tail -n 3 "$log" | tr '\n' ' ') (log: $log)"

step 7 "boot check: 32-bit Wine runs in the snapshot guest"
"$here/run.sh" "$work" "$work" 'WINEPREFIX=$NPD_WINEPREFIX WINEDEBUG=-all wine cmd /c echo ok' >>"$log" 2>&1 ||
    fail "32-bit Wine does not run in the guest: $(tail -n 3 "$log" | tr '\n' ' ') (log: $log)"

touch "$work/ready"
$SUDO rm -rf "$target"
mv "$work" "$target"
# Guests unused for three days are dropped (other work trees may use other recipes meanwhile).
find "$cache" -mindepth 2 -maxdepth 2 -name ready -mtime +3 -printf '%h\0' | xargs -0 -r $SUDO rm -rf
echo "$target"
