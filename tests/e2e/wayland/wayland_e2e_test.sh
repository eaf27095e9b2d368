#!/usr/bin/env bash
# The tuner on a Wayland desktop: sway (on its X11 back end inside Xvfb, pixman renderer) with a
# private sound server, run by an unprivileged user since sway refuses to run as root. The mouse
# is sway's own seat cursor; screenshots come from grim, window places from sway's tree.
#
#   1. the client area equals the skin model's composition, pixel for pixel
#   2. a 110 Hz tone: note A, the middle bar alone lit; A5, E6 and LE6 with their arrows
#   3. dragging the body by (+60, -42) moves the window by that much (the compositor moves it),
#      and so does a right-button drag
#   4. the help button's hint shows; closing the window ends the tuner with code 0 within 2 s
#   5. no sound server: the three messages in order, each caption whole in its title bar, then
#      exit code 0
#   6. the output at scale 2: the client area equals the 2x composition; a click lands
#
# Usage: wayland_e2e_test.sh PATH/TO/vibralon PATH/TO/window_probe PATH/TO/message_box_probe OUT
set -euo pipefail

tuner=$(realpath "$1")
window_probe=$(realpath "$2")
box_probe=$(realpath "$3")
out=$(realpath -m "$4")
repo=$(realpath "$(dirname "$0")/../../..")
user=vibralon-e2e

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
session_begin "$out" 40 '*.err'
x11_exact_pixels_env
export QT_QPA_PLATFORM=wayland
# Under AddressSanitizer: Qt's Wayland plugins leave allocations behind, and Qt unloads them at
# exit before the leak check runs, so no suppression can name them. Leaks of our own are
# checked where the same program runs under X11 (the tuner's end-to-end test).
[ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"

# --- The user, its files, the compositor and the sound server -------------------------------------
# Runs a program as the test's user (as ourselves when not root); it dies with this script.
as_user=(setpriv --pdeathsig KILL)
if [ "$(id -u)" -eq 0 ]; then
    if ! id "$user" >/dev/null 2>&1; then
        useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin \
            "$user" || fail "cannot make the user $user"
    fi
    as_user+=(--reuid="$user" --regid="$user" --clear-groups)
fi
# The user may not reach the build tree: its programs and files live in a folder of its own.
home=$(mktemp -d /tmp/vibralon-wayland.XXXXXX)
remove_home() { rm -rf "$home"; }
at_exit remove_home
mkdir -p "$home/bin" "$home/runtime"
cp "$tuner" "$window_probe" "$box_probe" "$home/bin/"
cat >"$home/sway.config" <<'EOF'
xwayland disable
for_window [app_id=".*"] floating enable
EOF
[ "$(id -u)" -ne 0 ] || chown -R "$user:" "$home"
chmod 700 "$home/runtime"
export XDG_RUNTIME_DIR=$home/runtime HOME=$home

x11_start_xvfb "$out"
WLR_BACKENDS=x11 WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    "${as_user[@]}" sway -c "$home/sway.config" >"$out/sway.out" 2>"$out/sway.err" &
track_pid $!
sway_up() {
    SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n1)
    [ -n "$SWAYSOCK" ] && [ -S "$XDG_RUNTIME_DIR/wayland-1" ]
}
within 10 sway_up || fail "sway did not start"
export SWAYSOCK WAYLAND_DISPLAY=wayland-1
# Our programs see Wayland alone; the X server stays reachable for the pointer (see drag).
xdisplay=$DISPLAY
unset DISPLAY
step "sway up"

start_private_pulse "$home/pulse" "${as_user[@]}"
tone_wav "$out/tone110.wav"

# --- Reading sway and the screen ---------------------------------------------------------------------
# The windows as "id pid x y width height title" lines (client areas, layout coordinates).
windows() {
    swaymsg -t get_tree | jq -r '.. | objects | select(.pid? != null and .type != "output")
        | [.id, .pid, .rect.x + .window_rect.x, .rect.y + .window_rect.y,
           .window_rect.width, .window_rect.height, .name] | map(tostring) | join(" ")'
}
# In place of the X11 search by title: prints "x y width height" of the window of that pid titled
# $2, waiting up to $3 s (default 10).
window_place() {
    windows | awk -v pid="$1" -v title="$2" \
        '$2 == pid && substr($0, index($0, $7)) == title {print $3, $4, $5, $6; exit}'
}
shown() { [ -n "$(window_place "$1" "$2")" ]; }
find_window() { within "${3:-10}" shown "$1" "$2" && window_place "$1" "$2"; }
# As find_window, once sway has placed the window for its size and frame: the same place twice.
settled_window() {
    local before now
    before=$(find_window "$@") || return 1
    for _ in $(seq 20); do
        sleep 0.2
        now=$(find_window "$1" "$2") || return 1
        [ "$now" = "$before" ] && break
        before=$now
    done
    echo "$now"
}
# A window's frame as sway draws it, title bar included, as "x y width height title-height":
# the container's rect lies below the title bar and holds the client with its borders.
window_frame() {
    swaymsg -t get_tree | jq -r --arg title "$1" '.. | objects | select(.name? == $title and .pid?)
        | [.rect.x, .rect.y - .deco_rect.height, .rect.width, .rect.height + .deco_rect.height,
           .deco_rect.height] | map(tostring) | join(" ")' | head -n1
}
# Saves the window titled $1, frame and all, from the screenshot to $2.
save_window() {
    local frame
    read -r -a frame < <(window_frame "$1")
    convert "$shot" -crop "${frame[2]}x${frame[3]}+${frame[0]}+${frame[1]}" +repage "$2"
}

