#!/usr/bin/env bash
# The Windows build's recorder and analysis worker, through Wine's real winmm, hearing a private
# PulseAudio server: a 110 Hz tone played into the null sink gives every block in ring order
# every 4096 / 11025 s, and the note A (frame 9) dead on (step 0); with no server there is no
# device, and neither its capabilities nor the format query succeed. The worker hears again by
# itself after the server is restarted on the same socket and after the source is unloaded and
# loaded again, each taken away while the tone plays and brought back in silence: the blocks
# after the return name no note (none holds sound from before the loss), and once the tone plays
# again, A (the times are printed).
#
#   capture_wine_test.sh WINDOWS_BUILD_DIR OUT_DIR
set -euo pipefail

windows_build=$1
out=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/support/wine/wine-session.sh
source "$repo/tests/support/wine/wine-session.sh"
session_begin "$out" 30 '*.out' '*.err' 'wineboot.log'

probe=$windows_build/tests/wine/capture_probe.exe
wine_require_program "$probe"
wine_use_prefix "$out"
start_private_pulse "$out/pulse"
pactl set-default-source guitar.monitor >/dev/null || fail "cannot make guitar.monitor the default"

# --- no server: the machine without a sound card -----------------------------------------
PULSE_SERVER="unix:$out/nowhere" wine_console "$probe" devices >"$out/no-server.out" 2>"$out/no-server.err" ||
    fail "the probe failed without a server"
grep -qx "devices 0" "$out/no-server.out" || fail "no server: devices are not 0"
grep -qx "capabilities 2" "$out/no-server.out" ||
    fail "no server: the capabilities of device 0 did not fail with code 2"
grep -qx "query 2" "$out/no-server.out" || fail "no server: the format query did not fail with code 2"

# --- a steady 110 Hz tone ------------------------------------------------------------------
sox -n -r 44100 -c 1 -b 16 "$out/tone.wav" synth 60 sine 110 vol 0.5
paplay --device=guitar "$out/tone.wav" 2>"$out/paplay.err" &
track_pid $!
playing() { [ -n "$(pactl list short sink-inputs)" ]; }
within 5 playing || fail "paplay is not playing into the sink"

wine_console "$probe" devices >"$out/devices.out" 2>"$out/devices.err" || fail "the probe failed"
grep -qx "capabilities 0" "$out/devices.out" || fail "the capabilities of device 0 were not read"
grep -qx "query 0" "$out/devices.out" || fail "device 0 refused 11025 Hz mono 16-bit"

# The recorder alone: ring positions 0, 1, ..., 7, 0, ... without a gap, each block a 110 Hz
# peak, the mean spacing that of 4096 samples at 11025 Hz (371.5 ms).
wine_console "$probe" ring 8 >"$out/ring.out" 2>"$out/ring.err" || fail "the recorder probe failed"
awk '
    $1 != "block" { print "unexpected line: " $0; bad = 1; next }
    {
        if ($2 != n % 8) { print "block " n " came from ring position " $2; bad = 1 }
        if ($4 != 110) { print "block " n " peaks at " $4 " Hz"; bad = 1 }
        if (n == 0) first = $3
        last = $3
        n++
    }
    END {
        if (n < 12) { print "only " n " blocks in 8 s"; exit 1 }
        mean = (last - first) / (n - 1)
        printf "%d blocks, one every %.1f ms\n", n, mean
        if (mean < 340 || mean > 400) { print "blocks do not come about every 371.5 ms"; exit 1 }
        exit bad
    }' "$out/ring.out" >"$out/ring-check.out" || fail "recorder: $(tail -n 3 "$out/ring-check.out")"
cat "$out/ring-check.out"

# The analysis worker with the A string picked: one lamp change then one reading per block,
# the lamp lit first and alternating, every reading A dead on with no arrow.
wine_console "$probe" worker 8 >"$out/worker.out" 2>"$out/worker.err" || fail "the worker probe failed"
grep -qx "stopped" "$out/worker.out" || fail "the worker did not stop"
awk '
    $1 == "stopped" { next }
    $1 == "lamp" {
        if (expect != "lamp") { print "two lamp changes in a row"; bad = 1 }
        if ($3 != (blocks % 2 == 0)) { print "block " blocks " lamp " $3; bad = 1 }
        expect = "reading"; next
    }
    $1 == "reading" {
        if (expect != "reading") { print "a reading without its lamp change"; bad = 1 }
        if ($3 " " $4 " " $5 != "9 0 0") { print "block " blocks " reads " $3 " " $4 " " $5; bad = 1 }
        blocks++; expect = "lamp"; next
    }
    { print "unexpected line: " $0; bad = 1 }
    BEGIN { expect = "lamp" }
    END {
        printf "%d readings of A\n", blocks
        if (blocks < 8) { print "only " blocks " blocks in 8 s"; exit 1 }
        exit bad
    }' "$out/worker.out" >"$out/worker-check.out" || fail "worker: $(tail -n 3 "$out/worker-check.out")"
cat "$out/worker-check.out"

# --- the device goes and comes back ---------------------------------------------------------
# The worker listens on while the server goes for 5 s (long enough for the loss to be seen),
# then while the source does.
player_pid=
play_tone() {
    paplay --device=guitar "$out/tone.wav" 2>>"$out/paplay.err" &
    player_pid=$!
    track_pid "$player_pid"
}
# Whether the worker's output after line $1 holds $2 readings or more (of A alone with $3 = A).
readings_after() {
    local pattern='^reading '
    [ "${3:-}" != A ] || pattern='^reading [0-9]* 9 '
    [ "$(tail -n +"$(($1 + 1))" "$out/kept.out" 2>/dev/null | grep -c "$pattern")" -ge "$2" ]
}
# Takes the device away with $1 while the tone plays, brings it back with $2 in silence, then
# plays the tone again, and prints how long the first reading and those of A took.
heard_again_after() {
    local seen back_ms first_ms
    "$1"
    kill "$player_pid" 2>/dev/null || true
    sleep 5
    seen=$(wc -l <"$out/kept.out")
    "$2"
    back_ms=$(date +%s%3N)
    within 10 readings_after "$seen" 2 || fail "$3: no readings within 10 s of its return"
    first_ms=$(($(date +%s%3N) - back_ms))
    ! readings_after "$seen" 1 A || fail "$3: a reading after the return names the A played before the loss"
    play_tone
    within 10 readings_after "$seen" 1 A || fail "$3: no reading of A within 10 s of the tone"
    echo "$3: no A in the first two readings, ${first_ms} ms after its return; A again $(($(date +%s%3N) - back_ms)) ms after it"
}
play_tone
(exec timeout 90 wine "$probe" worker 60 | sed -u 's/\r$//' >"$out/kept.out") 2>"$out/kept.err" &
kept_pid=$!
track_pid "$kept_pid"
within 15 readings_after 0 1 A || fail "the worker hears no A before the device goes"
heard_again_after wine_sound_server_down wine_sound_server_up "server restarted"
heard_again_after wine_source_gone wine_source_back "source reloaded"
kill "$kept_pid" 2>/dev/null || true
echo "PASS"
