# shellcheck shell=bash
# What our shell-driven end-to-end tests and benchmarks share: a Qt environment that gives exact
# pixels, an X server and a window manager of their own, a private sound server, processes
# ended however the script ends, and failures that show the logs.
#
#   source "$repo/tests/support/x11/session.sh"
#   session_begin "$out" 40 '*.err'       # OUT made anew; on EXIT tracked processes end (TERM and
#                                         # INT leave by it); fail() prints the last 40 lines of
#                                         # each such log in OUT
#   x11_exact_pixels_env
#   x11_start_desktop "$out"              # Xvfb (sets DISPLAY), openbox, private sound server
#   x11_start_xvfb "$out"; x11_start_openbox "$out"   # the same parts alone
#   start_private_pulse "$out/pulse" [RUNNER...]   # PulseAudio or PipeWire: sets PULSE_SERVER...
#   private_pulse stop|pause|resume       # the server gone, hung or going on again
#   stop_private_pulse                    # before the end: fails if a D-Bus daemon outlives it
#   tone_wav "$out/tone110.wav"; play "$out/tone110.wav"   # 110 Hz into the sink; sets player_pid
#   start_tuner NAME [VAR=VALUE...] PROGRAM   # from the repository's root; sets tuner_pid
#   close_tuner WHAT [SECONDS]            # closed by the window manager: ends with 0, no report
#   wid=$(find_window '^Vibralon$' 20)    # a shown window by its title, waited for
#   within 10 test -s "$out/opened"       # whether a command holds within 10 s
#   same_image A B [COMPARE OPTIONS...]   # every pixel equal
#   program & track_pid $!
#
# Sourcing only defines functions and variables; it starts and traps nothing.

session_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)

pids=()
session_out=
session_exit_hooks=()
session_pulse_dir=
session_pulse_script_dir=
session_log_lines=
session_log_patterns=()
wid= # the window a script reads and drives, set once it is up

# Ends PID (a background job of this shell) when the script exits.
track_pid() {
    pids+=("$1")
}

# Calls the function named $1 on exit, after the tracked processes and the sound server are gone.
at_exit() {
    session_exit_hooks+=("$1")
}

