#!/bin/bash
# PID 1 of the test guest: mounts what the tests need, runs the one command that the host left in
# the control folder, writes its exit status there and powers the machine off. No service starts.
# Kernel command line: npd.work=PATH (the host's work tree, mounted at the same path).
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
export HOME=/root LANG=C.UTF-8

work=
for word in $(cat /proc/cmdline 2>/dev/null); do
    case "$word" in npd.work=*) work=${word#npd.work=} ;; esac
done

say() { echo "guest: $*" >/dev/console; }

halt_now() {
    sync
    umount -a -t 9p 2>/dev/null
    mount -o remount,ro / 2>/dev/null
    sync
    echo o >/proc/sysrq-trigger
    sleep 30
}

mountpoint -q /proc || mount -t proc proc /proc
mountpoint -q /sys || mount -t sysfs sys /sys
mountpoint -q /dev || mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mountpoint -q /dev/pts || mount -t devpts devpts /dev/pts
mountpoint -q /dev/shm || mount -t tmpfs shm /dev/shm
mountpoint -q /run || mount -t tmpfs run /run
mountpoint -q /tmp || mount -t tmpfs tmp /tmp
hostname npd-guest

modprobe -q 9pnet_virtio 2>/dev/null
modprobe -q 9p 2>/dev/null
control=/run/npd-control
mkdir -p "$control"
share() { # tag folder cache-mode
    mount -t 9p -o "trans=virtio,version=9p2000.L,msize=1048576,cache=$3" "$1" "$2"
}
if ! share npd-control "$control" none; then
    say "the control folder (9p tag npd-control) could not be mounted"
    halt_now
fi
if [ -n "$work" ]; then
    mkdir -p "$work"
    # Wine maps the programs it loads; without the page cache, pages mapped from a 9p file read
    # as zeros. The host leaves the tree alone while the guest runs, so caching is safe.
    if ! share npd-work "$work" loose; then
        say "the work tree (9p tag npd-work) could not be mounted at $work"
        echo 125 >"$control/status"
        halt_now
    fi
fi

# The Wine prefix made once when the image was built; the snapshot discards what a run changes.
[ -d /var/lib/npdesklaunch/wineprefix ] && export NPD_WINEPREFIX=/var/lib/npdesklaunch/wineprefix
cd "${work:-/}" || true
bash "$control/command" </dev/null >/dev/console 2>&1
echo $? >"$control/status"
halt_now
