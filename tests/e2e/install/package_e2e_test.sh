#!/usr/bin/env bash
# The Debian package as a user meets it: CPack builds it; its control fields give the project's
# version and name Qt 6 GUI, libpulse and libjpeg-turbo and nothing unexpected; it holds exactly
# the listed files (its copyright and changelog among them); lintian finds no error and no
# unexplained warning; dpkg installs it on this machine; the program started the way a desktop
# starts it (the entry's Exec line, in its Path) opens its window under Xvfb, opens the installed
# help from the help button, and ends with code 0 when the window manager closes it; dpkg
# removes it again. The files it installs are those install_layout_test checks (the same list,
# the metainfo the same file, the desktop entry's validity for a prefix such as /usr there).
# Usage: package_e2e_test.sh BUILD_DIR SOURCE_DIR PACKAGE_FILES_LIST OUTPUT_DIR VERSION
# Exits 77 (skipped) when not root, or when a vibralon package is already installed.
set -euo pipefail

build=$1
src=$2
list=$3
out=$4
version=$5
# shellcheck source=tests/e2e/install/common.sh
source "$src/tests/e2e/install/common.sh"
desktop=/usr/share/applications/$app_id.desktop

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: installing a package needs root"
    exit 77
fi

session_begin "$out" 40 '*.log' '*.err'

# One package test at a time on this machine, whichever build tree runs it.
exec 9>/tmp/vibralon-package-test.lock
flock -w 100 9 || fail "another package test holds the lock"

if [ "$(dpkg-query -W -f='${db:Status-Status}' vibralon 2>/dev/null || true)" = installed ]; then
    echo "SKIP: a vibralon package is installed on this machine; this test would replace and"
    echo "      remove it. Remove it (dpkg -r vibralon) to run this test."
    exit 77
fi

installed=no
remove_package_if_installed() { [ "$installed" = no ] || dpkg -r vibralon >"$out/cleanup-remove.log" 2>&1 || true; }
at_exit remove_package_if_installed

# --- 1. Build the package -------------------------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$out/package" >"$out/cpack.log" 2>&1 ||
    fail "cpack failed"
debs=("$out"/package/vibralon_*.deb)
{ [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ]; } || fail "cpack made no single vibralon_*.deb"
deb=${debs[0]}
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

# --- 2. Control fields ----------------------------------------------------------------------
for field in Package=vibralon Version="$version" Architecture="$(dpkg --print-architecture)"; do
    value=$(dpkg-deb -f "$deb" "${field%%=*}")
    [ "$value" = "${field#*=}" ] || fail "${field%%=*}: $value, not ${field#*=}"
done
depends=$(dpkg-deb -f "$deb" Depends)
# Package names only: alternatives split, version constraints dropped.
sed 's/[,|]/\n/g; s/([^)]*)//g; s/[[:blank:]]//g' <<<"$depends" | grep . | sort -u >"$out/depends.txt"
for needed in libqt6gui6 libqt6widgets6 libpulse0; do
    grep -qx "$needed" "$out/depends.txt" || fail "Depends lacks $needed: $depends"
done
grep -qxE 'libjpeg62-turbo|libturbojpeg0' "$out/depends.txt" ||
    fail "Depends lacks libjpeg-turbo: $depends"
# Qt's widgets (the message boxes and the hint), GUI and core libraries, libpulse, libjpeg-turbo
# and the C and C++ runtimes are expected (stb's BMP reader is compiled in, so no libstb); anything
# else is something the program should not need (a sanitizer runtime, a test library, a tool's).
unexpected=$(grep -vxE 'libqt6widgets6|libqt6gui6|libqt6core6|libpulse0|libjpeg62-turbo|libturbojpeg0|libc6|libstdc\+\+6|libgcc-s1' \
    "$out/depends.txt" || true)
[ -z "$unexpected" ] || fail "unexpected dependencies: ${unexpected//$'\n'/ }"
echo "Depends: $depends"

# --- 3. Files -------------------------------------------------------------------------------
dpkg-deb -c "$deb" >"$out/contents.txt"
awk '$1 !~ /^d/ {print $1, $6}' "$out/contents.txt" | sort -k2 >"$out/files.txt"
grep -v '^#' "$list" | sort -k2 >"$out/expected.txt"
diff -u "$out/expected.txt" "$out/files.txt" >&2 || fail "the package's files differ from $list"
awk '$2 != "root/root" {print}' "$out/contents.txt" | grep . && fail "entries not owned by root"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" {print}' "$out/contents.txt" | grep . &&
    fail "directories not 0755"
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/bin/vibralon >"$out/vibralon.bin"
file "$out/vibralon.bin" | grep -q ', stripped' || fail "the program in the package is not stripped"
echo "files: $(wc -l <"$out/files.txt") as listed, owned by root, program stripped"

