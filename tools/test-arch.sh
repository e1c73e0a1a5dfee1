#!/usr/bin/env bash
# Prints the Windows the tests run on here: win32 where 32-bit programs run, else win64, where
# the same tests run against the module built for 64-bit Windows.
if "$(dirname "$0")/can-run-i386.sh"; then echo win32; else echo win64; fi
