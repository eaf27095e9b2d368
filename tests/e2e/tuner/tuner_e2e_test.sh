#!/usr/bin/env bash
# The whole tuner, real parts only: the program on a real X server with a window manager, hearing
# a private PulseAudio server that plays a steady tone and a rendered guitar string. It is driven
# with the mouse and read from screenshots compared with the skin's own pictures.
#
#   1. a 110 Hz tone: note A pixel for pixel, the middle bar alone lit, the lamp blinking;
#      the rendered A string: A in most screenshots
#   2. strings: A5 lit with no arrow, then E6 lit (A5 back) with the tune-up arrow, then none;
#      a double-click lights a string once; the help button opens help/guide.htm
#   3. dragging the body moves the window by the drag, on release
#   4. closing while capture runs: exit code 0 within 2 s, the server sees the stream go, and
#      (in a sanitizer build) nothing reported
#   5. no sound server: the three messages in order, then exit code 0
#
# Usage: tuner_e2e_test.sh PATH/TO/vibralon PATH/TO/message_box_probe OUTPUT_DIR
set -euo pipefail

tuner=$(realpath "$1")
probe=$(realpath "$2")
out=$(realpath -m "$3")
repo=$(realpath "$(dirname "$0")/../../..")
skin=$repo/ui/skin
pulse_dir=$out/pulse
rm -rf "$out"
mkdir -p "$out"

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
tuner_checks_init "$out" "$skin"
session_cleanup_on_exit
fail_shows_logs "$out" 40 '*.err'
x11_exact_pixels_env
# The help button's "open" lands here instead of in a browser: it records what it was given.
stub_xdg_open "$out"
export PATH="$out/bin:$PATH"

# --- The X server, the window manager, the sound server and the sounds -------------------------
x11_start_xvfb "$out"
x11_start_openbox "$out"

start_private_pulse "$pulse_dir"
sox -n -r 11025 -c 1 -b 16 "$out/tone110.wav" synth 60 sine 110 vol 0.5
"$repo/tests/support/render-guitar" "$out/a_string.wav" 45 2 10 2>"$out/render.err" ||
    fail "cannot render the A string"

vibralon_streams() {
    pactl list source-outputs 2>/dev/null | grep -c 'application.name = "Vibralon"' || true
}

# The sanitizers' reports, if any, in the program's error output.
sanitizer_reports() {
    grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$1" || true
}

# --- 1. A steady tone, then the A string ------------------------------------------------------------
play "$out/tone110.wav"
tone_pid=$player_pid
# From the repository's root, as ./run starts it, so that help/guide.htm is found.
(cd "$repo" && exec "$tuner") >"$out/tuner.out" 2>"$out/tuner.err" &
tuner_pid=$!
track_pid "$tuner_pid"
wid=$(find_window '^Vibralon$' 20) || fail "the tuner's window did not appear"
step "window $wid up"
[ "$(vibralon_streams)" = 1 ] || fail "the server sees no recording stream of Vibralon"

check_tone_a
check_lamp_blinks

# --- 2. Strings, with the tone still playing ---------------------------------------------------
check_strings

# A quick double-click on D4: its second press is no click, so D4 stays lit.
xdotool mousemove --window "$wid" 54 221 click --repeat 2 --delay 60 1
xdotool mousemove --window "$wid" 400 300
sleep 0.3
screenshot
same "$skin/LD4.jpg" 24 192 || fail "a double-click on D4 did not leave it lit"
click 54 221 # LD4: clears it
screenshot
same "$skin/D4.bmp" 24 192 || fail "LD4 clicked: D4 is not back"
step "double-click lights D4 once"

# The help button: the desktop is asked to open the guide, by its absolute path.
click 338 32
for _ in $(seq 50); do
    [ -s "$out/opened" ] && break
    sleep 0.1
done
[ -s "$out/opened" ] || fail "the help button opened nothing"
opened=$(sed -n 2p "$out/opened")
[ "$opened" = "file://$repo/help/guide.htm" ] || fail "the help button opened '$opened'"
[ -f "$repo/help/guide.htm" ] || fail "help/guide.htm is missing"
step "help: $opened"

