#!/usr/bin/env bash
# The Windows program under Wine, real parts only: the real winmm hearing a private PulseAudio
# server, a real X server with a window manager, the mouse driven with xdotool and the window
# read from screenshots compared with the skin.
#
#   0. the program imports no call that Windows 7 and 8.1 lack; the help hint keeps its accents
#      under a Western and a Cyrillic code page
#   1. the window titled "Vibralon" appears; its client area equals the skin model's
#      composition pixel for pixel, in the system's button-face colour where the skin leaves it
#   2. a 110 Hz tone: note A, the middle bar alone lit, the lamp blinking; A5, E6 and LE6 with
#      their arrows; dragging the body moves the window by the drag; a press held on the lamp
#      while blocks come moves nothing; a press the window loses to a box opened over it leaves
#      no hold behind
#   2b. a screen reader's view through MSAA (a client in another process): nine children with
#      their roles, names, shortcuts, places and hit tests, the first string focused, the reading
#      naming A, the announcement; its press on String A5 lights A5. The keys: 6 picks E6,
#      Escape lets go and says so, the reading after it waits until that can have been said
#      (as on Linux), Ctrl+6 does nothing, Tab moves the focus and Space presses (the client
#      hears both), R reads the reading out (the live region), F1 opens the help
#   3. closing: exit code 0 within 2 s; started as a shortcut set to run minimized, the window
#      opens minimized, and closed while readings come the program ends with 0
#   4. a 200 % screen: the 2x art's composition pixel for pixel; a 150 % screen: the 2x
#      composition scaled smoothly to 75 %; at 200 % the client's places in its pixels
#   5. no sound server: the three messages in order, each caption whole, then exit code 0
#   6. no input device at start (a server with no source): the recorder's message, then the
#      window; once a device comes, the tone's A shows. The server then stops: the reading says
#      "Not listening" and it is announced; the window closed while the server is down
#      ends the program with exit code 0 within 3 s
#   7. the server hung (stopped, as by SIGSTOP) under a tuner that hears it, then the window
#      closed: exit code 0 within 3 s, five times of five
#
#   tuner_wine_test.sh WINDOWS_BUILD_DIR PATH/TO/skin_composition OUT_DIR
set -euo pipefail

windows_build=$(realpath "$1")
composition=$(realpath "$2")
out=$(realpath -m "$3")
repo=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/support/x11/message_boxes.sh
source "$repo/tests/support/x11/message_boxes.sh"
# shellcheck source=tests/support/wine/wine-session.sh
source "$repo/tests/support/wine/wine-session.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
session_begin "$out" 30 '*.err' 'wineboot.log'

tuner=$windows_build/app/vibralon.exe
probe=$windows_build/tests/wine/message_box_probe.exe
hint_probe=$windows_build/tests/wine/hint_probe.exe
launch_probe=$windows_build/tests/wine/launch_probe.exe
msaa_probe=$windows_build/tests/wine/msaa_probe.exe
for program in "$tuner" "$probe" "$hint_probe" "$launch_probe" "$msaa_probe"; do
    wine_require_program "$program"
done

# --- 0. What any Windows it installs on must have; the hint's text ----------------------------------
# The per-monitor DPI calls came with Windows 10 1607: imported, the program would not start on
# the Windows 7 and 8.1 its installer admits.
imports=$(x86_64-w64-mingw32-objdump -p "$tuner") || fail "objdump cannot read $tuner"
for call in GetDpiForSystem GetDpiForWindow AdjustWindowRectExForDpi GetSystemMetricsForDpi \
    SystemParametersInfoForDpi; do
    ! grep -qw "$call" <<<"$imports" || fail "vibralon.exe imports $call, which Windows 7 lacks"
done
step "no import that Windows 7 lacks"
wine_use_prefix "$out"
wine_start_desktop_session "$out"
# The help button's hint as its tip control holds it, under code page 1252 and 1251: Wine's
# code page follows the locale's name, generated or not.
# The probe prints the code page it ran under, then the hint.
hint_reads() {
    local expected="code page $1"$'\n'"Acc\\u00e9s \\u00e0 l'aide" shown
    shown=$(LC_ALL=$2 LANG=$2 wine_console "$hint_probe" 2>"$out/hint$1.err") || fail "the hint probe failed under $2"
    [ "$shown" = "$expected" ] || fail "under $2 the hint probe says '${shown//$'\n'/ | }', not '${expected//$'\n'/ | }'"
}
hint_reads 1252 en_US.UTF-8
hint_reads 1251 ru_RU.UTF-8
step "the hint keeps its accents under code pages 1252 and 1251"
# A button face of our own, so that the window colour is seen to be the system's.
face="200 180 160"
wine reg add 'HKCU\Control Panel\Colors' /v ButtonFace /t REG_SZ /d "$face" /f \
    >"$out/reg.out" 2>"$out/reg.err" || fail "cannot set the button face colour"
