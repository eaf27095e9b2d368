#!/usr/bin/env bash
# The tuner as a screen reader user meets it on Linux: the real program on a real X server
# (Xvfb, openbox) hearing a private sound server play a 110 Hz tone, read over the AT-SPI bus of
# the test's own session by a client (atspi_client.py) and by Orca, and driven by keys alone.
#
#   1. the tree: the window "Vibralon", six string check boxes (the first focused), the help
#      button described in English, each with its shortcut, the reading naming A; the reading
#      announced (a notification shown)
#   2. the client's "Press" on String A5 lights A5 (pixel check)
#   3. keys alone: 6 picks E6, Escape lets go, Tab moves the focus (focus events), Space
#      presses the focused string, F1 opens the help; a click moves the focus; the source suspended: "Not listening"
#      announced once, and the readings come back
#   4. Orca, heard through a recorded sink: it speaks a focused string and the announced note;
#      tuning the A string by ear (a rendered guitar bent to pitch), no reading is heard more
#      than 3 s after Orca was given it and the last words end at most 4.5 s after the string;
#      started three times with Orca already running, the window is spoken each time
#   5. no sound server: each start-up box in turn is on the bus as a dialog named by its caption,
#      with its text and an OK button, and the client's "Press" on OK brings the next
#
# Usage: access_e2e_test.sh PATH/TO/vibralon OUTPUT_DIR
# VIBRALON_ACCESS_STARTS: how many starts with Orca running (3)
set -euo pipefail

# Everything runs on a session bus of its own, with its own accessibility bus.
if [ -z "${VIBRALON_ACCESS_SESSION:-}" ]; then
    VIBRALON_ACCESS_SESSION=1 exec dbus-run-session -- bash "$0" "$@"
fi

tuner=$(realpath "$1")
out=$(realpath -m "$2")
repo=$(realpath "$(dirname "$0")/../../..")
skin=$repo/ui/skin/art
client=$repo/tests/e2e/access/atspi_client.py

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
session_begin "$out" 40 '*.err' 'events.log'
mkdir "$out/home"
tuner_checks_init "$out" "$skin"
x11_exact_pixels_env
stub_xdg_open "$out"
export PATH="$out/bin:$PATH"
# Nobody's settings are read or written; Qt talks to the bus even with no screen reader on.
export HOME=$out/home GSETTINGS_BACKEND=memory QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Debian's Python, which has the AT-SPI bindings.
python=/usr/bin/python3

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$out/at-spi.out" 2>"$out/at-spi.err" &
track_pid $!
x11_start_desktop "$out"
# Speech goes to speakers of its own, recorded in section 4; the tuner hears the guitar
# (PulseAudio moves the default source to the new default sink's monitor unless told otherwise).
pactl load-module module-null-sink sink_name=speakers >/dev/null || fail "no speakers sink"
pactl set-default-sink speakers || fail "the speakers sink is not the default"
pactl set-default-source guitar.monitor || fail "the guitar is no longer the default source"
sox -n -r 11025 -c 1 -b 16 "$out/tone110.wav" synth 120 sine 110 vol 0.5
play "$out/tone110.wav"

start_tuner tuner "$tuner"
wid=$(find_window '^Vibralon$' 20) || fail "the tuner's window did not appear"
step "window $wid up"

"$python" "$client" events 100 >"$out/events.log" 2>"$out/events.err" &
track_pid $!
eventually 20 grep -q '^ready' "$out/events.log" || fail "the event client is not listening"

# heard PATTERN [SECONDS]: whether an event line matching PATTERN came within SECONDS (3).
heard() {
    eventually "${2:-3}" grep -qE "$1" "$out/events.log"
}

