#!/usr/bin/env bash
# Exit 0 when this machine runs 32-bit x86 Linux programs, which 32-bit Wine needs. Asks the
# kernel directly with a minimal static 32-bit program (it only exits with status 0), so that
# nothing has to be installed or changed to find out.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/npd-i386-probe.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header (52 bytes), one loadable segment (32 bytes), then: xor eax,eax; inc eax;
# xor ebx,ebx; int 0x80 (exit(0)).
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$probe"
printf '\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\133\000\000\000\133\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\061\300\100\061\333\315\200' >>"$probe"
chmod +x "$probe"
"$probe" >/dev/null 2>&1
