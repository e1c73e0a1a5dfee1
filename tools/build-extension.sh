#!/usr/bin/env bash
# Builds the browser extension from extension/ into build/extension: the unpacked folders
# chromium/ and firefox/ (each with its own manifest.json: the common extension/manifest.json,
# the browser's own part, and the version of src/common/product_version.h), and the packages
# desklaunch-chromium.zip (for the Chrome Web Store, without the manifest's "key", which the
# store refuses), desklaunch-firefox.xpi and, when NPD_EXTENSION_KEY names the private key
# (PEM), desklaunch-chromium.crx packed by Chromium itself. The key never goes into the repo.
#   tools/build-extension.sh [OUTPUT_DIR]       default build/extension
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$root/build/extension}" && cd "${1:-$root/build/extension}" && pwd)
files=(background.js consent_rules.js host_connection.js content.js consent.html consent.js
       options.html options.js)

version_part() {
    sed -n "s/^#define NPD_VERSION_$1 \\([0-9][0-9]*\\)\$/\\1/p" "$root/src/common/product_version.h"
}
version=$(version_part MAJOR).$(version_part MINOR).$(version_part PATCH).$(version_part BUILD)

# manifest BROWSER [no-key]: the browser's manifest on stdout.
manifest() {
    node -e '
        const fs = require("node:fs");
        const [dir, version, browser, noKey] = process.argv.slice(1);
        const read = (name) => JSON.parse(fs.readFileSync(`${dir}/${name}`, "utf8"));
        const manifest = { ...read("manifest.json"), version, ...read(`manifest.${browser}.json`) };
        if (noKey) delete manifest.key;
        process.stdout.write(JSON.stringify(manifest, null, 2) + "\n");
    ' "$root/extension" "$version" "$@"
}

# zip_folder DIR ARCHIVE: the folder's files at the archive's root.
zip_folder() {
    rm -f "$2"
    if command -v zip >/dev/null; then
        (cd "$1" && zip -qrX "$2" .)
    else
        python3 -c 'import shutil, sys; shutil.make_archive(sys.argv[1], "zip", sys.argv[2])' "$2" "$1" &&
            mv "$2.zip" "$2"
    fi
}

for browser in chromium firefox; do
    rm -rf "${out:?}/$browser"
    mkdir -p "$out/$browser"
    cp "${files[@]/#/$root/extension/}" "$out/$browser/"
    manifest "$browser" > "$out/$browser/manifest.json"
done

# The store's copy: the same files, its manifest without "key".
store=$(mktemp -d)
trap 'rm -rf "$store"' EXIT
cp -r "$out/chromium/." "$store/"
manifest chromium no-key > "$store/manifest.json"
zip_folder "$store" "$out/desklaunch-chromium.zip"
zip_folder "$out/firefox" "$out/desklaunch-firefox.xpi"
echo "extension $version: $out/chromium, $out/firefox, desklaunch-chromium.zip, desklaunch-firefox.xpi"

rm -f "$out/desklaunch-chromium.crx"
if [ -z "${NPD_EXTENSION_KEY:-}" ]; then
    echo "desklaunch-chromium.crx skipped: set NPD_EXTENSION_KEY to the extension's private key (PEM) to pack it"
    exit 0
fi
chromium=$(command -v "${CHROMIUM:-chromium}" || command -v chromium-browser || true)
[ -n "$chromium" ] || { echo "build-extension: Chromium is needed to pack the .crx" >&2; exit 1; }
# Chromium writes <folder>.crx beside the folder it packs.
pack=$(mktemp -d)
trap 'rm -rf "$store" "$pack"' EXIT
cp -r "$out/chromium" "$pack/desklaunch-chromium"
"$chromium" --no-sandbox --headless --user-data-dir="$pack/profile" --no-message-box \
    --pack-extension="$pack/desklaunch-chromium" --pack-extension-key="$NPD_EXTENSION_KEY" >/dev/null 2>&1 || true
[ -s "$pack/desklaunch-chromium.crx" ] || { echo "build-extension: Chromium did not pack the .crx" >&2; exit 1; }
mv "$pack/desklaunch-chromium.crx" "$out/desklaunch-chromium.crx"
chmod 644 "$out/desklaunch-chromium.crx"
echo "extension $version: $out/desklaunch-chromium.crx"
