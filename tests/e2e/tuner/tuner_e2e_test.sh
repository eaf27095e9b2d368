#!/usr/bin/env bash
# The whole tuner, real parts only: the program on a real X server with a window manager, hearing
# a private sound server (PulseAudio, or PipeWire when VIBRALON_TEST_SOUND_SERVER says so) that
# plays a steady tone and a rendered guitar string. It is driven with the mouse and read from
# screenshots compared with the skin's own pictures.
#
#   1. a 110 Hz tone: note A pixel for pixel, the middle bar alone lit, the lamp blinking;
#      the rendered A string: A in most screenshots
#   2. strings: A5 lit with no arrow, then E6 lit (A5 back) with the tune-up arrow, then none;
#      the help button opens help/guide.htm
#   3. a press held on the lamp, or on the arrow, while readings hide it, released over the body:
#      the window stays; dragging the body moves the window by the drag, on release
#   4. closing while capture runs: exit code 0 within 2 s, the server sees the stream go, and
#      (in a sanitizer build) nothing reported
#   5. no sound server: the three messages in order, each caption whole in its title bar, then
#      exit code 0; Return held across the first does not answer the second
#   6. a source too busy to take the tuner's stream: the recorder's message alone, then the
#      window, which stays and shows nothing new
#   7. an error escaping start-up: the toolkit's error box, then exit code 0
#   8. the sound server stopped: no D-Bus daemon it launched outlives it
#   9. (before 8) at 200 %: the tone with A5 picked, every part from the 2x art
#
# Usage: tuner_e2e_test.sh PATH/TO/vibralon PATH/TO/message_box_probe OUTPUT_DIR \
#                          PATH/TO/busy_source PATH/TO/thread_refusal.so
set -euo pipefail

tuner=$(realpath "$1")
probe=$(realpath "$2")
out=$(realpath -m "$3")
busy_source=$(realpath "$4")
thread_refusal=$(realpath "$5")
repo=$(realpath "$(dirname "$0")/../../..")

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/support/x11/message_boxes.sh
source "$repo/tests/support/x11/message_boxes.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
session_begin "$out" 40 '*.err'
x11_exact_pixels_env
# The help button's "open" lands here instead of in a browser: it records what it was given.
stub_xdg_open "$out"

# --- The X server, the window manager, the sound server and the sounds -------------------------
x11_start_desktop "$out"
tone_wav "$out/tone110.wav"
"$repo/tests/support/render-guitar" "$out/a_string.wav" 45 2 10 2>"$out/render.err" ||
    fail "cannot render the A string"

vibralon_streams() {
    pactl list source-outputs 2>/dev/null | grep -c 'application.name = "Vibralon"' || true
}

# --- 1. A steady tone, then the A string ------------------------------------------------------------
play "$out/tone110.wav"
# From the repository's root, as ./run starts it, so that help/guide.htm is found.
start_tuner tuner "$tuner"
wid=$(find_window '^Vibralon$' 20) || fail "the tuner's window did not appear"
step "window $wid up"
[ "$(vibralon_streams)" = 1 ] || fail "the server sees no recording stream of Vibralon"

check_tone_a
check_lamp_blinks

# --- 2. Strings, with the tone still playing ---------------------------------------------------
check_strings
# A double-click lighting a string once: window_e2e_test's double-click on E6, in the same
# window and toolkit, counts its clicks.

# The help button: the desktop is asked to open the guide, by its absolute path.
click 338 32
check_help_opened "the help button"

# --- 3. Presses held while readings hide what was pressed; dragging the body ---------------------
read -r x0 y0 < <(client_origin)
check_lamp_press_held

