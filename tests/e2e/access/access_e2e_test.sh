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
client=$repo/tests/e2e/access/atspi_client.py

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
session_begin "$out" 40 '*.err' 'events.log'
mkdir "$out/home"
x11_exact_pixels_env
stub_xdg_open "$out"
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
tone_wav "$out/tone110.wav" 120
play "$out/tone110.wav"

start_tuner tuner "$tuner"
wid=$(find_window '^Vibralon$' 20) || fail "the tuner's window did not appear"
step "window $wid up"

"$python" "$client" events 100 >"$out/events.log" 2>"$out/events.err" &
track_pid $!
within 20 grep -q '^ready' "$out/events.log" || fail "the event client is not listening"

# heard PATTERN [SECONDS]: whether an event line matching PATTERN came within SECONDS (3).
heard() { within "${2:-3}" grep -qE "$1" "$out/events.log"; }
# Whether String E6 was heard focused $1 times or more.
e6_focused() { [ "$(grep -c '^focus String E6$' "$out/events.log")" -ge "$1" ]; }

# --- 1. The tree and the announcement ---------------------------------------------------------
reading_is_a() {
    "$python" "$client" tree >"$out/tree.txt" 2>"$out/tree.err" &&
        grep -qE '^label \| A(,|$)' "$out/tree.txt"
}
within 10 reading_is_a || fail "the reading does not name A: $(cat "$out/tree.txt")"
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
xdotool windowactivate --sync "$wid" key 6
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
within 3 e6_focused 2 || fail "Shift+Tab from A5: no focus event on String E6"
# The keyboard goes to another window and comes back: the reader hears String E6 focused again.
focus_away_and_back "$wid"
within 3 e6_focused 3 || fail "back to the window: no focus event on String E6"
step "keys: 6 picks E6, Escape lets go, Tab and Shift+Tab move the focus (told again on the window's return), Space picks A5"
xdotool key F1
check_help_opened "F1"
# No application for the help: the opener fails, and the player hears so.
printf '#!/bin/sh\nexit 3\n' >"$out/bin/xdg-open"
xdotool key F1
heard '^announce Help could not be opened$' 5 || fail "F1 with no application: nothing said"
stub_xdg_open "$out"
# A click takes the keyboard focus along; then A5 is picked and E6 focused again, as before.
click 53 221
heard '^focus String D4$' || fail "a click on D4 did not move the focus there"
xdotool key 5 shift+Tab
eventually 3 same "$skin/LA5.jpg" 24 120 || fail "key 5 after the click: LA5 does not show"
step "a click on D4 took the focus there; F1 with no application said 'Help could not be opened'"

# No block for 3 s (the guitar's sink, and so its monitor, suspended as when a device goes): the
# reading says so, announced once, and the readings come back by themselves with the blocks.
pactl suspend-sink guitar 1 || fail "the guitar's sink could not be suspended"
heard '^announce Not listening$' 8 || fail "no block for 3 s: 'Not listening' was not announced"
sleep 4
[ "$(grep -c '^announce Not listening$' "$out/events.log")" -eq 1 ] ||
    fail "'Not listening' was announced more than once"
# Back in silence: the player is told the tuner hears again, once, before any note.
kill "$player_pid"
pactl suspend-sink guitar 0 || fail "the guitar's sink could not be resumed"
after_loss() { sed '1,/^announce Not listening$/d' "$out/events.log"; }
listening_back() { after_loss | grep -qx 'announce Listening'; }
within 10 listening_back || fail "back in silence: 'Listening' was not announced"
play "$out/tone110.wav"
readings_back() { after_loss | grep -qx 'announce in tune'; }
within 10 readings_back || fail "the readings did not come back after 'Not listening'"
[ "$(after_loss | grep -c '^announce Listening$')" -eq 1 ] || fail "'Listening' was said more than once"
step "no block for 3 s: 'Not listening' announced once; back in silence, 'Listening' once; the readings came back"

# --- 4. Orca, as heard --------------------------------------------------------------------------
# Orca speaks through speech-dispatcher, which it starts itself, into a sink of its own whose
# monitor is recorded: stretches of sound are what the user heard, and when. What Orca was given
# is in its debug log, which it writes in blocks: read whole once Orca has ended. Orca runs once
# at each rate of VIBRALON_ACCESS_RATES (its default, 50, then a slow listener's 25), each time
# for a tuning of the string of MIDI note VIBRALON_ACCESS_NOTE by ear (the D string, 50).
parec -d speakers.monitor --rate=16000 --channels=1 --format=s16le --raw 2>"$out/parec.err" |
    "$repo/tests/e2e/access/heard.py" record "$out/speech.raw" "$out/recording.stamps" &