# --- 4. Lintian -----------------------------------------------------------------------------
# Debian's own checks: no error, and no warning but those the package overrides, each override
# under a comment that gives its reason.
lintian --fail-on error,warning "$deb" >"$out/lintian.log" 2>&1 ||
    fail "lintian finds errors or warnings: $(grep -E '^[EW]: ' "$out/lintian.log")"
overrides=$src/dist/debian/lintian-overrides
unexplained=$(awk '/^#/ { reason = 1; next } /^[[:blank:]]*$/ { reason = 0; next }
    !reason { print }' "$overrides")
[ -z "$unexplained" ] || fail "lintian overrides without a reason above them: $unexplained"
echo "lintian: no errors or warnings ($(grep -c '' "$overrides") override lines)"

# --- 5. Install -----------------------------------------------------------------------------
installed=yes
DEBIAN_FRONTEND=noninteractive dpkg -i "$deb" >"$out/dpkg-install.log" 2>&1 ||
    fail "dpkg -i failed (dependencies not satisfied by their names?)"
echo "installed: $(dpkg -L vibralon | grep -c '') paths"

# --- 6. Start it as the desktop does --------------------------------------------------------
exec_line=$(entry_value "$desktop" Exec)
workdir=$(entry_value "$desktop" Path)
{ [ -n "$exec_line" ] && [ -n "$workdir" ]; } || fail "the entry lacks Exec or Path"
# Field codes (%f, %U...) stand for files to open; the tuner takes none. xargs splits the quoted
# arguments as the entry writes them.
mapfile -t argv < <(printf '%s\n' "$exec_line" | sed 's/%[fFuUik]//g; s/%%/%/g' | xargs printf '%s\n')
[ "${argv[0]}" = /usr/bin/vibralon ] || fail "Exec starts ${argv[0]}"

x11_exact_pixels_env
x11_start_desktop "$out"
# The help button hands the document to xdg-open; this one notes what it was given and where.
stub_xdg_open "$out"

tuner_cwd=$workdir start_tuner vibralon "${argv[@]}"
wid=$(find_window '^Vibralon$' 20) || fail "no window named Vibralon appeared"
[ "$(xprop -id "$wid" _NET_WM_PID | awk '{print $NF}')" = "$tuner_pid" ] ||
    fail "the Vibralon window belongs to another process"
# Docks and task bars match the window to its entry by the class of WM_CLASS.
wm_class=$(xprop -id "$wid" WM_CLASS | sed 's/.*", "\(.*\)"$/\1/')
[ "$wm_class" = "$(entry_value "$desktop" StartupWMClass)" ] ||
    fail "the window's class $wm_class is not the entry's StartupWMClass"
! wmctrl -l | grep -q 'No sound card\|Cannot determine\|Format not supported' ||
    fail "a start-up message box is showing: $(wmctrl -l)"
echo "window: $wid of process $tuner_pid, started from $exec_line in $workdir"

xdotool mousemove --window "$wid" 335 30 click 1
within 10 test -f "$out/opened" || fail "the help button opened nothing"
{ read -r opener_dir && read -r document; } <"$out/opened"
case "$document" in
file://*) opened=${document#file://} ;;
/*) opened=$document ;;
*) opened="$opener_dir/$document" ;;
esac
[ "$(realpath -m "$opened")" = "$workdir/help/guide.htm" ] ||
    fail "the help button opened $document (from $opener_dir)"
echo "help: $document"

close_tuner "close" 10
echo "close: the program ended with code 0"

# --- 7. Remove ------------------------------------------------------------------------------
dpkg -r vibralon >"$out/dpkg-remove.log" 2>&1 || fail "dpkg -r failed"
installed=no
status=$(dpkg-query -W -f='${db:Status-Status}' vibralon 2>/dev/null || true)
[ "$status" = not-installed ] || [ -z "$status" ] || fail "after dpkg -r the package is $status"
for gone in /usr/bin/vibralon "$desktop" /usr/share/vibralon; do
    [ ! -e "$gone" ] || fail "$gone is still there after removal"
done
echo "removed: no file of the package is left"
echo "PASS"
