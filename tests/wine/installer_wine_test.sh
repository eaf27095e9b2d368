#!/usr/bin/env bash
# The Windows installer under Wine, as a user meets it:
#   1. VibralonSetup-VERSION.exe /S puts vibralon.exe, vibralon-listen.exe, help\guide.htm and
#      notices.txt (the licences of the program and of every library built into it) in Program
#      Files\Vibralon, a
#      Start-menu shortcut that starts the program in that folder, and an uninstaller listed in
#      Add/Remove Programs with the installed size and VERSION
#   2. the program started through its shortcut while the installer's pages are open: Install
#      asks for it to be closed (Retry/Cancel), and after Cancel the installed program, its
#      uninstaller and its one entry are as they were. Its help button has the shell "open"
#      help\guide.htm of the install folder (a file association registered for the test records
#      what it is asked to open); uninstalling or installing while it runs is refused and changes
#      nothing: the registered quiet uninstall and the silent installer end with a non-zero exit
#      code
#   3. the registered quiet uninstall ends with 0 and leaves nothing behind: no folder, no
#      shortcut, no entry, no other file
#   4. an upgrade over an older version installed elsewhere, page by page: one program, the new
#      one, where the older was, and one Add/Remove entry; "Run Vibralon" on the finish page starts
#      it in that folder; uninstalled, its folder, shortcut and entry go
#   The installer declares itself DPI-aware in its manifest.
#
#   installer_wine_test.sh WINDOWS_BUILD_DIR OUT_DIR VERSION
set -euo pipefail

windows_build=$(realpath "$1")
out=$(realpath -m "$2")
version=$3
repo=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/support/wine/wine-session.sh
source "$repo/tests/support/wine/wine-session.sh"
session_begin "$out" 30 '*.err' 'wineboot.log'

installer=$windows_build/VibralonSetup-$version.exe
wine_require_program "$installer"
wine_use_prefix "$out"
wine_start_desktop_session "$out"

drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/Vibralon"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vibralon.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vibralon'

# Every file and folder of drive C:, one a line, but the empty folder an uninstaller's copy ran
# from, which every NSIS uninstaller leaves in the user's temporary folder (a shared prefix may
# hold those of earlier runs).
list_drive_c() {
    (cd "$drive_c" && find . | LC_ALL=C sort | grep -Ev '^\./users/[^/]+/Temp/~nsu[^/]*\.tmp$')
}

# Every file of drive C: with its size and time, and the uninstall entry: what an installer that
# changes nothing leaves as it was.
installed_state() {
    (cd "$drive_c" && find . -type f -printf '%p %s %T@\n' | LC_ALL=C sort)
    wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r'
}

# How many entries of Add/Remove Programs are Vibralon's.
vibralon_entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | grep -c '^ *DisplayName *REG_SZ *Vibralon$' || true
}

# Prints a value of the uninstall entry, nothing when there is none.
uninstall_value() {
    wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z]* *//p"
}

grep -aq '<dpiAware[^<]*>true</dpiAware>' "$installer" ||
    fail "the installer's manifest does not declare it DPI-aware"
wine_record_htm_opens "$out"
list_drive_c >"$out/before-install.txt"

# Runs the registered quiet uninstall as a script or a package manager does (output in $1.out
# and $1.err); returns its exit code.
quiet_uninstall() {
    local quiet
    quiet=$(uninstall_value QuietUninstallString)
    [ -n "$quiet" ] || fail "the entry has no QuietUninstallString"
    printf '%s\r\n' "$quiet" >"$out/$1.bat"
    (cd "$out" && wine cmd /c "$1.bat") >"$out/$1.out" 2>"$out/$1.err"
}

# uninstall_silently FOLDER NAME: runs the registered quiet uninstall (output in NAME.out and
# NAME.err) and waits for the folder to go: the uninstaller removes itself and the folder from
# a copy of itself in the user's temporary folder, after it returns.
uninstall_silently() {
    quiet_uninstall "$2" || fail "the quiet uninstall of $1 ended with code $?"
    within 20 test ! -e "$1" || true
    wineserver -w
    [ ! -e "$1" ] || fail "$1 is still there: $(cd "$1" && find .)"
}