wine_record_htm_opens "$out"
tone_wav "$out/tone110.wav"

# The skin model's composition of the window at art scale $2, in our button face, to
# OUT/$1-off.ppm and OUT/$1-on.ppm (the lamp lit).
compose() {
    local lamp
    for lamp in off lit; do
        # shellcheck disable=SC2086 # the colour is three numbers
        "$composition" "$out/$1-${lamp/lit/on}.ppm" $face "$lamp" "$2" || fail "cannot compose the skin"
    done
}

# --- 1. The window as it opens, in silence -----------------------------------------------------
# Silence from the sink's monitor: blocks come, the lamp blinks, no note is drawn.
compose opened 1
start_tuner tuner wine "$tuner"
wid=$(find_window '^Vibralon$' 30) || fail "the tuner's window did not appear"
step "window $wid up"
[ "$(client_size)" = 423x328 ] || fail "the client area is $(client_size), not 423x328"
# Equal to the composition $art-off or $art-on, every pixel; when $percent is other than 100, to
# that composition scaled smoothly to $percent %, all but $allowed pixels within $fuzz % of it (the two
# smooth scalings filter a little differently; at 150 % a nearest-neighbour scaling of the 2x art
# leaves about 600 pixels beyond 20 %, the 1x art in blocks about 3700, a smooth one about 60).
art=opened
# The MSAA places are skin pixels times this.
scale=1
percent=100
fuzz=0
allowed=0
composed() {
    local lamp differing
    for lamp in off on; do
        convert "$out/$art-$lamp.ppm" -resize "$percent%" "$out/expected.ppm"
        differing=$(pixels_differ "$shot" "$out/expected.ppm" -fuzz "$fuzz%")
        [[ "$differing" =~ ^[0-9]+$ ]] && [ "$differing" -le "$allowed" ] && return 0
    done
    return 1
}
eventually 5 composed || fail "the client area differs from the skin's composition ($shot)"
step "client area 423x328 equals the skin's composition"

# --- 2. A steady tone: the read-out, the strings, moving -----------------------------------------
play "$out/tone110.wav"
check_tone_a
check_lamp_blinks
check_strings
check_drag

check_lamp_press_held

# Pressed on the body, then a box opens over the window (disabling it, as any dialog owned by it
# does) and the button is let go there: the press must not stay held, or the next click, on A5,
# would go to the body.
read -r x0 y0 < <(client_origin)
xdotool mousemove --window "$wid" 103 50 mousedown 1 sleep 0.3
show_box Taker "" wine "$probe" Taker "A box over the tuner" Vibralon
xdotool mouseup 1
answer_box
[ "$box_exit" -eq 0 ] || fail "the box over the tuner ended with $box_exit"
sleep 0.5
click 54 149 # A5
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "after a press lost to a box, a click on A5 does not light it ($shot)"
[ "$(client_origin)" = "$x0 $y0" ] || fail "after a press lost to a box the window moved to $(client_origin)"
# Past the double-click time: a second press there would be a double-click, not a click.
sleep 0.6
click 54 149 # A5 off again
step "a press lost to a box: the next click lights A5"

# --- 2b. A screen reader's view (MSAA) and the keys -------------------------------------------------
# The tree as the client reads it, to $out/msaa-$1.txt; msaa_child N prints child N's line.
msaa_tree() {
    msaa_tree_file=$out/msaa-$1.txt
    # Once in many runs on a loaded machine Wine's cross-process call stalled with nothing said;
    # a second client is asked before the test fails.
    wine_console "$msaa_probe" tree >"$msaa_tree_file" 2>>"$out/msaa.err" ||
        wine_console "$msaa_probe" tree >"$msaa_tree_file" 2>>"$out/msaa.err" ||
        fail "the MSAA client cannot read the window (see $out/msaa.err)"
}
msaa_child() {
    grep "^child $1 " "$msaa_tree_file" || fail "the client sees no child $1 ($msaa_tree_file)"
}
# Child $1's line matches the extended expression $2, or the test fails saying $3 and the line.
msaa_has() { msaa_child "$1" | grep -qE "$2" || fail "$3: $(msaa_child "$1")"; }
# Child $1's place on screen equals the client area's corner plus $2 $3, $4 x $5 (skin pixels
# times $scale).
msaa_place_is() {
    local x y
    read -r x y < <(client_origin)
    msaa_child "$1" | grep -q "| $((x + scale * $2)) $((y + scale * $3)) $((scale * $4)) $((scale * $5)) |" ||
        fail "child $1 is not at $2,$3 ${4}x$5 times $scale: $(msaa_child "$1")"
}