track_pid $!
# One speech server for every Orca of the test: one that Orca starts ends a few seconds after
# its Orca, and the next Orca may find it on its way out and speak to nobody.
speech-dispatcher -s -t 0 >"$out/speechd.out" 2>"$out/speechd.err" &
track_pid $!
within 10 test -S "$HOME/.cache/speech-dispatcher/speechd.sock" || fail "speech-dispatcher did not start"
read -ra rates <<<"${VIBRALON_ACCESS_RATES:-50 25}"
note=${VIBRALON_ACCESS_NOTE:-50}
declare -A digit_of=([40]=6 [45]=5 [50]=4 [55]=3 [59]=2 [64]=1)
[ -n "${digit_of[$note]:-}" ] || fail "VIBRALON_ACCESS_NOTE $note is no open string"

# Orca at RATE (its settings file, as its preferences write it), in a session of its own so that
# it and only it can be ended; waits until it reads the window. Sets orca_pid and orca_log.
start_orca() {
    local rate=$1
    mkdir -p "$HOME/.local/share/orca"
    printf '{"general": {"startingProfile": ["Default", "default"]}, "pronunciations": {},
"keybindings": {}, "profiles": {"default": {"profile": ["Default", "default"],
"voices": {"default": {"rate": %s}}}}}\n' "$rate" >"$HOME/.local/share/orca/user-settings.conf"
    orca_log=$out/orca$rate.debug
    setsid timeout 200 orca --replace --debug-file="$orca_log" >"$out/orca$rate.out" \
        2>"$out/orca$rate.err" &
    orca_pid=$!
    track_pid "$orca_pid"
    within 30 grep -qs "SPEECH OUTPUT: 'Vibralon frame" "$orca_log" ||
        fail "Orca at rate $rate did not start reading the window"
}

# Ends Orca and what it started in its session; Orca may hang on its way out (a call to a
# program that has gone), and what it said is logged by then.
stop_orca() {
    kill -- -"$orca_pid" 2>/dev/null || true
    if ! ended_within "$orca_pid" 10; then
        kill -KILL -- -"$orca_pid" 2>/dev/null || true
        ended_within "$orca_pid" 5 || fail "Orca did not end"
    fi
}

# Tuning by ear: the string is picked by its digit, then plucked every 2.5 s and bent from 40
# cents flat to pitch over 15 s and held 10 s. Speech must keep pace with it. Sets
# tuning_start, tuning_stop and tuning_end.
tune_by_ear() {
    xdotool key "${digit_of[$note]}" sleep 4
    [ -s "$out/bend$note.wav" ] || "$repo/tests/support/render-guitar" "$out/bend$note.wav" \
        "$note" 2.5 10 -40 15 || fail "the guitar could not be rendered"
    tuning_start=$(date +%s.%N)
    paplay --device=guitar "$out/bend$note.wav" 2>>"$out/paplay.err" || fail "the guitar did not play"
    tuning_stop=$(date +%s.%N)
    sleep 8
    # What the close makes Orca say is not the tuning's.
    tuning_end=$(date +%s.%N)
    xdotool key Escape
}

# How the tuning was heard at RATE: in pace, and the words never sent the player the wrong way.
check_tuning() {
    local rate=$1 pace lag tail readings
    pace=$(awk -v r="$rate" 'BEGIN { w = (r < 50) ? 170 + 90 * (2 * r - 98) / 100 : 170 + 279 * (2 * r - 98) / 100; print 176 / w }')
    HEARD_PACE=$pace "$repo/tests/e2e/access/heard.py" "$out/speech.raw" "$out/recording.stamps" \
        "$orca_log" "$tuning_stop" "$tuning_start" "$tuning_end" >"$out/heard$rate.txt" ||
        fail "tuning by ear at rate $rate: $(cat "$out/heard$rate.txt")"
    lag=$(sed -n 's/^worst lag //p' "$out/heard$rate.txt")
    tail=$(sed -n 's/^tail //p' "$out/heard$rate.txt")
    readings=$(grep -c notification "$out/heard$rate.txt" || true)
    step "tuning by ear at rate $rate: $readings readings heard, worst lag $lag s, last words end $tail s after the string"
    awk -v lag="$lag" -v tail="$tail" 'BEGIN { exit !(lag <= 3 && tail <= 4.5) }' ||
        fail "tuning by ear at rate $rate: speech fell behind: $(cat "$out/heard$rate.txt")"
    # Flat all along, then at pitch: never a way to turn, never sharp, and last "in tune".
    ! grep -E 'notification .*(tune up|tune down|sharp|octave)' "$out/heard$rate.txt" ||
        fail "tuning by ear at rate $rate: words that send the player the wrong way"
    grep 'notification' "$out/heard$rate.txt" | tail -n1 | grep -q 'notification in tune\.' ||
        fail "tuning by ear at rate $rate: the string at pitch was not last said in tune"
}