# The tune-up arrow: shown by a reading (A with the E6 string), hidden by the next once the
# tone stops, while the button is held on it.
click 54 79 # E6
eventually 3 plus_shown || fail "E6 with 110 Hz: the tune-up arrow does not show"
xdotool mousemove --window "$wid" 127 183 mousedown 1
kill "$player_pid" 2>/dev/null || true
eventually 5 plus_hidden || fail "silence: the tune-up arrow stays"
release_over_body
sleep 0.5
[ "$(client_origin)" = "$x0 $y0" ] || fail "a press held on the arrow moved the window to $(client_origin)"
click 54 77 # LE6: no string again
step "arrow pressed, hidden by a reading, released over the body: the window stays"

check_drag

# --- 1 (end). The rendered A string (the tone stopped above) -------------------------------------
play "$out/a_string.wav"
sleep 1.5
a_count=0
for _ in $(seq 8); do
    screenshot
    ! same "$(frame 9)" 121 85 || a_count=$((a_count + 1))
    sleep 0.4
done
[ "$a_count" -ge 5 ] || fail "the A string shows A in $a_count screenshots of 8"
step "A string: A in $a_count screenshots of 8"

# --- 4. Closing while capture runs ------------------------------------------------------------------
[ "$(vibralon_streams)" = 1 ] || fail "the recording stream is gone before the close"
close_tuner "closed" 2
[ "$(vibralon_streams)" = 0 ] || fail "the server still has Vibralon's stream after it ended"
step "closed: exit 0 after $ended_ms ms, stream gone"
kill "$player_pid" 2>/dev/null || true

# --- 5. No sound server at all ----------------------------------------------------------------------
start_tuner no_server PULSE_SERVER="unix:$out/nowhere/native" "$tuner"
for number in 0 1 2; do
    caption=${startup_captions[$number]}
    # One box at a time: nothing else of the tuner's is on screen.
    lone_box "$caption" "$out/box$number.png" --pid "$tuner_pid"
    title_text "$box" "$out/caption$number.png" || fail "no title bar over '$caption'"
    if [ "$number" -eq 0 ]; then
        # Return held across the first box: its press answers that box, but neither its
        # autorepeat nor its release may answer the next, which the user has not seen yet.
        xdotool windowactivate --sync "$box" keydown Return sleep 0.8 keyup Return
        next=${startup_captions[1]}
        find_window "^$next\$" >/dev/null || fail "no message box '$next' after a held Return"
        sleep 0.5
        xdotool search --onlyvisible --name "^$next\$" >/dev/null ||
            fail "a Return held across '$caption' answered '$next'"
    else
        answer_box
    fi
    step "message box '$caption' answered"
done
tuner_ended "no server"
box_matches "$out/box2.png" Recorder "$probe" Recorder "Format not supported" ||
    fail "the Recorder box does not say 'Format not supported'"
captions_whole "$probe"
step "no server: three boxes in order, each caption whole, exit code 0"

# A library of the client library's name that lacks its functions, the server up: the tuner
# loads the library itself, so it starts, finds no server and shows the same three boxes, with
# the loader's reason on stderr once.
mkdir -p "$out/no_library"
ln -sf "$(ldconfig -p | awk '$1 == "libm.so.6" { print $NF; exit }')" "$out/no_library/libpulse.so.0"
start_tuner no_library LD_LIBRARY_PATH="$out/no_library" "$tuner"
for caption in "${startup_captions[@]}"; do
    lone_box "$caption" "$out/no_library_box.png" --pid "$tuner_pid"
    answer_box
done
tuner_ended "no library"
[ "$(grep -c 'library: .*undefined symbol: pa_' "$out/no_library.err")" = 1 ] ||
    fail "no library: the loader's reason is not on stderr once: $(cat "$out/no_library.err")"
step "no library: the same three boxes, the reason once on stderr, exit code 0"

# --- 6. A source too busy to record from -------------------------------------------------------------
# PipeWire sets no limit on the streams of a source, so no source of its can be made too busy.
if [ "${VIBRALON_TEST_SOUND_SERVER:-pulseaudio}" = pipewire ]; then
    step "busy source: not on PipeWire, which never refuses a stream for that"
