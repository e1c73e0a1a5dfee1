#!/bin/sh
# Runs a Windows test program with two small disks mapped as drives of the Wine session:
#   T:  a tiny writable disk (tmpfs) with a copy of the module in T:\plugin and room for little
#       more; the program itself fills it to the byte count it needs;
#   U:  a read-only disk with a copy of the module in U:\plugin, where no folder can be made.
# Both are unmounted and unmapped when the program ends, however it ends: a guard in a session
# of its own does it should this script be killed.
#   small_disks.sh MODULE PROGRAM [ARGS...]      (inside tools/wine-session.sh)
# Exit status: the program's; 77 when this machine lets this user mount nothing.
set -u
module=$1
shift
[ -n "${WINEPREFIX:-}" ] && [ -n "${NPD_WINE_LOADER:-}" ] || {
    echo "small_disks: no Wine session; run inside tools/wine-session.sh" >&2
    exit 2
}
devices=$WINEPREFIX/dosdevices
base=$(mktemp -d "${TMPDIR:-/tmp}/npd-disks.XXXXXX") || exit 2
tiny=$base/tiny
readonly_disk=$base/readonly
mkdir -p "$tiny" "$readonly_disk"

undo="umount -l '$tiny' 2>/dev/null; umount -l '$readonly_disk' 2>/dev/null;
      rm -f '$devices/t:' '$devices/u:'; rmdir '$tiny' '$readonly_disk' '$base' 2>/dev/null"
cleanup() { eval "$undo"; }
trap cleanup EXIT
trap 'exit 143' TERM INT HUP
# The guard: waits for this script to end, then undoes whatever is left.
setsid sh -c "while kill -0 $$ 2>/dev/null; do sleep 1; done; $undo" </dev/null >/dev/null 2>&1 &

if ! mount -t tmpfs -o size=64k,mode=0755 npd-probe "$tiny" 2>/dev/null; then
    echo "small_disks: this machine lets $(id -un) mount no file system; the test is skipped" >&2
    exit 77
fi
umount "$tiny"

# Room for the module and 16 pages more; the program fills what it does not need.
module_bytes=$(stat -c %s "$module")
tiny_bytes=$(((module_bytes / 4096 + 17) * 4096))
mount -t tmpfs -o "size=$tiny_bytes,mode=0755" npd-tiny "$tiny" &&
    mkdir "$tiny/plugin" && cp "$module" "$tiny/plugin/" &&
    mount -t tmpfs -o size=4m,mode=0755 npd-readonly "$readonly_disk" &&
    mkdir "$readonly_disk/plugin" && cp "$module" "$readonly_disk/plugin/" &&
    mount -o remount,ro "$readonly_disk" || {
    echo "small_disks: the disks could not be made" >&2
    exit 2
}
rm -f "$devices/t:" "$devices/u:"
ln -s "$tiny" "$devices/t:" && ln -s "$readonly_disk" "$devices/u:" || exit 2

"$NPD_WINE_LOADER" "$@"
status=$?
cleanup
trap - EXIT
exit "$status"
