#!/usr/bin/env bash
# A private PulseAudio server for shell-driven tests; the C++ twin is pulse_server.h.
#
#   eval "$(tests/support/pulse/private-pulse.sh start "$dir")"   # sets PULSE_SERVER, PULSE_PID
#   paplay --device=guitar tone.wav                               # the default source hears it
#   tests/support/pulse/private-pulse.sh stop "$dir"              # SIGKILL by PID, waits for it
#
# The server lives in $dir (made if missing): runtime dir, home, config and log
# ($dir/server.log). It has one null sink "guitar" whose monitor is the default source, and
# takes clients without a cookie.
set -euo pipefail

usage() {
    echo "usage: $0 start DIR | stop DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
dir=$(realpath -m "$2")

case "$1" in
start)
    mkdir -p "$dir/home"
    echo "autospawn = no" >"$dir/client.conf"
    env -u PULSE_SERVER -u PULSE_COOKIE -u PULSE_CLIENTCONFIG -u PULSE_RUNTIME_PATH \
        -u DBUS_SESSION_BUS_ADDRESS \
        HOME="$dir/home" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config" \
        PULSE_STATE_PATH="$dir/state" \
        pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
        --high-priority=no --load="module-native-protocol-unix auth-anonymous=1" \
        --load="module-null-sink sink_name=guitar" </dev/null >"$dir/server.log" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/pid"
    for _ in $(seq 200); do
        if PULSE_SERVER="unix:$dir/pulse/native" PULSE_CLIENTCONFIG="$dir/client.conf" \
            PULSE_COOKIE="$dir/cookie" timeout 5 pactl info 2>/dev/null |
            grep -q "guitar.monitor"; then
            echo "export PULSE_SERVER=unix:$dir/pulse/native"
            echo "export PULSE_CLIENTCONFIG=$dir/client.conf"
            echo "export PULSE_COOKIE=$dir/cookie"
            echo "export PULSE_PID=$pid"
            exit 0
        fi
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    echo "pulseaudio did not start; its log:" >&2
    cat "$dir/server.log" >&2
    kill -KILL "$pid" 2>/dev/null || true
    exit 1
    ;;
stop)
    [ -f "$dir/pid" ] || exit 0
    pid=$(cat "$dir/pid")
    kill -KILL "$pid" 2>/dev/null || true
    # Wait until it is gone (or only a zombie waiting for its reaper), 5 s at most.
    for _ in $(seq 100); do
        state=$(ps -o stat= -p "$pid" 2>/dev/null || true)
        [ -z "$state" ] || [[ "$state" == Z* ]] && break
        sleep 0.05
    done
    rm -f "$dir/pid"
    ;;
*)
    usage
    ;;
esac
