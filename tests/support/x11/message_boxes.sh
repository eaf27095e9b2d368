# shellcheck shell=bash
# The message boxes of our programs on X11, met as a user meets them: the box found by its
# caption, alone on screen, shot once it has drawn itself, and answered with Return. Source after
# session.sh (fail, track_pid, session_begin's OUT).
#
#   lone_box CAPTION SHOT                     # sets box; SHOT gets its client area ("": no shot)
#   lone_box CAPTION SHOT --pid PID           #   and no other window of process PID shows
#   lone_box CAPTION SHOT --none-of NAME...   #   and no window titled one of the NAMEs shows
#   show_box CAPTION SHOT PROGRAM ARGS...     # PROGRAM shows one box: started, then lone_box
#   answer_box                                # Return; waits for show_box's PROGRAM (box_exit)

box=
box_pid=
box_exit=

lone_box() {
    local caption=$1 shot=$2 other name unwanted
    shift 2
    box=$(find_window "^$caption\$" 20) || fail "no message box '$caption'"
    case "${1:-}" in
    --pid)
        for other in $(xdotool search --onlyvisible --pid "$2" 2>/dev/null | grep -vx "$box" || true); do
            fail "'$caption' is not alone: '$(xdotool getwindowname "$other" 2>/dev/null)' shows too"
        done
        ;;
    --none-of)
        shift
        for other in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            name=$(xdotool getwindowname "$other" 2>/dev/null) || continue
            for unwanted in "$@"; do
                [ "$name" != "$unwanted" ] || fail "'$caption' is not alone: '$name' shows too"
            done
        done
        ;;
    esac
    [ -n "$shot" ] || return 0
    # Mapped is not yet drawn: the picture is taken again until it holds more than one colour
    # (a slow start, under a sanitizer, can leave the box black for longer than 0.3 s).
    local tries
    for ((tries = 0; tries < 25; tries++)); do
        sleep 0.3
        # shellcheck disable=SC2154 # session_out: set by session_begin
        import -window "$box" "$shot" 2>>"$session_out/import.err" ||
            fail "no screenshot of the box '$caption'"
        [ "$(identify -format %k "$shot" 2>/dev/null)" -gt 1 ] && return 0
    done
    fail "the box '$caption' stayed blank"
}

show_box() {
    local caption=$1 shot=$2
    shift 2
    # shellcheck disable=SC2154
    "$@" >/dev/null 2>>"$session_out/box-program.err" &
    box_pid=$!
    track_pid "$box_pid"
    lone_box "$caption" "$shot"
}

# shellcheck disable=SC2034 # box_exit is for the scripts that source this file
answer_box() {
    xdotool windowactivate --sync "$box" key Return
    [ -n "$box_pid" ] || return 0
    box_exit=0
    wait "$box_pid" || box_exit=$?
    box_pid=
}