# The whole screen: the client area lies at win_x, win_y in it, set once the window is up.
screen_grab() {
    grim "$1" 2>>"$out/grim.err" || fail "grim took no screenshot"
}

# The mouse: sway's seat cursor, in layout coordinates.
pointer_at() { swaymsg -q seat - cursor set "$1" "$2"; }
pointer_by() { swaymsg -q -- seat - cursor move "$1" "$2"; }
# Clicks at a client position of the tuner's window, then parks the pointer on the body (with
# sway's cursor, in place of xdotool's).
click() {
    pointer_at "$((win_x + $1))" "$((win_y + $2))"
    swaymsg -q seat - cursor press button1
    swaymsg -q seat - cursor release button1
    pointer_at "$((win_x + 400))" "$((win_y + 300))"
}

# Closes the windows of our program with pid $1 as the compositor's close does, until it ends
# (a close that comes while the window is still being mapped can go unheard); sets exit_code.
close_until_ended() {
    for _ in $(seq 5); do
        swaymsg -q "[pid=$1] kill" || true
        ended_within "$1" 1 && return 0
    done
    return 1
}

# Starts a program of ours as the user, in its folder; sets program_pid.
run_as_user() {
    local name=$1
    shift
    (cd "$home" && exec "${as_user[@]}" "$home/bin/$name" "$@") >"$out/$name.out" 2>"$out/$name.err" &
    program_pid=$!
    track_pid "$program_pid"
}

# --- 1. The client area is the skin model's composition ---------------------------------------------
run_as_user window_probe --dump "$home/composed.ppm"
read -r win_x win_y win_w win_h < <(settled_window "$program_pid" Vibralon 20) ||
    fail "the window did not appear"
within 5 test -s "$home/composed.ppm" || fail "the probe wrote no composition"
screenshot
# (A client area of another size than the model's differs from it too.)
convert "$shot" -crop "${win_w}x${win_h}+${win_x}+${win_y}" +repage "$out/client.ppm"
same_image "$out/client.ppm" "$home/composed.ppm" ||
    fail "the client area differs from the model's composition in $(pixels_differ "$out/client.ppm" "$home/composed.ppm") pixels"
close_until_ended "$program_pid" || fail "the probe's window does not close"
step "client area: the model's composition, ${win_w}x$win_h"

# --- 2. The tuner hearing a tone; the strings --------------------------------------------------------
play "$out/tone110.wav"
run_as_user vibralon
tuner_pid=$program_pid
read -r win_x win_y _ < <(settled_window "$tuner_pid" Vibralon 20) ||
    fail "the tuner's window did not appear"
check_tone_a
save_window Vibralon "$out/window-wayland.png"
check_strings

# --- 3. Dragging the body ------------------------------------------------------------------------
# sway's seat commands place the cursor without moving it as a mouse does, so the compositor's
# move would never follow them: the drag uses the real pointer of sway's X11 back end instead.
# Its output fills the X screen from its corner, so both share coordinates.
# drag X Y DX DY [BUTTON]
drag() {
    local button=${5:-1}
    DISPLAY=$xdisplay xdotool mousemove "$1" "$2" sleep 0.2 mousedown "$button" sleep 0.2 \
        mousemove_relative -- $(($3 / 2)) $(($4 / 2)) sleep 0.1 \
        mousemove_relative -- $(($3 - $3 / 2)) $(($4 - $4 / 2)) sleep 0.2 mouseup "$button"
}
# dragged DX DY BUTTON WHAT: a drag of the body by BUTTON moves the window by DX DY, and the
# press ends with the move: a click on a string still selects it.
dragged() {
    drag "$((win_x + 103))" "$((win_y + 50))" "$1" "$2" "$3"
    sleep 0.3
    read -r x1 y1 _ < <(find_window "$tuner_pid" Vibralon)
    [ "$((x1 - win_x)) $((y1 - win_y))" = "$1 $2" ] ||
        fail "$4 moved the window by $((x1 - win_x)),$((y1 - win_y)), not $1,$2"
    win_x=$x1
    win_y=$y1
    click 54 149
    eventually 3 same "$skin/LA5.jpg" 24 120 || fail "after $4, a click on A5 does not light it"
    click 54 149
}
dragged 60 -42 1 "the drag"
# Any button drags the body, as on X11 and Windows.
dragged -40 30 3 "a right-button drag"
step "drag: moved 60 right, 42 up; by the right button 40 left, 30 down"

