#!/usr/bin/env bash
# A private sound server speaking the PulseAudio protocol, for tests; the C++ twin is
# pulse_server.h. VIBRALON_TEST_SOUND_SERVER picks which: "pulseaudio" (the default) or
# "pipewire" (PipeWire, WirePlumber and PipeWire's PulseAudio service on a D-Bus of their own).
#
#   eval "$(tests/support/pulse/private-pulse.sh start "$dir")"   # sets PULSE_SERVER...
#   paplay --device=guitar tone.wav                               # the default source hears it
#   tests/support/pulse/private-pulse.sh stop "$dir"              # SIGKILL to all, waits for it
#   tests/support/pulse/private-pulse.sh pause "$dir"             # SIGSTOP to all: a hung server
#   tests/support/pulse/private-pulse.sh resume "$dir"            # SIGCONT to all
#   tests/support/pulse/private-pulse.sh serve "$dir"             # in the foreground, until killed
#
# The server lives in $dir (made if missing): runtime dir, home, config and log
# ($dir/server.log). It has one null sink "guitar" whose monitor is the default source, and
# takes clients without a cookie. Starting again in the same $dir serves on the same socket.
set -euo pipefail

usage() {
    echo "usage: $0 start DIR | stop DIR | pause DIR | resume DIR | serve DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
dir=$(realpath -m "$2")
kind=${VIBRALON_TEST_SOUND_SERVER:-pulseaudio}
[[ $kind =~ ^(pulseaudio|pipewire)$ ]] || {
    echo "VIBRALON_TEST_SOUND_SERVER is '$kind'; it can be pulseaudio or pipewire" >&2
    exit 2
}

# What a client of the private server needs.
client_server=unix:$dir/pulse/native
client_config=$dir/client.conf
client_cookie=$dir/cookie

pactl_here() {
    PULSE_SERVER=$client_server PULSE_CLIENTCONFIG=$client_config PULSE_COOKIE=$client_cookie \
        timeout 5 pactl "$@"
}

# Whether the command after N holds within N tries, 0.05 s apart.
tries() {
    local n=$1
    shift
    for _ in $(seq "$n"); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

# Ready once the null sink's monitor is the default source.
answering() {
    pactl_here info 2>/dev/null | grep -q "^Default Source: guitar.monitor$"
}

serve_pulseaudio() {
    # -n: no default script, only what is loaded here. Running as root it warns and runs.
    exec pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --realtime=no \
        --high-priority=no --load="module-native-protocol-unix auth-anonymous=1" \
        --load="module-null-sink sink_name=guitar"
}

# The server started (pid), answering or gone; the one stopped (session), gone but for zombies.
up_or_gone() { answering || ! kill -0 "$pid" 2>/dev/null; }
session_gone() { ! pgrep -s "$session" --runstates D,R,S,T,t,I >/dev/null; }

guitar_by_default() {
    pactl_here set-default-source guitar.monitor >/dev/null 2>&1 && answering
}

serve_pipewire() {
    # Each part dies with this shell, also when it is killed outright, so nothing outlives a
    # test that crashes.
    local part=(setpriv --pdeathsig KILL)
    rm -f "$dir/bus"
    "${part[@]}" dbus-daemon --session --nofork --nopidfile --address="unix:path=$dir/bus" &
    tries 100 test -S "$dir/bus" || true
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus"
    "${part[@]}" pipewire &
    # Its clients give up at once when it is not there yet.
    tries 100 test -S "$dir/pipewire-0" || true
    "${part[@]}" wireplumber &
    "${part[@]}" pipewire-pulse &
    # The service answers before the graph is ready: each step is tried until it holds.
    tries 200 pactl_here load-module module-null-sink sink_name=guitar >/dev/null 2>&1 || true
    tries 200 guitar_by_default || true
    wait
}

case "$1" in
serve)
    # This shell leads the session that every part of the server runs in: stop ends them all.
    [ "$(ps -o sid= -p $$ | tr -d ' ')" = "$$" ] || exec setsid "$0" serve "$dir"
    # A server killed just now may still be ending, its parts holding the sockets and locks
    # that this one takes.
    if [ -f "$dir/pid" ]; then
        session=$(cat "$dir/pid")
        tries 100 session_gone || true
    fi
    echo "$$" >"$dir/pid"
    mkdir -p "$dir/home"
    chmod 700 "$dir"
    echo "autospawn = no" >"$dir/client.conf"
    export HOME="$dir/home" XDG_RUNTIME_DIR="$dir" XDG_CONFIG_HOME="$dir/config"
    export XDG_STATE_HOME="$dir/state" PULSE_STATE_PATH="$dir/state"
    unset PULSE_SERVER PULSE_COOKIE PULSE_CLIENTCONFIG PULSE_RUNTIME_PATH DBUS_SESSION_BUS_ADDRESS
    # With a display, PulseAudio's D-Bus client launches a session bus through X11, one that
    # leaves our session and outlives the server.
    unset DISPLAY WAYLAND_DISPLAY
    # A server killed outright leaves its sockets behind; its clients would take a stale one for
    # the new server and try before it listens.
    rm -f "$dir/pulse/native" "$dir"/pipewire-0 "$dir"/pipewire-0.lock "$dir"/pipewire-0-manager \
        "$dir"/pipewire-0-manager.lock
    "serve_$kind"
    ;;
start)
    mkdir -p "$dir"
    rm -f "$dir/pid"
    # Lives as long as the server does (setsid -w waits when it has to fork).
    setsid -w "$0" serve "$dir" </dev/null >"$dir/server.log" 2>&1 &
    pid=$!
    if tries 200 up_or_gone && answering; then
        echo "export PULSE_SERVER=$client_server PULSE_CLIENTCONFIG=$client_config PULSE_COOKIE=$client_cookie"
        exit 0
    fi
    echo "the private $kind server did not start; its log:" >&2
    cat "$dir/server.log" >&2
    "$0" stop "$dir"
    exit 1
    ;;
pause | resume)
    signal=STOP
    [ "$1" = pause ] || signal=CONT
    pkill "-$signal" -s "$(cat "$dir/pid")"
    ;;
stop)
    [ -f "$dir/pid" ] || exit 0
    session=$(cat "$dir/pid")
    pkill -KILL -s "$session" || true
    # Wait until the session is gone (or only zombies waiting for their reaper), 5 s at most.
    tries 100 session_gone || true
    rm -f "$dir/pid"
    ;;
*)
    usage
    ;;
esac