# refused WHAT STATE COMMAND...: COMMAND, which the running tuner must make fail, ends with a
# code other than 0 (set in code) and leaves what STATE prints as it was, the tuner still shown.
refused() {
    local what=$1 state=$2
    shift 2
    "$state" >"$out/before-refusal.txt"
    code=0
    "$@" || code=$?
    [ "$code" -ne 0 ] || fail "$what ended with code 0 while Vibralon runs"
    "$state" >"$out/after-refusal.txt"
    diff "$out/before-refusal.txt" "$out/after-refusal.txt" >"$out/refusal.diff" ||
        fail "$what while Vibralon runs changed something: $(head -n 5 "$out/refusal.diff")"
    xdotool search --onlyvisible --name '^Vibralon$' >/dev/null || fail "the tuner is gone after $what"
}

# The installer's page, after a second's pause, gone on by Return as often as the arguments say.
next_page() {
    for _ in "$@"; do
        xdotool sleep 1 windowactivate --sync "$page" key Return
    done
}

# --- 1. silent install -----------------------------------------------------------------------
wine "$installer" /S >"$out/install.out" 2>"$out/install.err" || fail "the installer failed"
cmp -s "$folder/vibralon.exe" "$windows_build/app/vibralon.exe" ||
    fail "Program Files\\Vibralon\\vibralon.exe is missing or not the one built"
cmp -s "$folder/vibralon-listen.exe" "$windows_build/app/listen/vibralon-listen.exe" ||
    fail "Program Files\\Vibralon\\vibralon-listen.exe is missing or not the one built"
cmp -s "$folder/help/guide.htm" "$repo/help/guide.htm" ||
    fail "Program Files\\Vibralon\\help\\guide.htm is missing or not the guide"
# (The uninstaller is run below; lnkinfo fails on a missing shortcut.)
lnkinfo "$shortcut" >"$out/shortcut.txt" 2>"$out/shortcut.err" || fail "lnkinfo cannot read the Start menu's shortcut"
grep -Eq $'Local path\t+: C:\\\\Program Files\\\\Vibralon\\\\vibralon\\.exe$' "$out/shortcut.txt" ||
    fail "the shortcut does not start Program Files\\Vibralon\\vibralon.exe: $(grep 'Local path' "$out/shortcut.txt")"
grep -Eq $'Working directory\t+: C:\\\\Program Files\\\\Vibralon$' "$out/shortcut.txt" ||
    fail "the shortcut's working folder is not the install folder: $(grep 'Working directory' "$out/shortcut.txt")"
# The terms that come with a binary release: ours, and those of what is linked in statically.
for notice in 'Copyright (c) 2026 The Vibralon developers' 'stb_image' \
    'libjpeg-turbo Licenses' 'Independent JPEG Group' 'mingw-w64-libraries/winpthreads' \
    'GCC RUNTIME LIBRARY EXCEPTION'; do
    grep -aqF "$notice" "$folder/notices.txt" 2>/dev/null ||
        fail "Program Files\\Vibralon\\notices.txt is missing or lacks '$notice'"
done
[ "$(uninstall_value DisplayName)" = Vibralon ] || fail "Add/Remove Programs lists no Vibralon"
[ "$(uninstall_value DisplayVersion)" = "$version" ] ||
    fail "Add/Remove Programs says version '$(uninstall_value DisplayVersion)', not $version"