# --- 1. The tree and the announcement ---------------------------------------------------------
reading_is_a() {
    "$python" "$client" tree >"$out/tree.txt" 2>"$out/tree.err" &&
        grep -qE '^label \| A(,|$)' "$out/tree.txt"
}
eventually 10 reading_is_a || fail "the reading does not name A: $(cat "$out/tree.txt")"
grep -qx 'frame | Vibralon |  | .* |  | ' "$out/tree.txt" || fail "no window named Vibralon"
# The first string has the keyboard from the start; each shortcut is the key that does it.
grep -qx "check box | String E6 |  | focusable,focused | Press | 6" "$out/tree.txt" ||
    fail "String E6 is not the focused, unchecked check box with Press and its shortcut 6"
for string in A5 D4 G3 B2 E1; do
    grep -qx "check box | String $string |  | focusable | Press | ${string:1}" "$out/tree.txt" ||
        fail "String $string is not an unchecked check box with Press and its shortcut"
done
grep -qx "push button | Help | Opens the guide | focusable | Press | F1" "$out/tree.txt" ||
    fail "the help button is not a push button described in English, with its shortcut F1"
! grep -q 'progress bar' "$out/tree.txt" || fail "the meter shows as a progress bar"
step "tree: $(grep -c '^check box' "$out/tree.txt") check boxes, help, reading '$(grep '^label' "$out/tree.txt" | cut -d'|' -f2)'"
heard '^announce A(,|$)' || fail "the reading of A was not announced"
step "announced: $(grep -m1 '^announce' "$out/events.log")"

# --- 2. A screen reader's press ---------------------------------------------------------------
"$python" "$client" press "String A5" 2>"$out/press.err" || fail "Press on String A5 failed"
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "Press on String A5: LA5 does not show"
heard '^checked String A5 1$' || fail "Press on String A5: no checked event"
step "Press on String A5: A5 lit, checked"

# --- 3. Keys alone ----------------------------------------------------------------------------
xdotool windowactivate --sync "$wid"
xdotool key 6
eventually 3 same "$skin/LE6.bmp" 24 48 || fail "key 6: LE6 does not show"
same "$skin/A5.bmp" 24 120 || fail "key 6: A5 is not back"
heard '^focus String E6$' || fail "key 6: no focus event on String E6"
heard '^checked String E6 1$' || fail "key 6: no checked event on String E6"
xdotool key Escape
eventually 3 same "$skin/E6.bmp" 24 50 || fail "Escape: E6 is not back"
xdotool key Tab
heard '^focus String A5$' || fail "Tab from E6: no focus event on String A5"
# The focus ring on A5, for the reader's eye (the README shows it).
sleep 0.3
import -window "$wid" "$out/focus.png"
xdotool key space
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "Space on A5: LA5 does not show"
xdotool key shift+Tab
heard '^focus String E6$' 1
[ "$(grep -c '^focus String E6$' "$out/events.log")" -ge 2 ] ||
    fail "Shift+Tab from A5: no focus event on String E6"
# The keyboard goes to another window and comes back: the reader hears String E6 focused again.
xmessage -geometry +0+0 elsewhere &
elsewhere_pid=$!
track_pid "$elsewhere_pid"
xdotool windowactivate --sync "$(xdotool search --sync --class Xmessage | head -n1)"
xdotool windowactivate --sync "$wid"
kill "$elsewhere_pid"
eventually 3 test "$(grep -c '^focus String E6$' "$out/events.log")" -ge 3 ||
    fail "back to the window: no focus event on String E6"
step "keys: 6 picks E6, Escape lets go, Tab and Shift+Tab move the focus (told again on the window's return), Space picks A5"
xdotool key F1
check_help_opened "$out" "$repo" "F1"
# A click takes the keyboard focus along; then A5 is picked and E6 focused again, as before.
click 53 221
heard '^focus String D4$' || fail "a click on D4 did not move the focus there"
xdotool key 5 shift+Tab
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "key 5 after the click: LA5 does not show"
step "a click on D4 took the focus there"

