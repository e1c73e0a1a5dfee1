#!/usr/bin/env bash
# Boots the x86 test guest under full-system emulation, runs one shell command in it and returns
# that command's exit status. The guest's console comes out on this script's output.
#   tools/guest/run.sh [--writable] IMAGE_DIR WORK_TREE COMMAND
# IMAGE_DIR holds vmlinuz, initrd.img and root.img (tools/guest/image.sh makes it). WORK_TREE is
# shared over 9p and mounted at the same path in the guest, where COMMAND starts. The root image
# is opened as a snapshot, so nothing the command writes there outlives the run, unless
# --writable is given (the image build uses it once, to keep the Wine prefix).
# NPD_GUEST_TIME_LIMIT (seconds, default 3600) ends a guest that never powers off.
set -euo pipefail

snapshot=on
if [ "${1:-}" = --writable ]; then
    snapshot=off
    shift
fi
[ $# -eq 3 ] || {
    echo "usage: $0 [--writable] IMAGE_DIR WORK_TREE COMMAND" >&2
    exit 2
}
image=$(cd "$1" && pwd)
work=$(cd "$2" && pwd)
command=$3

qemu=$(command -v qemu-system-x86_64 || true)
if [ -z "$qemu" ]; then
    echo "guest: qemu-system-x86_64 is missing (Debian package qemu-system-x86)" >&2
    exit 125
fi
for file in vmlinuz initrd.img root.img; do
    if [ ! -f "$image/$file" ]; then
        echo "guest: $image/$file is missing; tools/guest/image.sh builds the guest" >&2
        exit 125
    fi
done
case "$work" in *[[:space:]]*)
    echo "guest: the work tree's path has white space, which the kernel command line cannot carry: $work" >&2
    exit 125
    ;;
esac

control=$(mktemp -d "${TMPDIR:-/tmp}/npd-guest.XXXXXX")
trap 'rm -rf "$control"' EXIT
printf '%s\n' "$command" >"$control/command"

# QEMU 7.2's default "max" processor has SMAP, under which the guest kernel faults on the iret
# that returns to 32-bit Wine code; without SMAP 32-bit Wine runs.
set +e
timeout --kill-after=30 "${NPD_GUEST_TIME_LIMIT:-3600}" "$qemu" \
    -nodefaults -no-user-config -no-reboot \
    -machine pc -accel tcg,thread=multi -cpu max,-smap -smp 2 -m 4096 \
    -display none -chardev stdio,id=console,signal=on -serial chardev:console \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
    -append "console=ttyS0 root=/dev/vda rw rootfstype=ext4 init=/sbin/npd-init quiet loglevel=3 panic=-1 npd.work=$work" \
    -drive "file=$image/root.img,format=raw,if=virtio,snapshot=$snapshot,cache=unsafe" \
    -virtfs "local,path=$control,mount_tag=npd-control,security_model=none,id=control" \
    -virtfs "local,path=$work,mount_tag=npd-work,security_model=none,id=work" \
    </dev/null | sed -u 's/\r$//'
qemu_status=${PIPESTATUS[0]}
set -e

if [ "$qemu_status" -eq 124 ] || [ "$qemu_status" -eq 137 ]; then
    echo "guest: no power-off within ${NPD_GUEST_TIME_LIMIT:-3600} s; the guest was stopped" >&2
    exit 124
fi
if [ "$qemu_status" -ne 0 ]; then
    echo "guest: QEMU failed (exit status $qemu_status)" >&2
    exit 125
fi
if [ ! -s "$control/status" ]; then
    echo "guest: the guest stopped without reporting the command's status (see its console above)" >&2
    exit 125
fi
exit "$(cat "$control/status")"
