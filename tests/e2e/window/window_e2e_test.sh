#!/usr/bin/env bash
# The tuner's window on a real X server with a window manager: it opens centred, its pixels
# on screen equal the skin's composition, real mouse input reaches the right handlers, the real
# message box appears and answers, and a polite close ends the program with code 0. At 200 % the
# window shows the 2x art pixel for pixel and clicks land in skin coordinates.
# Usage: window_e2e_test.sh PATH/TO/window_probe OUTPUT_DIR
set -euo pipefail

probe=$1
out=$2
repo=$(cd "$(dirname "$0")/../../.." && pwd)

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
# shellcheck source=tests/support/x11/message_boxes.sh
source "$repo/tests/support/x11/message_boxes.sh"
# shellcheck source=tests/e2e/tuner/tuner_checks.sh
source "$repo/tests/e2e/tuner/tuner_checks.sh"
session_begin "$out" all '*.out' '*.err'
x11_exact_pixels_env

# Waits up to 10 seconds for a line matching $2 in file $1.
wait_for_line() {
    within 10 grep -qE "$2" "$1" 2>/dev/null || fail "no line matching '$2' in $1"
}

x11_start_xvfb "$out"
x11_start_openbox "$out"

# Starts the probe with the given name and arguments, as start_tuner does a tuner; sets wid,
# model_left, model_top.
start_probe() {
    local name=$1
    shift
    tuner_cwd=$PWD start_tuner "$name" "$probe" "$@"
    wait_for_line "$out/$name.out" '^ready '
    read -r _ wid model_left model_top < <(grep '^ready ' "$out/$name.out")
}

# Closes the window as the user would and checks that the program ends with code 0.
close_politely() {
    close_tuner "$1" 10
    grep -q '^exit 0$' "$out/$1.out" || fail "$1: the message loop did not end normally"
}

# Compares the window's pixels on screen with the composition the probe dumped.
same_pixels() {
    import -window "$wid" "$out/$1.png"
    same_image "$out/$1.png" "$out/$1.ppm" ||
        fail "$1: $(pixels_differ "$out/$1.png" "$out/$1.ppm") pixels differ between screen and skin"
    echo "$1: screen equals the skin's composition ($(identify -format '%wx%h' "$out/$1.png"))"
}

