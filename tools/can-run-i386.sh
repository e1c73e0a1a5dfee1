#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 Linux programs, which 32-bit Wine needs.
[ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