else
    # The source exists and reads as a device, but the server takes no more recording streams on it.
    "$busy_source" >"$out/busy.out" 2>"$out/busy.err" &
    busy_pid=$!
    track_pid "$busy_pid"
    within 10 grep -q '^holding' "$out/busy.out" || fail "the source could not be made busy"
    play "$out/tone110.wav"
    start_tuner busy_tuner "$tuner"
    lone_box Recorder "$out/busy_box.png" --pid "$tuner_pid"
    answer_box
    wid=$(find_window '^Vibralon$') || fail "busy source: the window did not appear after the box"
    [ "$(vibralon_streams)" = 0 ] || fail "busy source: the server gave the tuner a stream after all"
    # Shown as it started, and it stays so while the tone plays: no lamp change, no note.
    for _ in $(seq 6); do
        screenshot
        same "$skin/Off.bmp" 71 23 || fail "busy source: the lamp changed ($shot)"
        same "$(artwork 129 75 16 23)" 121 85 || fail "busy source: a note shows ($shot)"
        arrows_hidden || fail "busy source: an arrow shows ($shot)"
        sleep 0.3
    done
    # A tuner that ended by itself has no window to close.
    close_tuner "busy source"
    kill "$busy_pid" "$player_pid" 2>/dev/null || true
    # A source that takes no more streams is held by other programs: the recorder's own words.
    box_matches "$out/busy_box.png" Recorder "$probe" Recorder \
        "Another application is recording audio. Stop recording with this other application and then try to record with Sonarith again." ||
        fail "busy source: the Recorder box does not say another program holds the source"
    step "busy source: the Recorder box alone, then the window, unchanged; exit code 0"
fi

# --- 7. An error escaping start-up -----------------------------------------------------------------
# The system refuses the worker its thread. The error reaches the entry, which shows it in the
# toolkit's box, titled with the program, before any window of ours, and still returns 0.
# The preloaded library comes before a sanitizer's runtime; it is not instrumented.
start_tuner refused LD_PRELOAD="$thread_refusal" \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"} "$tuner"
lone_box Vibralon "$out/error_box.png" --pid "$tuner_pid"
answer_box
tuner_ended "refused thread"
box_matches "$out/error_box.png" Vibralon "$probe" --exception "Resource temporarily unavailable" ||
    fail "refused thread: the box does not show the system's refusal"
step "refused thread: the error box, then exit code 0"

# --- 9. A 200 % screen ------------------------------------------------------------------------------
# The tuner as Qt scales it by 2, hearing the tone with A5 picked: every part drawn from the 2x
# art, and the window's picture kept as window-200.png.
play "$out/tone110.wav"
start_tuner dense QT_SCALE_FACTOR=2 "$tuner"
wid=$(find_window '^Vibralon$' 20) || fail "at 200 % the tuner's window did not appear"
[ "$(client_size)" = 846x656 ] || fail "at 200 % the client area is $(client_size), not 846x656"
# A5's middle, then the pointer off the window, out of the picture.
xdotool mousemove --window "$wid" 108 298 click 1 mousemove 0 0
# The middle bar alone lit covers 8 x 62 screen pixels.
dense_reading() {
    same "$skin/2x/Liste.png[258x150+258+300]" 242 170 && same "$skin/2x/LA5.png" 48 240 &&
        same "$skin/2x/On.png" 142 46 && [ "$(colour_pixels 186 80 282 394 64,255,64)" = 496 ]
}
eventually 10 dense_reading ||
    fail "at 200 % no A from the 2x art with A5 lit, the lamp on and the middle bar alone lit ($shot)"
cp "$shot" "$out/window-200.png"
close_tuner "at 200 %"
kill "$player_pid" 2>/dev/null || true
step "200 %: A, A5 lit, the lamp and the middle bar, all from the 2x art"

stop_private_pulse
step "the sound server stopped: nothing it started outlives it"
echo "PASS"
