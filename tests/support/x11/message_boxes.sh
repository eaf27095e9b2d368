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
#   title_text "$box" PNG                     # the caption as the title bar shows it
#   box_matches SHOT CAPTION PROGRAM ARGS...  # SHOT says what PROGRAM's box says
#   captions_whole PROGRAM...                 # the start-up captions whole in their title bars

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
    # Mapped is not yet drawn: the picture is taken again, 0.3 s on, until it holds more than one
    # colour (a slow start, under a sanitizer, can leave the box black for longer than 0.3 s).
    within 8 box_drawn "$shot" || fail "the box '$caption' stayed blank"
}
box_drawn() {
    sleep 0.3
    # shellcheck disable=SC2154 # session_out: set by session_begin
    import -window "$box" "$1" 2>>"$session_out/import.err" || fail "no screenshot of the box '$box'"
    [ "$(identify -format %k "$1" 2>/dev/null)" -gt 1 ]
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

# The caption as the window manager's title bar shows it, saved to $2: the label's rows between
# the window's icon and its three buttons (a toolkit's box has them all), trimmed to the text
# (openbox's title is a top-to-bottom gradient, so a little fuzz keeps every row's background
# out). A box may still be on its way into the window manager's frame as it shows (seen at 0,0
# with no title bar on a loaded machine): its title bar is read once it has one (3 s at most).
title_text() { within 3 title_read "$1" "$2"; }
title_read() {
    local client_x client_y width left right top
    read -r client_x client_y width < <(xwininfo -id "$1" |
        awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} /Width:/ {w=$NF}
             END {print x, y, w}')
    read -r left right top _ < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    import -window root "$session_out/root.png" 2>>"$session_out/import.err" || return 1
    convert "$session_out/root.png" -crop "$((width + left + right - 100))x$((top - 3))+$((client_x - left + 25))+$((client_y - top + 2))" \
        +repage -fuzz 15% -trim "$2" 2>>"$session_out/import.err"
    [ "$(identify -format '%w' "$2")" -gt 1 ]
}

# Whether the box shot to SHOT shows, pixel for pixel, what PROGRAM ARGS... shows in its box
# titled CAPTION: the way to read a box's text.
box_matches() {
    local png=$1 caption=$2
    shift 2
    show_box "$caption" "$session_out/probe_box.png" "$@"
    answer_box
    same_image "$png" "$session_out/probe_box.png"
}

# Each start-up caption, as the script saved it with title_text to OUT/captionN.png, whole: the
# same as over the box that PROGRAM... shows with that caption and a body long enough to widen
# it past any title bar's needs.
captions_whole() {
    local number caption body
    body=$(printf 'A body long enough to widen the box. %.0s' 1 2 3 4)
    for number in 0 1 2; do
        # shellcheck disable=SC2154 # startup_captions: set by tuner_checks.sh
        caption=${startup_captions[$number]}
        show_box "$caption" "$session_out/whole_box$number.png" "$@" "$caption" "$body"
        title_text "$box" "$session_out/whole$number.png" || fail "no title bar over the probe's '$caption'"
        answer_box
        same_image "$session_out/caption$number.png" "$session_out/whole$number.png" ||
            fail "'$caption' is cut in its title bar ($session_out/caption$number.png)"
    done
}