# --- 3. Dragging the body -------------------------------------------------------------------------
check_drag

# --- 1 (end). The rendered A string ----------------------------------------------------------------
kill "$tone_pid" 2>/dev/null || true
play "$out/a_string.wav"
sleep 1.5
a_count=0
for _ in $(seq 8); do
    screenshot
    if same "$(frame 9)" 121 85; then
        a_count=$((a_count + 1))
    fi
    sleep 0.4
done
[ "$a_count" -ge 5 ] || fail "the A string shows A in $a_count screenshots of 8"
step "A string: A in $a_count screenshots of 8"

# --- 4. Closing while capture runs ------------------------------------------------------------------
[ "$(vibralon_streams)" = 1 ] || fail "the recording stream is gone before the close"
wmctrl -c Vibralon || fail "wmctrl could not close the window"
closed_at=$(date +%s%N)
while kill -0 "$tuner_pid" 2>/dev/null && [ -d "/proc/$tuner_pid" ] &&
    ! grep -q '^State:.*Z' "/proc/$tuner_pid/status" 2>/dev/null; do
    [ $(($(date +%s%N) - closed_at)) -lt 2000000000 ] || fail "still running 2 s after the close"
    sleep 0.02
done
ended_ms=$((($(date +%s%N) - closed_at) / 1000000))
code=0
wait "$tuner_pid" || code=$?
[ "$code" -eq 0 ] || fail "exit code $code after the close"
[ "$(vibralon_streams)" = 0 ] || fail "the server still has Vibralon's stream after it ended"
reports=$(sanitizer_reports "$out/tuner.err")
[ -z "$reports" ] || fail "sanitizer reports: $reports"
step "closed: exit 0 after $ended_ms ms, stream gone"
kill "$player_pid" 2>/dev/null || true

# --- 5. No sound server at all ----------------------------------------------------------------------
(
    export PULSE_SERVER="unix:$out/nowhere/native"
    cd "$repo" && exec "$tuner"
) >"$out/no_server.out" 2>"$out/no_server.err" &
tuner_pid=$!
track_pid "$tuner_pid"
for caption in "No sound card installed !" "Cannot determine sound card capabilities !" "Recorder"; do
    box=$(find_window "^$caption\$") || fail "no message box '$caption'"
    # One box at a time: nothing else of the tuner's is on screen.
    others=$(xdotool search --onlyvisible --pid "$tuner_pid" 2>/dev/null | grep -vx "$box" || true)
    for other in $others; do
        [ "$(xdotool getwindowname "$other")" = "$caption" ] ||
            fail "'$caption' is not alone: $(xdotool getwindowname "$other") shows too"
    done
    if [ "$caption" = "Recorder" ]; then
        sleep 0.3
        import -window "$box" "$out/recorder_box.png"
    fi
    xdotool windowactivate --sync "$box" key Return
    step "message box '$caption' answered"
done
code=0
for _ in $(seq 100); do
    kill -0 "$tuner_pid" 2>/dev/null || break
    sleep 0.05
done
wait "$tuner_pid" || code=$?
[ "$code" -eq 0 ] || fail "no server: exit code $code"
reports=$(sanitizer_reports "$out/no_server.err")
[ -z "$reports" ] || fail "sanitizer reports: $reports"

# The Recorder box's text, read by comparing it with a box known to say "Format not supported".
"$probe" "Recorder" "Format not supported" >/dev/null 2>"$out/probe.err" &
probe_pid=$!
track_pid "$probe_pid"
box=$(find_window '^Recorder$') || fail "the probe's box did not appear"
sleep 0.3
import -window "$box" "$out/probe_box.png"
xdotool windowactivate --sync "$box" key Return
wait "$probe_pid" || true
differing=$(compare -metric AE "$out/recorder_box.png" "$out/probe_box.png" null: 2>&1) || true
[ "$differing" = "0" ] || fail "the Recorder box does not say 'Format not supported' ($differing pixels differ)"
step "no server: three boxes in order, exit code 0"
echo "PASS"