session_cleanup() {
    local hook
    [ ${#pids[@]} -eq 0 ] || kill "${pids[@]}" 2>/dev/null || true
    wait 2>/dev/null || true
    [ -z "$session_pulse_dir" ] ||
        "$session_repo/tests/support/pulse/private-pulse.sh" stop "$session_pulse_dir" >/dev/null 2>&1 || true
    [ -z "$session_pulse_script_dir" ] || rm -rf "$session_pulse_script_dir"
    for hook in "${session_exit_hooks[@]}"; do
        "$hook" || true
    done
}

session_cleanup_on_exit() {
    trap session_cleanup EXIT
    # A test that times out is sent TERM: leave through the EXIT trap so nothing stays behind.
    trap 'exit 1' TERM INT
}

# The start of every such script: OUT (removed and made anew) holds its logs and screenshots;
# fail() shows the non-empty logs in OUT whose names match the PATTERNs (globbed when it fails),
# the last LINES lines of each, or whole with LINES "all".
session_begin() {
    session_out=$1
    session_log_lines=$2
    shift 2
    session_log_patterns=("$@")
    rm -rf "$session_out"
    mkdir -p "$session_out"
    session_cleanup_on_exit
}

fail() {
    echo "FAIL: $*" >&2
    local pattern log from=-$session_log_lines
    [ "$session_log_lines" != all ] || from=+1
    for pattern in "${session_log_patterns[@]}"; do
        for log in "$session_out"/$pattern; do
            [ ! -s "$log" ] || { echo "--- $log"; tail -n "$from" "$log"; } >&2
        done
    done
    exit 1
}

# Exact pixels: no scaling, and the X11 back end whatever the desktop around us uses.
x11_exact_pixels_env() {
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    # Under AddressSanitizer: libxkbcommon-x11 legitimately strndup()s X atom names that carry no
    # terminating zero, which strict string checks report as an overflow inside that library.
    [ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
}

# An X server on a display number it picks itself (written to OUT/display); exports DISPLAY.
# -noreset: by default the server resets when its last client leaves, and refuses connections
# while it does; a client that comes just then (openbox after a probe, say) fails to open the
# display. A server that still takes no client is ended and another started, up to three tries.
x11_start_xvfb() {
    local out=$1 try xvfb_pid
    for try in 1 2 3; do
        rm -f "$out/display"
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$out/display" 2>>"$out/xvfb.err" &
        xvfb_pid=$!
        track_pid "$xvfb_pid"
        within 10 test -s "$out/display" || fail "Xvfb did not start"
        DISPLAY=":$(head -n1 "$out/display")"
        export DISPLAY
        within 5 xdpyinfo >/dev/null 2>&1 && return 0
        echo "Xvfb on $DISPLAY takes no client (try $try): $(find /tmp/.X11-unix -maxdepth 1 2>&1 | tr '\n' ' ')" >&2
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    done
    fail "Xvfb takes no client"
}

# A window manager on $DISPLAY, logging to OUT/openbox.out and OUT/openbox.err.
x11_start_openbox() {
    local out=$1
    openbox --sm-disable >"$out/openbox.out" 2>"$out/openbox.err" &
    track_pid $!
    within 10 wmctrl -m >/dev/null 2>&1 || fail "openbox did not start"
}

# Prints the id of a shown window whose title matches $1, waiting up to $2 seconds (default
# 10). Asked again and again: a search that meets a window just going away fails.
find_window() { within "${2:-10}" window_named "$1" && echo "$found_window"; }
window_named() {
    found_window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    [ -n "$found_window" ]
}

# Whether the command after SECONDS holds within that many seconds, asked every 0.1 s.
within() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The desktop a tuner meets: an X server, a window manager, and a private sound server in OUT/pulse.
x11_start_desktop() {
    x11_start_xvfb "$1"
    x11_start_openbox "$1"
    start_private_pulse "$1/pulse"
}

# Starts PROGRAM in tuner_cwd, the repository's root unless set, as ./run does (so
# help/guide.htm is found), with the variables given before it, its output in NAME.out and
# NAME.err of session_begin's OUT; sets tuner_pid. PROGRAM may be a command with arguments
# (wine vibralon.exe).
tuner_cwd=$session_repo
tuner_pid=
tuner_err=/dev/null
start_tuner() {
    local name=$1
    shift
    tuner_err=$session_out/$name.err
    (cd "$tuner_cwd" && exec env "$@") >"$session_out/$name.out" 2>"$tuner_err" &
    tuner_pid=$!
    track_pid "$tuner_pid"
}

# Waits up to $2 seconds for the program with pid $1 (a job of this shell) to end; sets
# exit_code, and ended_ms to how long it took. False if it runs on.
# shellcheck disable=SC2034 # exit_code and ended_ms are for the scripts that source this file
ended_within() {
    local pid=$1 since deadline
    since=$(date +%s%N)
    deadline=$((since + $2 * 1000000000))
    while kill -0 "$pid" 2>/dev/null && ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null; do
        [ "$(date +%s%N)" -lt "$deadline" ] || return 1
        sleep 0.02
    done
    ended_ms=$((($(date +%s%N) - since) / 1000000))
    exit_code=0
    wait "$pid" || exit_code=$?
}

# The tuner of start_tuner ends within $2 seconds (5) with code 0, and no sanitizer reported
# anything in its error output; $1 says what was done.
tuner_ended() {
    ended_within "$tuner_pid" "${2:-5}" || fail "$1: still running ${2:-5} s later"
    [ "$exit_code" -eq 0 ] || fail "$1: exit code $exit_code"
    ! grep -E 'WARNING: ThreadSanitizer|ERROR: (Address|Leak)Sanitizer|runtime error:' "$tuner_err" ||
        fail "$1: sanitizer reports (above)"
}

# The tuner's window closed as the window manager's close button does, then tuner_ended.
close_tuner() {
    wmctrl -c Vibralon || fail "$1: wmctrl could not close the window"
    tuner_ended "$@"
}

# Writes a steady 110 Hz tone, the A string's, to $1: $2 seconds long (60) at $3 Hz (11025).
tone_wav() {
    sox -n -r "${3:-11025}" -c 1 -b 16 "$1" synth "${2:-60}" sine 110 vol 0.5 ||
        fail "sox could not write $1"
}

# Plays a file into the sink whose monitor the tuner hears; sets player_pid.
play() {
    paplay --device=guitar "$1" 2>>"$session_out/paplay.err" &
    player_pid=$!
    track_pid "$player_pid"
}

# How many pixels differ between pictures $1 and $2, under the compare options after them.
pixels_differ() {
    local a=$1 b=$2
    shift 2
    compare -metric AE "$@" "$a" "$b" null: 2>&1 || true
}
same_image() {
    [ "$(pixels_differ "$@")" = 0 ]
}

# The client area of window $wid: its size as WIDTHxHEIGHT, its corner on screen as "X Y".
client_size() {
    xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}
client_origin() {
    xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

# The keyboard taken to another window and given back to window $1.
focus_away_and_back() {
    local pid
    xmessage -geometry +0+0 elsewhere &
    pid=$!
    track_pid "$pid"
    xdotool windowactivate --sync "$(xdotool search --sync --class Xmessage | head -n1)"
    xdotool windowactivate --sync "$1"
    kill "$pid"
}

# A private sound server in DIR (see tests/support/pulse/private-pulse.sh), started through the
# RUNNER command if one is given (another user, say); exports what its clients need and stops
# it on exit.
start_private_pulse() {
    local settings script=$session_repo/tests/support/pulse/private-pulse.sh
    session_pulse_dir=$1
    shift
    # Another user may not reach the checkout (home folders are often private): the runner
    # starts a copy of the script that anyone can read.
    if [ $# -gt 0 ]; then
        session_pulse_script_dir=$(mktemp -d /tmp/vibralon-pulse-script.XXXXXX)
        chmod 755 "$session_pulse_script_dir"
        install -m 755 "$script" "$session_pulse_script_dir/"
        script=$session_pulse_script_dir/private-pulse.sh
    fi
    settings=$("$@" "$script" start "$session_pulse_dir") ||
        fail "the private sound server did not start"
    eval "$settings"
}

# The private sound server stopped (stop), hung as by SIGSTOP (pause), or let go on (resume).
private_pulse() {
    "$session_repo/tests/support/pulse/private-pulse.sh" "$1" "$session_pulse_dir" ||
        fail "the private sound server did not $1"
}

# Stops the private sound server now, and fails if a D-Bus daemon that it led to outlives it: one
# launched through X11 leaves the server's session, so stopping the server would not end it.
stop_private_pulse() {
    local dir left
    dir=$(realpath -m "$session_pulse_dir")
    private_pulse stop
    session_pulse_dir=
    # By the server's own runtime directory in their environment, whatever their name.
    mapfile -t left < <(grep -lxzF "XDG_RUNTIME_DIR=$dir" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3)
    if [ ${#left[@]} -gt 0 ]; then
        kill "${left[@]}" 2>/dev/null || true
        fail "a process of the private sound server outlived it, a dbus-daemon perhaps (pid ${left[*]})"
    fi
}

# Puts OUT/bin/xdg-open in place of the desktop's, first on the PATH: it opens nothing and writes
# the directory it was started in and the document it was given, one a line, to OUT/opened
# (whole or not at all).
stub_xdg_open() {
    local out=$1
    mkdir -p "$out/bin"
    cat >"$out/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n%s\n' "\$PWD" "\$1" >"$out/opened.tmp"
mv "$out/opened.tmp" "$out/opened"
EOF
    chmod +x "$out/bin/xdg-open"
    export PATH="$out/bin:$PATH"
}
