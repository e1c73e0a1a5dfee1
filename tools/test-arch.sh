#!/usr/bin/env bash
# Prints the Windows whose programs run directly here: win32 where 32-bit programs run, else
# win64. make demo uses it; make test runs the 32-bit tests in the x86 guest where needed.
if "$(dirname "$0")/can-run-i386.sh"; then echo win32; else echo win64; fi