# The size Add/Remove Programs shows, in KiB: that of the installed files, give or take 5 %.
estimated=$(uninstall_value EstimatedSize) || true
[[ "$estimated" =~ ^0x[0-9a-fA-F]+$ ]] || fail "no EstimatedSize in the entry: '$estimated'"
installed_kib=$(find "$folder" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
if [ $((estimated * 20)) -lt $((installed_kib * 19)) ] ||
    [ $((estimated * 20)) -gt $((installed_kib * 21)) ]; then
    fail "EstimatedSize $((estimated)) KiB, but the installed files take $installed_kib KiB"
fi
[ "$(uninstall_value UninstallString)" = '"C:\Program Files\Vibralon\uninstall.exe"' ] ||
    fail "Add/Remove Programs does not name the uninstaller: $(uninstall_value UninstallString)"
echo "installed: program, help, notices, shortcut in the install folder, Add/Remove Programs entry ($version, $((estimated)) KiB)"

# --- 2. started while the installer's pages are open; the help button opens the installed guide
# Past the welcome page, the program starts from its shortcut; Install then asks for it to be
# closed, and Cancel leaves the installed version whole.
# The question: a second window titled as the installer, with Retry and Cancel.
question_shown() { [ "$(xwininfo -root -tree | grep -c '"Vibralon [^"]* Setup *"')" -ge 2 ]; }
# The installer's pages open, the program started from its shortcut past the first; at Install
# the question, answered Cancel: the installer's exit code.
install_past_a_start() {
    wine "$installer" >"$out/late-start.out" 2>"$out/late-start.err" &
    local asking_pid=$!
    track_pid "$asking_pid"
    page=$(find_window '^Vibralon .* Setup$' 20) || fail "the installer shows no page"
    next_page welcome
    wine start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Vibralon.lnk' \
        >"$out/start.out" 2>"$out/start.err" || fail "the shortcut did not start"
    wid=$(find_window '^Vibralon$' 20) || fail "the program started from its shortcut shows no window \"Vibralon\""
    next_page licence folder
    within 10 question_shown || fail "Install while Vibralon runs asked nothing"
    import -window root "$out/late-start-question.png"
    xdotool key Escape
    next_page cancel
    ended_within "$asking_pid" 10 || fail "the installer did not end after Cancel"
    return "$exit_code"
}
refused "the installer cancelled at Install" installed_state install_past_a_start
[ "$(vibralon_entries)" = 1 ] || fail "after the cancelled install Add/Remove Programs lists Vibralon $(vibralon_entries) times"
echo "started past the first page: Install asked, Cancel ended it with code $code, nothing changed"
xdotool mousemove --window "$wid" 338 32 click 1
within 10 test -s "$out/opened" || fail "the help button opened nothing"
opened=$(tr -d '\r\n' <"$out/opened")
[ "$opened" = 'C:\Program Files\Vibralon\help\guide.htm' ] || fail "the help button opened '$opened'"
echo "help: the shell was asked to open $opened"

# Uninstalling now would pull the files from under the running program: refused, and the
# registered quiet uninstall's exit code says so.
refused "the quiet uninstall" list_drive_c quiet_uninstall refused
[ "$(uninstall_value DisplayName)" = Vibralon ] || fail "the refused uninstall removed the entry"
echo "uninstall while running: refused with code $code, nothing removed"

# Installing over it would fail to write the running program, half-way: refused before anything.
silent_install() { wine "$installer" /S >"$out/install-refused.out" 2>"$out/install-refused.err"; }
refused "the silent installer" installed_state silent_install
echo "install while running: refused silently with code $code, nothing changed"
wmctrl -c Vibralon
no_tuner_window() { ! xdotool search --name '^Vibralon$' >/dev/null 2>&1; }
within 10 no_tuner_window || true
wineserver -w

# --- 3. silent uninstall -----------------------------------------------------------------------
uninstall_silently "$folder" uninstall
[ ! -e "$shortcut" ] || fail "the Start-menu shortcut is still there"
[ -z "$(uninstall_value DisplayName)" ] || fail "Add/Remove Programs still lists Vibralon"
# Nothing else either.
list_drive_c >"$out/after-uninstall.txt"
diff "$out/before-install.txt" "$out/after-uninstall.txt" >"$out/left-behind.txt" ||
    fail "the uninstall left files behind, or took some: $(grep '^[<>]' "$out/left-behind.txt" | head -n 5)"
echo "uninstalled: nothing left behind"

# --- 4. an upgrade over an older version installed elsewhere ------------------------------------
# The older version: this installer's script at version 0.0.1, with a program told apart by a
# few bytes at its end (which Windows ignores).
mkdir -p "$out/older"
cp "$windows_build/app/vibralon.exe" "$out/older/vibralon.exe"
printf 'older' >>"$out/older/vibralon.exe"
makensis -V2 -DVERSION=0.0.1 -DPROGRAM="$out/older/vibralon.exe" \
    -DLISTEN="$windows_build/app/listen/vibralon-listen.exe" -DGUIDE="$repo/help/guide.htm" \
    -DICON="$repo/ui/skin/art/MAINICON.ico" -DLICENSE="$repo/LICENSE" \
    -DNOTICES="$windows_build/notices.txt" -DOUTFILE="$out/older/VibralonSetup.exe" \
    "$repo/dist/windows/installer.nsi" >"$out/makensis.out" 2>"$out/makensis.err" ||
    fail "makensis could not make the older installer"
wine "$out/older/VibralonSetup.exe" /S '/D=C:\Tuner' >"$out/older.out" 2>"$out/older.err" ||
    fail "the older installer failed"
cmp -s "$drive_c/Tuner/vibralon.exe" "$out/older/vibralon.exe" || fail "the older version is not in C:\\Tuner"
# Run as a user would: Next, I Agree, Install (into the folder it offers), then Finish with "Run
# Vibralon" ticked, which starts the program as its shortcut does, in its folder.
wine "$installer" >"$out/upgrade.out" 2>"$out/upgrade.err" &
upgrading_pid=$!
track_pid "$upgrading_pid"
page=$(find_window '^Vibralon .* Setup$' 20) || fail "the upgrade shows no page"
next_page welcome licence folder
# The finish page comes once the files are in.
within 30 cmp -s "$drive_c/Tuner/vibralon.exe" "$windows_build/app/vibralon.exe" ||
    fail "the upgrade did not put the new program in C:\\Tuner"
xdotool sleep 2 windowactivate --sync "$page" key Return
upgraded=0
wait "$upgrading_pid" || upgraded=$?
[ "$upgraded" -eq 0 ] || fail "the upgrade ended with code $upgraded"
ran_window=$(find_window '^Vibralon$' 20) || fail "\"Run Vibralon\" on the finish page started no tuner"
# The installer started it, not this test: its process is the one Wine names as the window's own,
# on this test's display.
ran=$(xdotool getwindowpid "$ran_window") || fail "the tuner's window names no process"
upgraded_tuner_gone() {
    local state
    state=$(cut -d')' -f2 "/proc/$ran/stat" 2>/dev/null | cut -d' ' -f2) || return 0
    [ -z "$state" ] || [ "$state" = Z ]
}
[ "$(readlink "/proc/$ran/cwd")" = "$drive_c/Tuner" ] ||
    fail "\"Run Vibralon\" started the tuner in $(readlink "/proc/$ran/cwd"), not its folder"
wmctrl -c Vibralon
within 10 upgraded_tuner_gone || fail "the tuner run from the finish page did not close"
wineserver -w
[ "$(vibralon_entries)" = 1 ] || fail "after the upgrade Add/Remove Programs lists Vibralon $(vibralon_entries) times"
[ "$(uninstall_value DisplayVersion)" != 0.0.1 ] || fail "after the upgrade the entry still says 0.0.1"
location=$(uninstall_value InstallLocation)
[ "$location" = 'C:\Tuner' ] || fail "the upgrade went to '$location', not where the older version was"
programs=$(cd "$drive_c" && find . -iname vibralon.exe)
[ "$programs" = ./Tuner/vibralon.exe ] || fail "after the upgrade the programs on C: are: $programs"
cmp -s "$drive_c/Tuner/vibralon.exe" "$windows_build/app/vibralon.exe" ||
    fail "after the upgrade C:\\Tuner\\vibralon.exe is not the new program"
echo "upgrade over 0.0.1 in C:\\Tuner: one entry ($(uninstall_value DisplayVersion)), the new program there alone"
uninstall_silently "$drive_c/Tuner" uninstall-upgrade
[ ! -e "$shortcut" ] || fail "the upgraded version's shortcut is still there"
[ "$(vibralon_entries)" = 0 ] || fail "Add/Remove Programs still lists Vibralon"
echo "upgraded version uninstalled: folder, shortcut and entry gone"
echo "PASS"