# --- 1. Opening: size, centring, pixels ------------------------------------------------------
start_probe start --dump "$out/start.ppm"
[ "$(client_size)" = 423x328 ] || fail "client area is $(client_size), not 423x328"
[ "$model_left $model_top" = "296 206" ] || fail "first position $model_left,$model_top"
# openbox sets the frame's extents a moment after the window maps.
framed() { xprop -id "$wid" _NET_FRAME_EXTENTS | grep -q ' = '; }
within 5 framed || fail "openbox gave the window no frame extents"
read -r client_x client_y < <(client_origin)
read -r frame_left _ frame_top _ < <(xprop -id "$wid" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
frame_x=$((client_x - frame_left))
frame_y=$((client_y - frame_top))
[ "$frame_x $frame_y" = "296 206" ] || fail "the frame opened at $frame_x,$frame_y, not 296,206"
xprop -id "$wid" WM_NAME | grep -q '"Vibralon"' || fail "caption"
# The icon comes just after the window shows.
has_icon() { xprop -id "$wid" _NET_WM_ICON | grep -q 'Icon (32 x 32)'; }
within 5 has_icon || fail "no 32x32 window icon"
# The frame it asks the window manager for: resizable, movable, minimize and close, but neither
# a maximize function (0x10) nor a maximize button (0x40).
read -r mwm_flags mwm_functions mwm_decorations _ < <(xprop -id "$wid" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
[ $((mwm_flags & 3)) -eq 3 ] || fail "window hints name neither functions nor decorations: $mwm_flags"
[ $((mwm_functions & 0x10)) -eq 0 ] || fail "the window offers to maximize: $mwm_functions"
[ $((mwm_functions & 0x2e)) -eq $((0x2e)) ] || fail "resize, move, minimize or close missing: $mwm_functions"
[ $((mwm_decorations & 0x40)) -eq 0 ] || fail "the window asks for a maximize button: $mwm_decorations"
[ $((mwm_decorations & 0x38)) -eq $((0x38)) ] || fail "title, menu or minimize button missing: $mwm_decorations"
same_pixels start

# --- 2. Real mouse input -----------------------------------------------------------------------
# A left press on Fond released far outside the window still reaches FondMouseUp.
xdotool mousemove --window "$wid" 10 10 mousedown 1 mousemove 1000 700 mouseup 1
wait_for_line "$out/start.out" '^event Fond up left'
expected="event Fond up left $((1000 - client_x - 3)),$((700 - client_y)) FondMouseUp"
grep -qx "$expected" "$out/start.out" || fail "expected '$expected'"
# That release moved the window (Fond drags it): drag it back to where it was.
xdotool sleep 0.5 mousemove --window "$wid" 10 10 mousedown 1 mousemove "$((client_x + 10))" "$((client_y + 10))" \
    mouseup 1 sleep 0.5
[ "$(client_origin)" = "$client_x $client_y" ] || fail "the window did not come back: $(client_origin)"
# A click on E6 lights it; after a pause a double-click: its first press clicks the lit twin
# (LE6, two pixels higher) and clears it, its second press falls on E6 and is no click.
xdotool mousemove --window "$wid" 50 80 click 1 sleep 1 click --repeat 2 --delay 60 1 sleep 0.5
clicks=$(grep -c '^event E6 click left 26,30 IE6NClick$' "$out/start.out" || true)
presses=$(grep -c '^event E6 down left 26,30' "$out/start.out" || true)
twin_clicks=$(grep -c '^event LE6 click left 26,32 IE1OClick$' "$out/start.out" || true)
[ "$clicks $presses $twin_clicks" = "1 2 1" ] ||
    fail "E6: $clicks clicks, $presses presses, LE6: $twin_clicks clicks (want 1, 2, 1)"
# A right press on Fond released over the panel goes to the panel.
xdotool sleep 1 mousemove --window "$wid" 10 10 mousedown 3 mousemove --window "$wid" 150 100 mouseup 3
wait_for_line "$out/start.out" '^event Shape1 up right 45,38 $'
! grep -q '^event Fond up right' "$out/start.out" || fail "Fond heard a right release over the panel"
# The help button's hint: shown in the toolkit's tooltip colours once the pointer rests on the
# button, gone as soon as it leaves. It lies partly outside the window: the screen is read whole.
screen_grab() { import -window root "$1"; }
win_x=$client_x
win_y=$client_y
xdotool mousemove --window "$wid" 200 300 sleep 1
screenshot
hint_gone || fail "a hint shows before the pointer is on the help button"
xdotool mousemove --window "$wid" 335 30
eventually 5 hint_shown || fail "no hint over the help button ($(hint_pixels) pixels of hint colour)"
xdotool mousemove --window "$wid" 200 300
eventually 5 hint_gone || fail "the hint stays after the pointer left the help button"
xdotool mousemove --window "$wid" 335 30
eventually 5 hint_shown || fail "no hint over the help button the second time"
echo "hint: shows over the help button, goes when the pointer leaves"
# The help button's click.
xdotool mousemove --window "$wid" 335 30 click 1
wait_for_line "$out/start.out" '^event Image2 click left 5,6 Image2Click$'
echo "mouse: presses, releases, clicks and double-clicks reach the right handlers"
close_politely start

# --- 3. A reading on the panel: note, lit bar, lit twin (a JPEG), lamp -----------------------
start_probe demo --demo --dump "$out/demo.ppm"
same_pixels demo
close_politely demo

# --- 4. The real message box ------------------------------------------------------------------
start_probe box --message-box "No sound card installed !"
lone_box "No sound card installed !" "$out/message_box.png"
answer_box
wait_for_line "$out/box.out" '^message box returned 1$'
tuner_ended box 10
echo "message box: shown with its caption, answered with OK"

# --- 5. A 200 % screen: the 2x art, and clicks in skin coordinates ----------------------------
# Qt scales the window by 2: the client area is twice the size and shows the 2x art, each screen
# pixel a pixel of the composition (no 2x2 blocks of the 1x art).
QT_SCALE_FACTOR=2 start_probe dense --dump "$out/dense.ppm"
same_pixels dense
[ "$(client_size)" = 846x656 ] || fail "at 200 % the client area is $(client_size), not 846x656"
# A5's middle (54,149 in the skin) is 108,298 on screen: the click lands there and lights the
# button, its lit twin drawn from the 2x art.
xdotool mousemove --window "$wid" 108 298 click 1
wait_for_line "$out/dense.out" '^event A5 click left 30,29 IE6NClick$'
read -r win_x win_y < <(client_origin)
eventually 3 same "$skin/2x/LA5.png" 48 240 || fail "at 200 % A5 clicked: the 2x LA5 does not show at 48,240"
close_politely dense
QT_SCALE_FACTOR=2 start_probe dense-demo --demo --dump "$out/dense-demo.ppm"
same_pixels dense-demo
close_politely dense-demo
echo "200 %: the 2x composition on screen, a click on A5 lights its 2x twin"
echo "PASS"
