#!/usr/bin/env bash
# The Windows build's capture and analysis worker, as vibralon-listen.exe runs them, through
# Wine's real winmm, hearing a private PulseAudio server: a 110 Hz tone played into the null sink
# gives a block every 4096 / 11025 s, each read as the A string in tune; with no server there is
# no device, neither its capabilities nor the format query succeed, and vibralon-listen says so
# in one line and fails. It hears again by itself after the server is restarted on the same
# socket and after the source is unloaded and loaded again, each taken away while the tone plays
# and brought back in silence: it says "Not listening", then "Listening", the blocks after the
# return name no note (none holds sound from before the loss), and once the tone plays again, A
# (the times are printed).
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
listen=$windows_build/app/listen/vibralon-listen.exe
wine_require_program "$probe"
wine_require_program "$listen"
wine_use_prefix "$out"
start_private_pulse "$out/pulse"

# --- no server: the machine without a sound card -----------------------------------------
PULSE_SERVER="unix:$out/nowhere" wine_console "$probe" devices >"$out/no-server.out" 2>"$out/no-server.err" ||
    fail "the probe failed without a server"
# No device; its capabilities and the format query fail with code 2.
for said in "devices 0" "capabilities 2" "query 2"; do
    grep -qx "$said" "$out/no-server.out" || fail "no server: the probe did not say '$said'"
done
PULSE_SERVER="unix:$out/nowhere" wine_console "$listen" >"$out/listen-none.out" 2>"$out/listen-none.err" &&
    fail "vibralon-listen without a device did not fail"
# One line of ours beside what Wine's fallback to ALSA says.
[ "$(grep -cv '^ALSA lib ' "$out/listen-none.err")" = 1 ] ||
    fail "vibralon-listen without a device: $(cat "$out/listen-none.err")"

# --- a steady 110 Hz tone ------------------------------------------------------------------
tone_wav "$out/tone.wav" 60 44100
play "$out/tone.wav"
playing() { [ -n "$(pactl list short sink-inputs)" ]; }
within 5 playing || fail "paplay is not playing into the sink"

wine_console "$probe" devices >"$out/devices.out" 2>"$out/devices.err" || fail "the probe failed"
grep -qx "capabilities 0" "$out/devices.out" || fail "the capabilities of device 0 were not read"
grep -qx "query 0" "$out/devices.out" || fail "device 0 refused 11025 Hz mono 16-bit"

# vibralon-listen, the console program, with the A string picked: a JSON line for every block,
# each a 110 Hz peak read "in tune", the mean spacing that of 4096 samples at 11025 Hz (371.5
# ms); into a pipe, whole lines.
wine_console "$listen" --json --every-block --string A5 --seconds 8 >"$out/listen.out" \
    2>"$out/listen.err" || fail "vibralon-listen failed: $(cat "$out/listen.err")"
python3 -c '
import json, sys
times = []
for line in open(sys.argv[1]):
    block = json.loads(line)
    if (block["hertz"], block["words"]) != (110, "in tune"):
        sys.exit("block %d: %s" % (len(times), line.strip()))
    times.append(block["time"])
mean = (times[-1] - times[0]) / (len(times) - 1) * 1000 if len(times) > 1 else 0
print("%d blocks in tune, one every %.1f ms" % (len(times), mean))
if len(times) < 12 or not 340 <= mean <= 400:
    sys.exit("blocks do not come about every 371.5 ms")
' "$out/listen.out" >"$out/listen-check.out" 2>&1 || fail "vibralon-listen: $(tail -n 2 "$out/listen-check.out")"
cat "$out/listen-check.out"

# --- the device goes and comes back ---------------------------------------------------------
# vibralon-listen, printing every block, listens on while the server goes for 5 s (long enough
# for the loss to be seen), then while the source does.
server_gone() { private_pulse stop; }
server_back() { start_private_pulse "$out/pulse"; }
# Whether the blocks printed after line $1, once "Listening" was said, are $2 or more (of A
# alone with $3 = A).
readings_after() {
    tail -n +"$(($1 + 1))" "$out/kept.out" 2>/dev/null |
        awk -v want="$2" -v a="${3:-}" '$0 == "Listening" { back = 1; next }
            back && $0 != "Not listening" && (a != "A" || /^A, /) { n++ }
            END { exit !(n >= want) }'
}
# Takes the device away with $1 while the tone plays, brings it back with $2 in silence, then
# plays the tone again, and prints how long the first reading and those of A took.
heard_again_after() {
    local seen back_ms first_ms
    "$1"
    kill "$player_pid" 2>/dev/null || true
    sleep 5
    seen=$(wc -l <"$out/kept.out")
    tail -n 1 "$out/kept.out" | grep -qx 'Not listening' || fail "$3: 'Not listening' was not said"
    "$2"
    back_ms=$(date +%s%3N)
    within 10 readings_after "$seen" 2 || fail "$3: no readings within 10 s of its return"
    first_ms=$(($(date +%s%3N) - back_ms))
    ! readings_after "$seen" 1 A || fail "$3: a reading after the return names the A played before the loss"
    play "$out/tone.wav"
    within 10 readings_after "$seen" 1 A || fail "$3: no reading of A within 10 s of the tone"
    echo "$3: no A in the first two readings, ${first_ms} ms after its return; A again $(($(date +%s%3N) - back_ms)) ms after it"
}
play "$out/tone.wav"
(exec timeout 90 wine "$listen" --every-block --seconds 60 | sed -u 's/\r$//' >"$out/kept.out") 2>"$out/kept.err" &
kept_pid=$!
track_pid "$kept_pid"
within 15 grep -q "^A, " "$out/kept.out" || fail "vibralon-listen hears no A before the device goes"
heard_again_after server_gone server_back "server restarted"
heard_again_after wine_source_gone wine_source_back "source reloaded"
kill "$kept_pid" 2>/dev/null || true
echo "PASS"
