#!/usr/bin/env bash
# `cmake --install` into a prefix with a space in it, and as a staged install with DESTDIR: the
# files land where the package puts them, the desktop entry names the program and its working
# directory under the prefix being installed to, the help is found from that directory, the
# icons are the sizes their folders say, and the desktop entries (a quoted Exec and a plain one,
# as the package's) and the metainfo pass their validators.
# Usage: install_layout_test.sh BUILD_DIR SOURCE_DIR PACKAGE_FILES_LIST BINDIR DATADIR OUTPUT_DIR
set -euo pipefail

build=$1
src=$2
list=$3
bindir=$4
datadir=$5
out=$6
# shellcheck source=tests/e2e/install/common.sh
source "$(dirname "$0")/common.sh"
session_begin "$out" all '*.log'

install_to() {
    local log=$1
    shift
    "$@" >"$log" 2>&1 || fail "install failed: $*"
}

# --- 1. A prefix with a space ---------------------------------------------------------------
prefix="$out/a prefix"
install_to "$out/install.log" cmake --install "$build" --prefix "$prefix"

# The files are those of the package, with /usr replaced by the prefix.
grep -v '^#' "$list" | awk '{print $2}' | sed "s|^\./usr/bin/|$bindir/|; s|^\./usr/share/|$datadir/|" |
    sort >"$out/expected"
(cd "$prefix" && find . -type f -printf '%P\n' | sort) >"$out/installed"
if ! diff -u "$out/expected" "$out/installed" >"$out/files.diff"; then
    cat "$out/files.diff" >&2
    grep -q "^-$bindir/vibralon$" "$out/files.diff" &&
        echo "The program was not installed: the build has no \`vibralon\` target." >&2
    fail "installed files differ from the package's list"
fi
[ -x "$prefix/$bindir/vibralon" ] || fail "the program is not executable"
echo "files: $(wc -l <"$out/installed") installed, as listed"

desktop="$prefix/$datadir/applications/$app_id.desktop"
metainfo="$prefix/$datadir/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net --strict "$metainfo" >"$out/appstream.log" 2>&1 ||
    fail "appstreamcli rejects $metainfo"
echo "validators: desktop entry and metainfo pass"

# Exec quotes the path with the space; Path is unquoted and holds the help folder.
exec_line=$(entry_value "$desktop" Exec)
[ "$exec_line" = "\"$prefix/$bindir/vibralon\"" ] || fail "Exec=$exec_line"
path=$(entry_value "$desktop" Path)
[ "$path" = "$prefix/$datadir/vibralon" ] || fail "Path=$path"
[ -f "$path/help/guide.htm" ] || fail "no help/guide.htm under the working directory $path"
cmp -s "$path/help/guide.htm" "$src/help/guide.htm" ||
    fail "the installed help differs from help/guide.htm"
echo "desktop entry: Exec=$exec_line Path=$path"

# One name for the desktop entry, its icon and the metainfo that launches it.
[ "$(entry_value "$desktop" Icon)" = "$app_id" ] || fail "Icon=$(entry_value "$desktop" Icon)"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $app_id.desktop"
grep -qE '<screenshot type="default">' "$metainfo" || fail "metainfo has no screenshot"
for icon in "$prefix/$datadir"/icons/hicolor/*/apps/"$app_id".png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    size=$(identify -format '%wx%h' "$icon")
    [ "$size" = "$folder" ] || fail "$icon is $size"
    # Transparent around the dial: the lower left corner lets the desktop show through.
    [ "$(convert "$icon" -format '%[fx:p{0,h-1}.a]' info:)" = "0" ] || fail "$icon is opaque"
done
sizes=$(find "$prefix/$datadir/icons/hicolor" -mindepth 1 -maxdepth 1 -printf '%f ' | tr ' ' '\n' |
    sort -V | tr '\n' ' ')
echo "icons: ${sizes}named $app_id"

# --- 2. Staged with DESTDIR: paths name the prefix, not the staging folder ------------------
target=/opt/vibralon-layout-test-$$
install_to "$out/staged.log" env DESTDIR="$out/stage" cmake --install "$build" --prefix "$target"
staged="$out/stage$target/$datadir/applications/$app_id.desktop"
desktop-file-validate "$staged" || fail "desktop-file-validate rejects $staged"
[ "$(entry_value "$staged" Exec)" = "$target/$bindir/vibralon" ] ||
    fail "staged Exec=$(entry_value "$staged" Exec)"
[ "$(entry_value "$staged" Path)" = "$target/$datadir/vibralon" ] ||
    fail "staged Path=$(entry_value "$staged" Path)"
[ ! -e "$target" ] || fail "the staged install wrote outside DESTDIR"
echo "DESTDIR: the entry names $target"
echo "PASS"