# The tone still plays and no string is picked.
eventually 3 same "$skin/A5.bmp" 24 120 || fail "A5 is still picked before the MSAA checks"
msaa_tree tone
# The last click, on A5, took the keyboard focus there.
grep -q '^client Vibralon children 9 focus 2$' "$msaa_tree_file" ||
    fail "not 9 children with the focus on the string last clicked: $(head -n1 "$msaa_tree_file")"
names=("String E6" "String A5" "String D4" "String G3" "String B2" "String E1")
for i in 1 2 3 4 5 6; do
    # Each with its shortcut, the digit in its name.
    msaa_child "$i" | grep -qE "^child $i checkbutton focusable(,focused)? \| ${names[$((i - 1))]} \| Press \| ${names[$((i - 1))]: -1} \|  \| .* \| hit $i\$" ||
        fail "child $i is not an unchecked check button ${names[$((i - 1))]} with its shortcut: $(msaa_child "$i")"
done
msaa_child 7 | grep -q '^child 7 pushbutton focusable | Help | Press | F1 | Opens the guide | .* | hit 7$' ||
    fail "child 7 is not the help button, described in English, with its shortcut F1: $(msaa_child 7)"
msaa_has 8 '^child 8 statictext readonly \| A, .* \| hit 8$' "the reading does not name A"
# The last words announced: A's, or A5's own while it was picked ("in tune").
msaa_has 9 '^child 9 statictext readonly \| (A, |in tune)' "the announcement is not the reading of A"
msaa_place_is 2 24 120 59 58
# Readers that walk the tree by navigation meet the children in order, both ways, and stop.
grep -qx 'navigate 1 2 3 4 5 6 7 8 9 | 9 8 7 6 5 4 3 2 1' <(tr -d '\r' <"$msaa_tree_file") ||
    fail "navigation: $(grep '^navigate' "$msaa_tree_file")"
step "MSAA: 9 children in navigation order, the reading: $(msaa_child 8 | cut -d'|' -f2)"

[ "$(wine_console "$msaa_probe" press 2 2>>"$out/msaa.err")" = "press 2 ok" ] ||
    fail "the client's press on String A5 failed"
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "the client pressed String A5: LA5 does not show"
msaa_tree pressed
msaa_has 2 '^child 2 checkbutton focusable(,focused)?,checked \| String A5 ' "String A5 pressed is not checked"
step "MSAA: String A5 pressed, lit and checked"

# A client hears the window's events while 6, Escape, Tab, Space and R come.
(exec timeout 40 wine "$msaa_probe" events 14) >"$out/msaa-events.txt" 2>>"$out/msaa.err" &
events_pid=$!
track_pid "$events_pid"
within 10 grep -q '^listening' "$out/msaa-events.txt" || fail "the MSAA client does not listen (see $out/msaa.err)"
xdotool windowactivate --sync "$wid" key 6
eventually 3 same "$skin/LE6.bmp" 24 48 || fail "key 6: LE6 does not show"
same "$skin/A5.bmp" 24 120 || fail "key 6: A5 is not back"
xdotool sleep 3 key Escape
eventually 3 same "$skin/E6.bmp" 24 50 || fail "Escape: E6 is not back"
xdotool key ctrl+6 sleep 0.5
screenshot
same "$skin/E6.bmp" 24 50 || fail "Ctrl+6 picked E6"
# The reading that Escape changed waits until its answer can have been said.
sleep 3
# The digit left the focus on E6: Tab moves it to A5, which Space presses.
xdotool key Tab
msaa_tree tab
grep -q '^client Vibralon children 9 focus 2$' "$msaa_tree_file" ||
    fail "Tab: the client does not see the focus on String A5: $(head -n1 "$msaa_tree_file")"
