#!/usr/bin/env bash
# Installer package tests: builds test packages with tools/package.sh and installs, upgrades,
# repairs and removes them with Wine's msiexec in a private prefix (build/package/test), then
# checks the files and registry values that each step leaves.
#   tests/package/package_test.sh        (make test runs it; about half a minute)
# The packages hold the module built for the Windows that runs the tests here (tools/test-arch.sh),
# so that the NPAPI host can load the installed module.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$root/build/package/test

failures=0
checks=0

pass() { checks=$((checks + 1)); }
fail() { # what expected got
    checks=$((checks + 1))
    failures=$((failures + 1))
    printf 'FAILED: %s\n  expected: %s\n  got:      %s\n' "$1" "$2" "$3"
}
expect_eq() { # what expected got
    if [ "$2" = "$3" ]; then pass; else fail "$@"; fi
}

section() { echo "== $1 (at ${SECONDS}s)"; }

if [ -z "${NPD_WINE_LOADER:-}" ]; then
    arch=$("$root/tools/test-arch.sh")
    if [ "$arch" = win64 ]; then platform=x64; else platform=x86; fi
    rm -rf "$work"
    mkdir -p "$work/packages" "$work/signing"
    module="$root/build/$arch/npDesklaunch.dll"
    NPD_PACKAGE_VERSION=0.9.0.0 "$root/tools/package.sh" "$module" "$platform" "$work/packages" >/dev/null
    said=$("$root/tools/package.sh" "$module" "$platform" "$work/packages")

    section "signing"
    expect_eq "what an unsigned build says" "not signed" "$(grep -o 'not signed' <<<"$said")"
    msi=$(ls "$work/packages"/npDesklaunch-[1-9]*.msi)
    expect_eq "osslsigncode verify of the unsigned package" "fails" \
        "$(osslsigncode verify -in "$msi" >/dev/null 2>&1 && echo passes || echo fails)"
    cd "$work/signing"
    openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
        -subj "/CN=npDesklaunch test signer" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1
    said=$(SIGN_CERT=cert.pem SIGN_KEY=key.pem "$root/tools/package.sh" "$module" "$platform" "$work/signing")
    expect_eq "what a signed build says" "module, host and package signed" "$(grep -o 'module, host and package signed' <<<"$said")"
    msi=$(ls "$work/signing"/npDesklaunch-*.msi)
    verify() { osslsigncode verify -CAfile cert.pem -in "$1" 2>&1 | grep -o -m1 'Signature verification: ok' || true; }
    expect_eq "osslsigncode verify of the signed package" "Signature verification: ok" "$(verify "$msi")"
    msiextract -C extracted "$msi" >/dev/null
    for program in npDesklaunch.dll desklaunch-host.exe; do
        expect_eq "osslsigncode verify of $program in the signed package" "Signature verification: ok" \
            "$(verify "$(find extracted -name "$program")")"
    done
    cd "$root"

    section "the Group Policy template"
    admx=$root/package/policy/npDesklaunch.admx
    adml=$root/package/policy/en-US/npDesklaunch.adml
    expect_eq "xmllint of the template and its en-US texts" "" "$(xmllint --noout "$admx" "$adml" 2>&1)"
    expect_eq "the texts the template names, defined in en-US" \
        "$(grep -o '\$(string\.[A-Za-z0-9_]*)' "$admx" | sed 's/^.*\.\(.*\))$/\1/' | sort -u)" \
        "$(grep -o '<string id="[^"]*"' "$adml" | sed 's/^.*"\(.*\)"$/\1/' | sort -u)"
    expect_eq "the key and values the template writes are those the module reads" \
        "$(grep -o -e 'key="[^"]*"' -e 'valueName="[^"]*"' "$admx" | sed 's/^.*="\(.*\)"$/\1/' | sort -u)" \
        "$(grep -o -e 'L"Software\\\\Policies[^"]*"' -e 'L"AllowedOrigins"' -e 'L"LaunchCatalogueOnly"' \
            "$root/src/app/admin_policy.cpp" | sed -e 's/^L"\(.*\)"$/\1/' -e 's/\\\\/\\/g' | sort -u)"

    section "the native messaging host's manifests"
    served() { sed -n "s/^const char k$1ExtensionId\[\] = \"\(.*\)\";\$/\1/p" "$root/src/messaging_host/host_arguments.cpp"; }
    for family in chromium firefox; do
        if [ $family = chromium ]; then callers="origins chrome-extension://$(served Chromium)/"; else callers="extensions $(served Firefox)"; fi
        expect_eq "the $family manifest's name, path, type and the callers it allows, those the host serves" \
            "com.corvid.desklaunch desklaunch-host.exe stdio $callers" \
            "$(node -p 'const m = JSON.parse(require("fs").readFileSync(process.argv[1]));
                [m.name, m.path, m.type, m.allowed_origins ? "origins" : "", m.allowed_origins || "",
                 m.allowed_extensions ? "extensions" : "", m.allowed_extensions || ""].filter(Boolean).join(" ")' \
                "$root/package/messaging_host/com.corvid.desklaunch.$family.json" 2>&1)"
    done

    session=0
    NPD_TEST_ARCH=$arch "$root/tools/wine-session.sh" "$work" "$arch" "$0" || session=$?
    echo "$checks checks outside Wine, $failures failed"
    [ "$failures" -eq 0 ] && [ "$session" -eq 0 ]
    exit
fi

wine=$NPD_WINE_LOADER
# A command that fails outside a check ends the run; say which, so that no failure is silent.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND (exit status $?)"' ERR
trap '[ "$?" -eq 0 ] || echo "FAILED: the checks ended early, after $checks"' EXIT
win_path() { echo "Z:$1" | sed 's|/|\\|g'; }
# A Windows path inside the prefix as a Unix path.
unix_path() {
    local p=${1#[Cc]:\\}
    echo "$WINEPREFIX/drive_c/${p//\\//}"
}

version=$(sed -n 's/^#define NPD_VERSION_\(MAJOR\|MINOR\|PATCH\|BUILD\) \([0-9]*\)$/\2/p' \
    "$root/src/common/product_version.h" | paste -sd.)
old_msi=$(win_path "$work/packages/npDesklaunch-0.9.0.0.msi")
new_msi=$(win_path "$work/packages/npDesklaunch-$version.msi")
key='Software\MozillaPlugins\@corvidsoftware.com/npDesklaunch'
user_folder_win=$("$wine" cmd /c echo %LOCALAPPDATA% </dev/null | tr -d '\r')'\npDesklaunch'
user_dir=$(unix_path "$user_folder_win")
# The test packages hold a module for the Windows that runs them: a 64-bit package on 64-bit
# Windows, a 32-bit one on 32-bit Windows; both go to the system's own Program Files.
machine_dir="$WINEPREFIX/drive_c/Program Files/npDesklaunch"

msiexec() { # arguments...; prints the exit code
    local rc=0
    "$wine" msiexec "$@" /qn >/dev/null 2>&1 </dev/null || rc=$?
    echo "$rc"
}

delete_value() { # root\key name: removes one value, as a user damaging the install would
    # A CI run once stopped without a word in the per-machine steps, where this was the one
    # unchecked command: a failure is now said and retried, so a run shows if it recurs.
    local rc attempt
    for attempt in 1 2 3; do
        rc=0
        "$wine" reg delete "$1" /v "$2" /f >/dev/null 2>&1 </dev/null || rc=$?
        [ "$rc" -ne 0 ] || break
        echo "note: reg delete $1 /v $2 failed (exit status $rc, attempt $attempt)"
    done
    expect_eq "reg delete $1 /v $2 exit code" 0 "$rc"
}

# "name=data" lines of one key's values, sorted, or "(no key)".
values() { # root\key
    local out
    if ! out=$("$wine" reg query "$1" 2>/dev/null </dev/null | tr -d '\r'); then
        echo "(no key)"
        return
    fi
    echo "$out" | sed -n 's/^    \(.*\)    REG_[A-Z_]*    \(.*\)$/\1=\2/p' | sort
}

# Every file and folder under a folder, relative to it, sorted; "(none)" when it does not exist.
tree() {
    if [ -d "$1" ]; then (cd "$1" && find . -mindepth 1 | sed 's|^\./||' | sort); else echo "(none)"; fi
}

# Products of this package that Windows Installer has registered, one product code a line.
products() {
    local hive
    for hive in HKCU HKLM; do
        "$wine" reg query "$hive\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null \
            </dev/null | tr -d '\r' | awk '/^HKEY/ { k = $0 } /DisplayName +REG_SZ +npDesklaunch$/ { print k }'
    done
}
product_versions() {
    local k
    for k in $(products); do
        "$wine" reg query "$k" /v DisplayVersion 2>/dev/null </dev/null | tr -d '\r' |
            sed -n 's/^ *DisplayVersion *REG_SZ *//p'
    done
}

registration() { # root install_folder_as_windows_path version
    printf '%s\n' "Description=CorvidBrowser Example Plugin" "Path=$2\\npDesklaunch.dll" \
        "ProductName=CorvidBrowser npruntime scriptable Application plugin" \
        "Vendor=Corvid Software" "Version=$3" | sort
}
mime_values=$(printf '%s\n' "Description=CorvidBrowser Example Plugin" "Suffixes=rts")
# Where the browsers look for the messaging host: one key each, whose default value names the
# manifest of the browser's family. With no folder, no keys.
host_registration() { # [install_folder_as_windows_path]
    local browser
    for browser in 'Google\Chrome chromium' 'Microsoft\Edge chromium' 'Chromium chromium' 'Mozilla firefox'; do
        echo "${browser% *}: $([ $# -eq 1 ] && echo "(Default)=$1\\com.corvid.desklaunch.${browser#* }.json" || echo '(no key)')"
    done
}
host_values() { # root
    local browser
    for browser in 'Google\Chrome' 'Microsoft\Edge' Chromium Mozilla; do
        echo "$browser: $(values "$1\\Software\\$browser\\NativeMessagingHosts\\com.corvid.desklaunch")"
    done
}

installed_dll="$user_dir/npDesklaunch.dll"
# What the package installs beside the module: the messaging host and its manifests, the Group
# Policy template and its texts.
installed=$(printf '%s\n' npDesklaunch.dll desklaunch-host.exe com.corvid.desklaunch.chromium.json \
    com.corvid.desklaunch.firefox.json policy policy/npDesklaunch.admx policy/en-US \
    policy/en-US/npDesklaunch.adml | sort)

section "package version and module version"
dll_version=$(strings -el "$root/build/win32/npDesklaunch.dll" | grep -A1 -x ProductVersion | tail -1)
expect_eq "the module's ProductVersion, dots for commas" "$version" "${dll_version//, /.}"
msi_version=$(msiinfo export "$work/packages/npDesklaunch-$version.msi" Property | tr -d '\r' |
    sed -n 's/^ProductVersion\t//p')
expect_eq "the package's ProductVersion" "$version" "$msi_version"

section "per-user silent install of the older package"
expect_eq "msiexec /i 0.9.0.0 exit code" 0 "$(msiexec /i "$old_msi")"
expect_eq "files in the user's install folder" "$installed" "$(tree "$user_dir")"
expect_eq "HKCU registration" "$(registration HKCU "$user_folder_win" 0.9.0.0)" "$(values "HKCU\\$key")"
expect_eq "HKCU MIME type" "$mime_values" "$(values "HKCU\\$key\\MimeTypes\\application/corvid-application")"
expect_eq "nothing in HKLM" "(no key)" "$(values "HKLM\\$key")"
expect_eq "HKCU messaging host keys" "$(host_registration "$user_folder_win")" "$(host_values HKCU)"
expect_eq "no messaging host keys in HKLM" "$(host_registration)" "$(host_values HKLM)"
expect_eq "registered product versions" "0.9.0.0" "$(product_versions)"

section "major upgrade to $version"
expect_eq "msiexec /i $version exit code" 0 "$(msiexec /i "$new_msi")"
expect_eq "files after the upgrade: one copy" "$installed" "$(tree "$user_dir")"
for template in npDesklaunch.admx en-US/npDesklaunch.adml; do
    expect_eq "the installed policy/$template is the one in package/policy" \
        "$(sha256sum <"$root/package/policy/$template")" "$(sha256sum <"$user_dir/policy/$template")"
done
expect_eq "the installed module is the one packaged" "$(sha256sum <"$root/build/$NPD_TEST_ARCH/npDesklaunch.dll")" "$(sha256sum <"$installed_dll")"
expect_eq "HKCU registration after the upgrade" "$(registration HKCU "$user_folder_win" "$version")" "$(values "HKCU\\$key")"
expect_eq "registered product versions after the upgrade" "$version" "$(product_versions)"

section "a browser finds the installed messaging host by its key and manifest, and it answers"
hello='{"jsonrpc":"2.0","id":1,"method":"hello","params":{"origin":"file://"}}'
for browser in 'Google\Chrome' Mozilla; do
    manifest=$(values "HKCU\Software\\$browser\NativeMessagingHosts\com.corvid.desklaunch" | sed -n 's/^(Default)=//p')
    program=$(node -p 'JSON.parse(require("fs").readFileSync(process.argv[1])).path' "$(unix_path "$manifest")" 2>/dev/null || true)
    caller=(chrome-extension://ndlnobkomhldkoefdojhmlafpaocchga/)
    [ "$browser" = Mozilla ] && caller=("$manifest" desklaunch@corvid-application)
    answer=$(printf "\\x$(printf %02x ${#hello})\\x00\\x00\\x00%s" "$hello" |
        "$wine" "${manifest%\\*}\\$program" "${caller[@]}" 2>&1 | grep -a -o '"product": *"npDesklaunch"' || true)
    expect_eq "hello from the host that $browser's manifest names" '"product":"npDesklaunch"' "$answer"
done

section "the host loads the installed module; its images folder is the user's"
host=$(win_path "$root/build/$NPD_TEST_ARCH/nphost.exe")
scan=$("$wine" "$host" "$user_folder_win\\npDesklaunch.dll" RecentlyApplications 2>&1 </dev/null | tr -d '\r' || true)
if grep -q 'NP_Initialize: 0' <<<"$scan"; then pass; else fail "nphost loads the installed module" "NP_Initialize: 0" "$scan"; fi
catalogue=$(sed -n 's/^RecentlyApplications returned true, result: "\(.*\)" ([0-9]* bytes)$/\1/p' <<<"$scan")
# The module stores its bitmaps beside the installed module: Notepad's at least (Wine's
# mspaint.exe and calc.exe do not exist, its explorer.exe has no icon), and only bitmaps of the
# catalogue's entries.
expect_eq "the catalogue lists Notepad" "yes" "$(grep -q -F 'C:\windows\system32\notepad.exe*' <<<"$catalogue" && echo yes || echo "no: $catalogue")"
expect_eq "notepad.bmp beside the installed module, bytes" "4150" "$(stat -c %s "$user_dir/images/notepad.bmp" 2>/dev/null || echo '(none)')"
strays=
for bmp in "$user_dir"/images/*.bmp; do
    [ -e "$bmp" ] || continue
    name=$(basename "$bmp" .bmp)
    grep -q -F "\\$name.exe*" <<<"$catalogue" || strays+="$name.bmp "
done
expect_eq "bitmaps that are no catalogue entry's" "" "$strays"
bitmaps=$(tree "$user_dir/images")

section "repair"
rm -f "$installed_dll"
delete_value "HKCU\\$key" Path
# Wine's msiexec has no /f for an installed product; the same repair through properties:
expect_eq "repair exit code" 0 "$(msiexec /i "$new_msi" REINSTALL=ALL REINSTALLMODE=omus)"
expect_eq "the module is back" "yes" "$([ -f "$installed_dll" ] && echo yes || echo no)"
expect_eq "HKCU registration after the repair" "$(registration HKCU "$user_folder_win" "$version")" "$(values "HKCU\\$key")"
expect_eq "the images folder after the repair" "$bitmaps" "$(tree "$user_dir/images")"

section "uninstall keeps the user's bitmaps, nothing else"
expect_eq "msiexec /x exit code" 0 "$(msiexec /x "$new_msi")"
expect_eq "files after the uninstall: the images folder only" "$(printf '%s\n' images; sed 's|^|images/|' <<<"$bitmaps")" "$(tree "$user_dir")"
expect_eq "HKCU key after the uninstall" "(no key)" "$(values "HKCU\\$key")"
expect_eq "MozillaPlugins after the uninstall" "(no key)" "$(values 'HKCU\Software\MozillaPlugins')"
expect_eq "HKCU messaging host keys after the uninstall" "$(host_registration)" "$(host_values HKCU)"
expect_eq "registered products after the uninstall" "" "$(products)"

section "install and uninstall without bitmaps leave nothing"
rm -rf "$user_dir"
expect_eq "msiexec /i exit code" 0 "$(msiexec /i "$new_msi")"
expect_eq "msiexec /x exit code" 0 "$(msiexec /x "$new_msi")"
expect_eq "the user's install folder" "(none)" "$(tree "$user_dir")"

section "per-machine silent install (ALLUSERS=1) and upgrade"
machine_win='C:\Program Files\npDesklaunch'
expect_eq "msiexec /i 0.9.0.0 ALLUSERS=1 exit code" 0 "$(msiexec /i "$old_msi" ALLUSERS=1)"
expect_eq "HKLM registration of 0.9.0.0" "$(registration HKLM "$machine_win" 0.9.0.0)" "$(values "HKLM\\$key")"
expect_eq "msiexec /i $version ALLUSERS=1 exit code" 0 "$(msiexec /i "$new_msi" ALLUSERS=1)"
expect_eq "registered product versions after the per-machine upgrade" "$version" "$(product_versions)"
expect_eq "files in the install folder under Program Files" "$(printf '%s\n' images "$installed" | sort)" "$(tree "$machine_dir")"
expect_eq "HKLM registration" "$(registration HKLM "$machine_win" "$version")" "$(values "HKLM\\$key")"
expect_eq "HKLM MIME type" "$mime_values" "$(values "HKLM\\$key\\MimeTypes\\application/corvid-application")"
expect_eq "nothing in HKCU" "(no key)" "$(values "HKCU\\$key")"
expect_eq "HKLM messaging host keys" "$(host_registration "$machine_win")" "$(host_values HKLM)"
expect_eq "no messaging host keys in HKCU" "$(host_registration)" "$(host_values HKCU)"
expect_eq "nothing in the user's folder" "(none)" "$(tree "$user_dir")"
rm -f "$machine_dir/npDesklaunch.dll" "$machine_dir/desklaunch-host.exe"
delete_value "HKLM\\$key" Vendor
expect_eq "per-machine repair exit code" 0 "$(msiexec /i "$new_msi" REINSTALL=ALL REINSTALLMODE=omus)"
expect_eq "files after the per-machine repair" "$(printf '%s\n' images "$installed" | sort)" "$(tree "$machine_dir")"
expect_eq "HKLM registration after the repair" "$(registration HKLM "$machine_win" "$version")" "$(values "HKLM\\$key")"
expect_eq "msiexec /x exit code" 0 "$(msiexec /x "$new_msi")"
expect_eq "Program Files after the uninstall" "(none)" "$(tree "$machine_dir")"
expect_eq "HKLM key after the uninstall" "(no key)" "$(values "HKLM\\$key")"
expect_eq "HKLM messaging host keys after the uninstall" "$(host_registration)" "$(host_values HKLM)"
expect_eq "registered products after the uninstall" "" "$(products)"

section "the images folder's permissions for a per-machine install"
expect_eq "LockPermissions rows" "$(printf 'IMAGESDIR\tCreateFolder\t\t%s\t268435456\n' Administrators SYSTEM Users)" \
    "$(msiinfo export "$work/packages/npDesklaunch-$version.msi" LockPermissions | tr -d '\r' | tail -n +4 | sort)"

echo "$checks checks, $failures failed"
[ "$failures" -eq 0 ]