# No block for 3 s (the guitar's sink, and so its monitor, suspended as when a device goes): the
# reading says so, announced once, and the readings come back by themselves with the blocks.
pactl suspend-sink guitar 1 || fail "the guitar's sink could not be suspended"
heard '^announce Not listening$' 8 || fail "no block for 3 s: 'Not listening' was not announced"
sleep 4
[ "$(grep -c '^announce Not listening$' "$out/events.log")" -eq 1 ] ||
    fail "'Not listening' was announced more than once"
pactl suspend-sink guitar 0 || fail "the guitar's sink could not be resumed"
readings_back() { sed '1,/^announce Not listening$/d' "$out/events.log" | grep -q '^announce A'; }
eventually 10 readings_back || fail "the readings did not come back after 'Not listening'"
step "no block for 3 s: 'Not listening' announced once; the readings came back"

# --- 4. Orca, as heard --------------------------------------------------------------------------
# Orca speaks through speech-dispatcher, which it starts itself, into a sink of its own whose
# monitor is recorded: stretches of sound are what the user heard, and when. What Orca was given
# is in its debug log, which it writes in blocks: read whole once Orca has ended.
parec -d speakers.monitor --rate=16000 --channels=1 --format=s16le --raw 2>"$out/parec.err" |
    "$repo/tests/e2e/access/heard.py" record "$out/speech.raw" "$out/recording.stamps" &
track_pid $!
timeout 200 orca --replace --debug-file="$out/orca.debug" >"$out/orca.out" 2>"$out/orca.err" &
orca_pid=$!
track_pid "$orca_pid"
eventually 30 grep -qs "SPEECH OUTPUT: 'Vibralon frame" "$out/orca.debug" ||
    fail "Orca did not start reading the window"
xdotool windowactivate --sync "$wid"
# A5 is picked, E6 focused: the focus goes to A5 and back, and Enter picks E6, which rewords
# the reading (tune up).
xdotool key Tab
sleep 1
xdotool key shift+Tab
sleep 1
xdotool key Return
heard '^announce A, .*tune up$' 8 || fail "picking E6 by Enter was not announced"

# Tuning the A string by ear: 5 picks it, then a steel-string A plucked every 2.5 s is bent from
# 40 cents flat to pitch over 15 s and held 10 s. Speech must keep pace with it.
kill "$player_pid" 2>/dev/null || true
xdotool key 5
sleep 4
"$repo/tests/support/render-guitar" "$out/bend.wav" 45 2.5 10 -40 15 ||
    fail "the guitar could not be rendered"
tuning_start=$(date +%s.%N)
paplay --device=guitar "$out/bend.wav" 2>>"$out/paplay.err" || fail "the guitar did not play"
tuning_stop=$(date +%s.%N)
sleep 8
# What the close makes Orca say is not the tuning's.
tuning_end=$(date +%s.%N)

# Starts with Orca already running, as a desktop starts the program: no always-on switch, no
# key; the window and its focused string are spoken each time.
wmctrl -c Vibralon || fail "wmctrl could not close the window"
ended_within "$tuner_pid" 5 || fail "still running 5 s after the close"
starts=()
start_count=${VIBRALON_ACCESS_STARTS:-3}
for ((run = 1; run <= start_count; run++)); do
    starts+=("$(date +%s.%N)")
    start_tuner "start$run" env -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON "$tuner"
    find_window '^Vibralon$' 20 >/dev/null || fail "start $run: no window"
    sleep 5
    wmctrl -c Vibralon || fail "start $run: wmctrl could not close the window"
    ended_within "$tuner_pid" 5 || fail "start $run: still running 5 s after the close"
done
starts+=("$(date +%s.%N)")
# Orca writes its log in blocks: the tuner started once more makes it write what came before.
start_tuner tuner QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$tuner"
find_window '^Vibralon$' 20 >/dev/null || fail "the tuner's window did not appear again"
sleep 2
kill "$orca_pid" 2>/dev/null || true
# Orca may hang on its way out (a call to a program that has gone); what it said is logged.
if ! ended_within "$orca_pid" 10; then
    # timeout made a process group of its own for Orca: that group, and nothing else, is ended.
    kill -KILL -- "-$orca_pid" 2>/dev/null || true
    ended_within "$orca_pid" 5 || fail "Orca did not end"
