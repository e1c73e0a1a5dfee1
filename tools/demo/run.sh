#!/usr/bin/env bash
# make demo: a private Windows (Wine prefix under build/demo) with a realistic usage history,
# the plug-in loaded as a browser loads it, RecentlyApplications() printed as a table, and the
# launcher page built from that answer (build/demo/launcher.html, and launcher.png where
# Chromium is installed), then the same page through the extension and the messaging host
# (launcher-chromium.png).
set -euo pipefail
cd "$(dirname "$0")/../.."
arch=$(tools/test-arch.sh)
out=build/demo
mkdir -p "$out"
rm -rf "$out/images" "$out/launcher.html" "$out/launcher.png" "$out/launcher-chromium.png" \
    "$out/catalogue.txt"

windows_path() { echo "Z:$(realpath "$1" | sed 's|/|\\|g')"; }

if [ "$arch" = win64 ]; then
    echo "(this kernel runs no 32-bit programs: the demo loads the module built for 64-bit Windows)"
fi
tools/wine-session.sh "$out" "$arch" tools/wine-exec "build/$arch/demo_host.exe" \
    "$(windows_path "build/$arch/npDesklaunch.dll")" "$(windows_path "build/$arch")" \
    "$(windows_path "$out")\\catalogue.txt"

cp -r "$out/wineprefix/drive_c/Program Files/CorvidBrowser/plugins/images" "$out/images"
node tools/demo/launcher_page.js examples/launcher.html "$out/catalogue.txt" images/ \
    "$out/launcher.html"
echo
echo "Launcher page: $out/launcher.html (icons from $out/images, copied from the images folder)"
if command -v chromium >/dev/null 2>&1; then
    chromium --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars \
        --user-data-dir="$(realpath "$out")/chromium-profile" --window-size=760,560 \
        --screenshot="$(realpath "$out")/launcher.png" "file://$(realpath "$out/launcher.html")" \
        >/dev/null 2>&1
    echo "Screenshot:    $out/launcher.png"
    # The same page in a browser without NPAPI: through the extension and the host.
    tools/build-extension.sh >/dev/null
    tools/wine-session.sh "$out" "$arch" node tools/demo/launcher_extension.js "build/$arch" "$out"
else
    echo "No screenshot: Chromium is not installed (tools/install-deps.sh installs it)."
fi