# --- 4. The help button's hint; closing ------------------------------------------------------------
screenshot
hint_gone || fail "a hint shows before the pointer is on the help button"
pointer_at "$((win_x + 338))" "$((win_y + 32))"
pointer_by 1 0
eventually 5 hint_shown || fail "no hint over the help button ($(hint_pixels) pixels of hint colour)"
step "help button: hint shows"

swaymsg -q "[pid=$tuner_pid] kill" || fail "swaymsg could not close the window"
tuner_ended "closed" 2
step "closed: exit 0 after $ended_ms ms"

# --- 5. No sound server: three boxes, each caption whole --------------------------------------------
# The caption's text in a title bar: the bar without its one-pixel border, trimmed to its text.
caption_text() {
    local frame
    read -r -a frame < <(window_frame "$1")
    [ "${#frame[@]}" -eq 5 ] || return 1
    convert "$shot" -crop "$((frame[2] - 2))x$((frame[4] - 2))+$((frame[0] + 1))+$((frame[1] + 1))" \
        +repage -trim "$2"
}
# What lone_box of tests/support/x11/message_boxes.sh does, through sway and grim: the box
# titled $1 shows, the one window of process $2, and its caption's text goes to $3.
lone_box() {
    local caption=$1 pid=$2
    find_window "$pid" "$caption" >/dev/null || fail "no message box '$caption'"
    [ "$(windows | awk -v pid="$pid" '$2 == pid' | wc -l)" -eq 1 ] ||
        fail "'$caption' is not alone: $(windows)"
    sleep 0.3
    screenshot
    caption_text "$caption" "$3" || fail "'$caption' has no title bar"
}
PULSE_SERVER="unix:$home/nowhere/native" run_as_user vibralon
tuner_pid=$program_pid
for number in 0 1 2; do
    caption=${startup_captions[$number]}
    # One box at a time: nothing else of the tuner's is on screen.
    lone_box "$caption" "$tuner_pid" "$out/caption$number.png"
    [ "$number" -ne 0 ] || save_window "$caption" "$out/message-box-wayland.png"
    swaymsg -q "[pid=$tuner_pid] kill" || fail "could not answer '$caption'"
    step "message box '$caption' answered"
done
tuner_ended "no server"

# Each caption as a box shows it that is surely wide enough: a long body widens it.
body=$(printf 'A body long enough to widen the box. %.0s' 1 2 3 4)
for number in 0 1 2; do
    caption=${startup_captions[$number]}
    run_as_user message_box_probe "$caption" "$body"
    lone_box "$caption" "$program_pid" "$out/whole$number.png"
    close_until_ended "$program_pid" || fail "the probe's box '$caption' does not close"
    same_image "$out/caption$number.png" "$out/whole$number.png" || fail "'$caption' is cut in its title bar"
done
step "no server: three boxes in order, each caption whole, exit code 0"

# --- 6. An output at scale 2: the 2x art, and a click that lands -------------------------------------
# sway keeps layout coordinates as they were; grim shoots the output's own pixels, two a layout
# pixel each way, and the window draws the 2x art into them.
swaymsg -q output '*' scale 2 || fail "sway cannot scale its output"
run_as_user window_probe --dump "$home/dense.ppm"
settled_window "$program_pid" Vibralon 20 >/dev/null || fail "at scale 2 the window did not appear"
# sway centres it at half a layout pixel, where its drawing and its input round apart: a whole one.
swaymsg -q "[pid=$program_pid] move position 40 20" || fail "sway cannot move the window"
read -r win_x win_y win_w win_h < <(settled_window "$program_pid" Vibralon) ||
    fail "at scale 2 the window is gone"
[ "$win_w $win_h" = "423 328" ] || fail "at scale 2 the window is ${win_w}x$win_h in the layout, not 423x328"
# The probe writes its picture again if the output's scale reaches it only after its first frame.
dense_composed() { [ "$(identify -format '%wx%h' "$home/dense.ppm" 2>/dev/null)" = 846x656 ]; }
eventually 5 dense_composed || fail "at scale 2 the probe composed no 846x656 picture"
# Whether the screenshot shows picture $1 at $2, $3 in the client area, in output pixels.
dense_shows() {
    convert "$shot" -crop "$(identify -format '%wx%h' "$1")+$((2 * win_x + $2))+$((2 * win_y + $3))" +repage \
        "$out/dense-crop.ppm"
    same_image "$out/dense-crop.ppm" "$1"
}
eventually 3 dense_shows "$home/dense.ppm" 0 0 || fail "at scale 2 the client area differs from the 2x composition"
click 54 149 # A5, in layout coordinates
eventually 3 dense_shows "$skin/2x/LA5.png" 48 240 || fail "at scale 2 A5 clicked: its 2x lit twin does not show"
grep -qx 'event A5 click left 30,29 IE6NClick' "$out/window_probe.out" ||
    fail "at scale 2 the click on A5 did not land at 30,29: $(grep '^event' "$out/window_probe.out")"
close_until_ended "$program_pid" || fail "at scale 2 the probe's window does not close"
step "output at scale 2: the 2x composition, pixel for pixel; a click on A5 lands and lights it"
echo "PASS"
