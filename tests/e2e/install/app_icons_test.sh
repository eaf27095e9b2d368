#!/usr/bin/env bash
# The desktop's icons in dist/icons/ and the Windows program's icon (dist/windows/vibralon.ico,
# 16, 24, 32, 48 and 256 pixels) are what the skin generator draws today, and the 32-pixel ones
# are exactly MAINICON, the window's own icon, colours and transparency alike.
# Usage: app_icons_test.sh PATH/TO/vibralon-skingen SOURCE_DIR OUTPUT_DIR
set -euo pipefail

skingen=$1
src=$2
out=$3
# shellcheck source=tests/e2e/install/common.sh
source "$(dirname "$0")/common.sh"
session_begin "$out" all '*.err'
# Pixels compared in red, green, blue and alpha; drawings let through the last-bit rounding of
# antialiased edges, which Qt's raster engine does differently on processors with other vector
# units.
rgba=(-channel RGBA)
drawn=(-fuzz 0.5% -channel RGBA)

QT_QPA_PLATFORM=offscreen "$skingen" --app-icons "$out/hicolor" "$app_id" 2>"$out/skingen.err" ||
    fail "the generator failed"

committed="$src/dist/icons/hicolor"
(cd "$committed" && find . -type f | sort) >"$out/committed.list"
(cd "$out/hicolor" && find . -type f | sort) >"$out/drawn.list"
# Each size there is one the package lists (install_layout_test installs them).
diff -u "$out/committed.list" "$out/drawn.list" || fail "dist/icons/ holds other files than the generator draws"

while read -r file; do
    n=$(pixels_differ "$committed/$file" "$out/hicolor/$file" "${drawn[@]}")
    [ "$n" = "0" ] || fail "$file: $n pixels differ from the drawing (run tools/skingen/regenerate)"
done <"$out/committed.list"
echo "dist/icons: $(wc -l <"$out/committed.list") icons equal the generator's drawing"

windows_icon=$src/dist/windows/vibralon.ico
QT_QPA_PLATFORM=offscreen "$skingen" --windows-icon "$out/vibralon.ico" 2>>"$out/skingen.err" ||
    fail "the generator failed"
sizes=$(identify -format '%w ' "$windows_icon") || fail "identify cannot read $windows_icon"
[ "$sizes" = "16 24 32 48 256 " ] || fail "the Windows icon holds the sizes $sizes, not 16 24 32 48 256"
for i in 0 1 2 3 4; do
    n=$(pixels_differ "${windows_icon}[$i]" "$out/vibralon.ico[$i]" "${drawn[@]}")
    [ "$n" = "0" ] || fail "the Windows icon's image $i: $n pixels differ from the drawing"
done
echo "dist/windows/vibralon.ico: ${sizes}pixels, as drawn"

for icon in "$committed/32x32/apps/$app_id.png" "${windows_icon}[2]"; do
    n=$(pixels_differ "$src/ui/skin/art/MAINICON.ico" "$icon" "${rgba[@]}")
    [ "$n" = "0" ] || fail "$icon differs from MAINICON.ico in $n pixels"
done
echo "32x32: the same pixels and mask as MAINICON.ico"
echo "PASS"