start_orca "${rates[0]}"
xdotool windowactivate --sync "$wid"
# A5 is picked, E6 focused: the focus goes to A5 and back, and Enter picks E6, which rewords
# the reading (tune up).
xdotool key Tab sleep 1 key shift+Tab sleep 1 key Return
heard '^announce A, .*tune up$' 8 || fail "picking E6 by Enter was not announced"
kill "$player_pid" 2>/dev/null || true
tune_by_ear

# Starts with Orca already running, as a desktop starts the program: no always-on switch, no
# key; the window and its focused string are spoken each time.
close_tuner "closed with Orca running"
starts=()
start_count=${VIBRALON_ACCESS_STARTS:-3}
for ((run = 1; run <= start_count; run++)); do
    starts+=("$(date +%s.%N)")
    start_tuner "start$run" env -u QT_LINUX_ACCESSIBILITY_ALWAYS_ON "$tuner"
    find_window '^Vibralon$' 20 >/dev/null || fail "start $run: no window"
    sleep 5
    close_tuner "start $run"
done
starts+=("$(date +%s.%N)")
# Orca writes its log in blocks: the tuner started once more makes it write what came before.
start_tuner tuner QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$tuner"
wid=$(find_window '^Vibralon$' 20) || fail "the tuner's window did not appear again"
sleep 2
stop_orca
said=$(grep -oE "SPEECH OUTPUT: '(String|notification)[^']*'" "$orca_log" | cut -d"'" -f2)
for words in "String A5 check box checked." "String E6 check box not checked." \
    "notification A, in tune, tune up."; do
    grep -qxF "$words" <<<"$said" || fail "Orca did not say '$words'; it said: $said"
done
step "Orca said: $(tr '\n' '/' <<<"$(head -n 6 <<<"$said")")..."
check_tuning "${rates[0]}"
for ((run = 1; run <= start_count; run++)); do
    spoken=$("$repo/tests/e2e/access/heard.py" said "$orca_log" "${starts[run - 1]}" \
        "${starts[run]}")
    { grep -q "Vibralon" <<<"$spoken" && grep -q "String E6" <<<"$spoken"; } ||
        fail "start $run with Orca running: the window was not spoken; Orca said: $spoken"
done
step "$start_count starts with Orca running: the window and String E6 spoken each time"

# The same tuning at the other rates: the tuner reads Orca's rate from its settings as it goes.
for rate in "${rates[@]:1}"; do
    xdotool windowactivate --sync "$wid"
    start_orca "$rate"
    tune_by_ear
    stop_orca
    check_tuning "$rate"
done

close_tuner "closed"

# --- 5. The start-up boxes, with no sound server ----------------------------------------------
start_tuner no_server PULSE_SERVER="unix:$out/nowhere/native" "$tuner"
# The text each box shows (the first two have none).
texts=("" "" "Format not supported")
for k in 0 1 2; do
    caption=${startup_captions[k]} text=${texts[k]}
    said="$out/box$k.txt"
    # The client fails unless a dialog (or alert) named by the caption shows, has an OK button
    # with a Press, and leaves once it is pressed.
    "$python" "$client" box "$caption" >"$said" 2>"$out/box.err" ||
        fail "box '$caption': $(cat "$out/box.err")"
    # What a screen reader reads in it: the caption's words nowhere else, the text if any.
    written=$(grep -E '^(label|text|static) \| ' "$said" | cut -d'|' -f2 | sed 's/^ //; s/ $//' |
        grep -v '^$' || true)
    [ "$written" = "$text" ] || fail "box '$caption' reads '$written', not '$text'"
    step "box \"$caption\"${text:+ (\"$text\")}: read and answered over the bus"
done
tuner_ended "no server"
echo "PASS"
