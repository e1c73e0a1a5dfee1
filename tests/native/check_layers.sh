#!/bin/sh
# The include check of the layers: every include "folder/file" in the folders of src/layers.txt
# must name the file's own folder or one that the table lets that folder include. Each other
# include is printed with its file and line, and fails the check.
#   check_layers.sh SOURCE_DIR
cd "$1" || exit 2
table=src/layers.txt
folders=$(awk -F: '/^[a-z_\/]+:/ { print $1 }' "$table")
files=$(for folder in $folders; do
    case $folder in */*) dir=$folder ;; *) dir=src/$folder ;; esac
    find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.rc' \) | sort
done)
[ -n "$files" ] || { echo "check_layers: no sources found under $1" >&2; exit 2; }
# shellcheck disable=SC2086 # one argument per file
awk '
FNR == NR {
    if ($0 ~ /^[a-z_\/]+:/) {
        folder = substr($0, 1, index($0, ":") - 1)
        known[folder] = 1
        n = split(substr($0, index($0, ":") + 1), allowed, " ")
        for (i = 1; i <= n; ++i) may[folder, allowed[i]] = 1
    }
    next
}
FNR == 1 {
    n = split(FILENAME, part, "/")
    own = part[1] == "src" ? part[2] : part[1] "/" part[2]
    ++checked
}
/^[ \t]*#[ \t]*include[ \t]*"[^"]*\// {
    target = $0
    sub(/^[^"]*"/, "", target)
    sub(/\/.*$/, "", target)
    if (!(target in known) && (("tools/" target) in known)) target = "tools/" target
    if (!(target in known)) {
        printf "%s:%d: includes \"%s/...\", a folder that %s does not name\n", FILENAME, FNR, target, ARGV[1]
        ++bad
    } else if (target != own && !((own, target) in may)) {
        printf "%s:%d: %s may not include %s (%s)\n", FILENAME, FNR, own, target, ARGV[1]
        ++bad
    }
}
END {
    if (bad) { printf "%d include(s) break the layers\n", bad; exit 1 }
    printf "%d files: every include keeps to the layers\n", checked
}' "$table" $files
