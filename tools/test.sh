#!/usr/bin/env bash
# Runs every test: the native sanitizer build; the Windows tests built for x86_64 on this
# machine's 64-bit Wine; then the same Windows tests built for i686 against the shipped 32-bit
# module, on 32-bit Wine: here where this kernel runs 32-bit programs, else in the emulated x86
# guest (tools/guest); the launcher in the real browsers through the extension and the messaging
# host; the installer package. Every suite runs even when an earlier one fails; any failure fails
# the run, and a suite that cannot run here (exit status 77) is skipped, saying why.
# The suites are the test presets of CMakePresets.json.
#   tools/test.sh [--quick]    --quick leaves out the 32-bit suite where it needs the guest
set -uo pipefail
cd "$(dirname "$0")/.."

quick=
[ "${1:-}" = --quick ] && quick=1

host_wine=$(/usr/lib/wine/wine64 --version 2>/dev/null || echo "Wine")
results=()
failed=0

run_suite() { # title command...
    local title=$1
    shift
    echo
    echo "==== $title"
    local start=$SECONDS
    "$@"
    local status=$?
    local verdict=passed
    if [ "$status" -eq 77 ]; then
        verdict="skipped (see above)"
    elif [ "$status" -ne 0 ]; then
        verdict="FAILED (exit status $status)"
        failed=1
    fi
    results+=("$(printf '%-9s %4d s  %s' "${verdict%% *}" $((SECONDS - start)) "$title")")
    echo "==== $title: $verdict in $((SECONDS - start)) s"
}

run_suite "native sanitizer tests on this machine (build/native)" \
    ctest --preset native

run_suite "Windows tests, x86_64 build, on 64-bit $host_wine on this machine (build/win64)" \
    tools/wine-session.sh build/win64 win64 ctest --preset win64

win32_title="Windows tests, i686 build against the shipped build/win32/npDesklaunch.dll"
win32_tests="tools/wine-session.sh build/win32 win32 ctest --preset win32"
if tools/can-run-i386.sh; then
    run_suite "$win32_title, on 32-bit $(/usr/lib/wine/wine --version 2>/dev/null || echo Wine) on this machine" \
        $win32_tests
elif [ -n "$quick" ]; then
    echo
    echo "==== $win32_title: left out (quick run; this kernel runs no 32-bit programs, make test runs them in the x86 guest)"
    results+=("$(printf '%-9s %4s    %s' skipped - "$win32_title (quick run)")")
else
    in_guest() {
        local image
        image=$(tools/guest/image.sh) || return 1
        # The guest says which Windows it is before the tests run. A crash there ends the program
        # instead of waiting in Wine's debugger.
        tools/guest/run.sh "$image" . \
            'echo "guest: QEMU x86 guest, Debian $(cat /etc/debian_version), kernel $(uname -r), $(/usr/lib/wine/wine --version) (32-bit)"
             export NPD_WINEDLLOVERRIDES=winedbg.exe=d
             '"$win32_tests -LE build_machine" || return
        # Tests that read what the Windows tests left, with this machine's own tools.
        ctest --preset win32 -L build_machine --fixture-exclude-setup .
    }
    run_suite "$win32_title, on 32-bit Wine in the emulated x86 guest (QEMU, Debian 12; this kernel runs no 32-bit programs)" \
        in_guest
fi

run_suite "launcher in headless Chromium and Firefox ESR, extension and host on 64-bit Wine (tests/browser)" \
    tests/browser/run.sh

run_suite "installer package under 64-bit Wine's msiexec (tests/package)" \
    tests/package/package_test.sh

echo
echo "==== summary"
printf '  %s\n' "${results[@]}"
nfailed=$(printf '%s\n' "${results[@]}" | grep -c '^FAILED')
npassed=$(printf '%s\n' "${results[@]}" | grep -c '^passed')
nskipped=$(printf '%s\n' "${results[@]}" | grep -c '^skipped')
echo "suites: $npassed passed, $nfailed failed, $nskipped skipped"
exit "$failed"