fi
said=$(grep -oE "SPEECH OUTPUT: '(String|notification)[^']*'" "$out/orca.debug" | cut -d"'" -f2)
for words in "String A5 check box checked." "String E6 check box not checked." \
    "notification A, in tune, tune up."; do
    grep -qxF "$words" <<<"$said" || fail "Orca did not say '$words'; it said: $said"
done
step "Orca said: $(tr '\n' '/' <<<"$(head -n 6 <<<"$said")")..."
"$repo/tests/e2e/access/heard.py" "$out/speech.raw" "$out/recording.stamps" \
    "$out/orca.debug" "$tuning_stop" "$tuning_start" "$tuning_end" >"$out/heard.txt" ||
    fail "tuning by ear: $(cat "$out/heard.txt")"
lag=$(sed -n 's/^worst lag //p' "$out/heard.txt")
tail=$(sed -n 's/^tail //p' "$out/heard.txt")
step "tuning by ear: $(grep -c notification "$out/heard.txt") readings heard, worst lag $lag s, last words end $tail s after the string"
awk -v lag="$lag" -v tail="$tail" 'BEGIN { exit !(lag <= 3 && tail <= 4.5) }' ||
    fail "tuning by ear: speech fell behind: $(cat "$out/heard.txt")"
for ((run = 1; run <= start_count; run++)); do
    spoken=$("$repo/tests/e2e/access/heard.py" said "$out/orca.debug" "${starts[run - 1]}" \
        "${starts[run]}")
    { grep -q "Vibralon" <<<"$spoken" && grep -q "String E6" <<<"$spoken"; } ||
        fail "start $run with Orca running: the window was not spoken; Orca said: $spoken"
done
step "$start_count starts with Orca running: the window and String E6 spoken each time"

wmctrl -c Vibralon || fail "wmctrl could not close the window"
ended_within "$tuner_pid" 5 || fail "still running 5 s after the close"
[ "$exit_code" -eq 0 ] || fail "exit code $exit_code after the close"

# --- 5. The start-up boxes, with no sound server ----------------------------------------------
start_tuner no_server PULSE_SERVER="unix:$out/nowhere/native" "$tuner"
# caption, then the text its box shows (the first two have none).
boxes=("No sound card installed !" "" "Cannot determine sound card capabilities !" ""
    "Recorder" "Format not supported")
for ((k = 0; k < ${#boxes[@]}; k += 2)); do
    caption=${boxes[k]} text=${boxes[k + 1]}
    said="$out/box$((k / 2)).txt"
    "$python" "$client" box "$caption" >"$said" 2>"$out/box.err" ||
        fail "box '$caption': $(cat "$out/box.err")"
    head -n1 "$said" | grep -qE "^(dialog|alert) \| $caption \|" ||
        fail "box '$caption' is not a dialog named by its caption: $(head -n1 "$said")"
    # What a screen reader reads in it: the caption's words nowhere else, the text if any.
    written=$(grep -E '^(label|text|static) \| ' "$said" | cut -d'|' -f2 | sed 's/^ //; s/ $//' |
        grep -v '^$' || true)
    [ "$written" = "$text" ] || fail "box '$caption' reads '$written', not '$text'"
    grep -qE '^push button \| OK \| .*\| Press(,|$)' "$said" || fail "box '$caption': no OK button"
    grep -qx 'answered' "$said" || fail "box '$caption' was not answered through its OK"
    step "box \"$caption\"${text:+ (\"$text\")}: read and answered over the bus"
done
expect_clean_exit "$tuner_pid" "$out/no_server.err" "no server"
echo "PASS"