msaa_has 2 '^child 2 checkbutton focusable,focused \| ' "Tab: String A5 is not focused"
xdotool key space
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "Tab, Space: LA5 does not show"
xdotool key r
# The keyboard goes to another window and comes back: the client hears String A5 focused again.
focus_away_and_back "$wid"
wait "$events_pid" || fail "the MSAA client's listening failed"
heard() {
    tr -d '\r' <"$out/msaa-events.txt" | grep -q "$1" || fail "the client did not hear $2 ($out/msaa-events.txt)"
}
[ "$(tr -d '\r' <"$out/msaa-events.txt" | grep -c '^event focus 2$')" -ge 2 ] ||
    fail "the client did not hear String A5 focused on Tab and again when the window came back ($out/msaa-events.txt)"
heard '^event state 2$' "String A5's state change"
heard '^event live 9 | A, in tune, tune up @' "the reading with E6 picked"
heard '^event live 9 | String E6 let go @' "Escape's answer"
heard '^event live 9 | in tune @' "R read the reading out, A5's own words with A5 picked"
# The same pacing as on Linux: the reading after the answer came once the answer could be said.
paced=$(tr -d '\r' <"$out/msaa-events.txt" | awk -F' @' '
    /^event live 9 \| String E6 let go @/ { said = $2; next }
    said != "" && /^event live 9 \| A, in tune @/ { print $2 - said; exit }')
{ [ -n "$paced" ] && [ "$paced" -ge 2000 ] && [ "$paced" -le 4000 ]; } ||
    fail "the reading after Escape's answer came $paced ms after it, not 2 to 4 s ($out/msaa-events.txt)"
xdotool key F1
within 10 test -s "$out/opened" || fail "F1 opened nothing"
opened=$(tr -d '\r\n' <"$out/opened")
[[ "$opened" == *'help\guide.htm' ]] || fail "F1 opened '$opened'"
step "keys: 6, Escape, Ctrl+6, Tab, Space, R, F1 ($opened); the client heard focus (again on the window's return), state, the reading, Escape's answer and the next reading $paced ms after it, the read-out"

# --- 3. Closing while capture runs ------------------------------------------------------------------
close_tuner "closed" 2
step "closed: exit code 0 after $ended_ms ms"

# Started minimized, as a shortcut can ask; then closed while the readings of the tone come.
launched=$(cd "$repo" && wine_console "$launch_probe" "$(winepath -w "$tuner")" 2>"$out/launch.err") ||
    fail "the launch probe failed"
[ "$launched" = "$(printf 'iconic\nexit 0')" ] ||
    fail "started minimized: '$(tr '\n' ' ' <<<"$launched")', not minimized and exit 0"
step "started minimized: minimized, exit code 0 when closed"

# --- 4. A 200 % screen, in silence -------------------------------------------------------------
kill "$player_pid" 2>/dev/null || true
# The prefix is shared with the other Wine tests: back to 96 dpi however this test ends.
dpi_raised=
normal_dpi() {
    [ -n "$dpi_raised" ] || return 0
    wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || return 1
    dpi_raised=
    # On the way out the wineserver that reg started goes too.
    wineserver -w
}
at_exit normal_dpi
dpi_raised=1
compose dense 2
# At DPI $1 the window is $2 and shows the 2x art as `composed` says.
dense_screen() {
    local dpi=$1 want=$2
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >"$out/reg.out" 2>"$out/reg.err" || fail "cannot set $dpi dpi"
    start_tuner "tuner$dpi" wine "$tuner"
    wid=$(find_window '^Vibralon$' 30) || fail "the tuner's window did not appear at $dpi dpi"
    [ "$(client_size)" = "$want" ] || fail "at $dpi dpi the client area is $(client_size), not $want"
    eventually 5 composed || fail "at $dpi dpi the client area is not the 2x art's ($shot)"
    if [ "$dpi" = 192 ]; then
        scale=2
        msaa_tree 200
        msaa_place_is 2 24 120 59 58
        msaa_has 2 '\| hit 2$' "at 200 % a hit test misses String A5"
    fi
    close_tuner "closed at $dpi dpi" 2
}
art=dense
dense_screen 192 846x656
step "200 %: the 2x art, pixel for pixel, String A5's place doubled"
percent=75
fuzz=20
allowed=300
dense_screen 144 635x492
normal_dpi || fail "cannot set 96 dpi back"
step "150 %: the 2x art scaled smoothly"

# --- 5. No sound server -----------------------------------------------------------------------------
# The white pixels, the lettering, in the title bar over the box found last, its frame shot to
# OUT/$1.frame.png. (A box of Wine's has fewer buttons in its title bar than title_text expects.)
title_letters() {
    import -window "$(xwininfo -id "$box" -children | awk '/Parent window id/ {print $4}')" "$out/$1.frame.png" ||
        fail "no screenshot of the frame of $box"
    convert "$out/$1.frame.png" -crop "x$(xprop -id "$box" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g' | awk '{print $3}')+0+0" \
        +repage -depth 8 txt:- | grep -c '(255,255,255)' || true
}
start_tuner no_server PULSE_SERVER="unix:$out/nowhere/native" wine "$tuner"
letters=()
for i in 0 1 2; do
    caption=${startup_captions[$i]}
    # One box at a time: no other of the tuner's windows shows.
    others=(Vibralon "${startup_captions[@]:0:i}" "${startup_captions[@]:i+1}")
    lone_box "$caption" "$out/box$i.png" --none-of "${others[@]}"
    letters+=("$(title_letters "tuner$i")")
    answer_box
    step "message box '$caption' answered"
done
tuner_ended "no server" 2
# Each caption whole: its title shows as many letter pixels as over a box wide enough for any
# caption (made so by its long text).
for i in 0 1 2; do
    caption=${startup_captions[$i]}
    show_box "$caption" "$out/whole_box$i.png" wine "$probe" "$caption" "A text long enough that its box is wider than any title bar needs to be"
    whole=$(title_letters "probe$i")
    answer_box
    [ "$whole" -gt 0 ] || fail "no lettering found in the title of '$caption' ($out/probe$i.frame.png)"
    [ "${letters[i]}" = "$whole" ] ||
        fail "the caption '$caption' is cut: ${letters[i]} of $whole letter pixels ($out/tuner$i.frame.png)"
done
box_matches "$out/box2.png" Recorder wine "$probe" Recorder "Format not supported" ||
    fail "the Recorder box does not say 'Format not supported'"
step "no server: three boxes in order, each caption whole, exit code 0"

# --- 6. No input device at start, then one; the server down: "Not listening"; closed then -------
wine_source_gone
start_tuner no_device wine "$tuner"
lone_box Recorder "$out/no-device.box.png" --none-of Vibralon
answer_box
box_matches "$out/no-device.box.png" Recorder wine "$probe" Recorder "The driver was not enabled." ||
    fail "no device: the Recorder box does not say 'The driver was not enabled.'"
wid=$(find_window '^Vibralon$' 30) || fail "no device: the window did not appear after the box"
wine_source_back
play "$out/tone110.wav"
came=$SECONDS
check_tone_a
step "no device at start: the recorder's box, the window, then A $((SECONDS - came)) s after a device came"
# The input lost: after 3 s without a block the reading says so, and it was announced (the
# announcement child holds the words last announced).
private_pulse stop
lost_said() {
    msaa_tree server-down
    msaa_child 8 | grep -q '^child 8 statictext readonly | Not listening |' &&
        msaa_child 9 | grep -q '^child 9 statictext readonly | Not listening |'
}
eventually 20 lost_said ||
    fail "server down: the reading and the announcement are not 'Not listening': $(msaa_child 8) / $(msaa_child 9)"
step "server down: the reading says 'Not listening', and it was announced"
close_tuner "closed while the server is down" 3
step "closed while the server is down: exit code 0 after $ended_ms ms"

# --- 7. The server hung under the tuner, then the window closed; five times -------------------
start_private_pulse "$session_pulse_dir"
ended=()
for run in 1 2 3 4 5; do
    play "$out/tone110.wav"
    start_tuner "hung$run" wine "$tuner"
    wid=$(find_window '^Vibralon$' 30) || fail "hung server, run $run: no window"
    eventually 10 same "$(frame 9)" 121 85 || fail "hung server, run $run: the tone's A does not show"
    private_pulse pause
    close_tuner "closed while the server hangs, run $run" 3
    ended+=("$ended_ms")
    private_pulse resume
    kill "$player_pid" 2>/dev/null || true
done
step "closed while the server hangs: exit code 0 in 5 runs of 5, after ${ended[*]} ms"
echo "PASS"
