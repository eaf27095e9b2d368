# shellcheck shell=bash
# Feeding, reading and driving the tuner on a desktop, for the end-to-end scripts of the Linux
# program (X11 and Wayland) and of the Windows program under Wine: screenshots compared with the
# skin's own pictures, clicks and drags with xdotool (a script with another pointer defines its
# own click), and the checks these programs must pass.
#
#   source "$repo/tests/support/x11/session.sh"   # fail, track_pid; screenshots go to its OUT
#   source "$repo/tests/e2e/tuner/tuner_checks.sh"
#   wid=$(find_window '^Vibralon$' 20)            # the window to read and drive
#   check_tone_a; check_lamp_blinks; check_strings; check_lamp_press_held; check_drag
#
# Sourcing only defines functions and variables.

# shellcheck disable=SC2154 # session_repo and session_out: set by session.sh
skin=$session_repo/ui/skin/art
# Where the client area's top-left corner lies in a screenshot: 0, 0 where the screenshot is the
# window's own; a script that shoots the whole screen sets them.
win_x=0
win_y=0
shot=
shot_count=0
screen_started=$SECONDS
# The boxes a tuner shows in turn when it finds no sound server.
# shellcheck disable=SC2034 # for the scripts that source this file
startup_captions=("No sound card installed !" "Cannot determine sound card capabilities !" "Recorder")

step() {
    echo "[$((SECONDS - screen_started)) s] $*"
}

# Writes a screenshot to $1: of the tuner's client area here; a script that reads the screen some
# other way defines its own after sourcing this file.
screen_grab() {
    import -window "$wid" "$1" 2>>"$session_out/import.err" || fail "no screenshot of the window"
}

# Takes a screenshot; sets shot to its file.
screenshot() {
    shot_count=$((shot_count + 1))
    shot="$session_out/shot$(printf '%03d' "$shot_count").png"
    screen_grab "$shot"
}

# same PICTURE_FILE[CROP] X Y: whether the screenshot shows that picture with its top-left
# corner at client X, Y, every pixel equal.
same() {
    local picture=$1 x=$2 y=$3 size
    convert "$picture" +repage "$session_out/reference.ppm"
    size=$(identify -format '%wx%h' "$session_out/reference.ppm")
    convert "$shot" -crop "${size}+$((win_x + x))+$((win_y + y))" +repage "$session_out/crop.ppm"
    same_image "$session_out/crop.ppm" "$session_out/reference.ppm"
}

# A cell of the note strip, 129 x 75, four to a row.
frame() {
    echo "$skin/Liste.bmp[129x75+$((129 * ($1 % 4)))+$((75 * ($1 / 4)))]"
}
# Shape1's own artwork at a place of it (in Shape1's coordinates).
artwork() {
    echo "$skin/Shape1.bmp[$1x$2+$3+$4]"
}

# The panel under the arrows, unpainted: the arrow there is hidden.
plus_hidden() { same "$(artwork 31 20 7 111)" 112 173; }
moins_hidden() { same "$(artwork 32 26 126 106)" 231 168; }
plus_shown() { same "$skin/plus.jpg" 112 173; }
arrows_hidden() { plus_hidden && moins_hidden; }

# colour_pixels W H X Y R,G,B: how many pixels of that colour the screenshot has in the W x H
# rectangle at client X, Y.
colour_pixels() {
    convert "$shot" -crop "$1x$2+$((win_x + $3))+$((win_y + $4))" +repage -depth 8 txt:- |
        grep -c "($5)" || true
}
# The lit-bar pixels in the meter; the middle bar alone has 4 x 31, its top-left one at Shape1
# 80,138.
lit_pixels() { colour_pixels 93 40 141 197 64,255,64; }
middle_bar_lit() { [ "$(colour_pixels 1 1 185 200 64,255,64)" = 1 ]; }
# The help button's hint: a popup near the pointer in the toolkit's tooltip colours.
hint_pixels() { colour_pixels 240 60 320 30 255,255,220; }
hint_shown() { [ "$(hint_pixels)" -ge 200 ]; }
hint_gone() { [ "$(hint_pixels)" -lt 50 ]; }

# Waits up to $1 seconds for the command after it to hold on a fresh screenshot.
eventually() { within "$1" holds_on_a_screenshot "${@:2}"; }
holds_on_a_screenshot() {
    screenshot
    "$@"
}

# Clicks at a client position of the tuner's window, then parks the pointer on the body, away
# from what is being read.
click() {
    xdotool mousemove --window "$wid" "$1" "$2" click 1 mousemove --window "$wid" 400 300
}

# Moves the pressed pointer over the body, releases the button there and parks the pointer.
release_over_body() {
    xdotool mousemove --window "$wid" 200 300 sleep 0.2 mouseup 1 mousemove --window "$wid" 400 300
}

# --- Checks both programs pass ---------------------------------------------------------------------

# A 110 Hz tone is playing: note A pixel for pixel, the middle bar alone lit, no arrow.
check_tone_a() {
    eventually 10 same "$(frame 9)" 121 85 || fail "110 Hz: the note window does not show A"
    { [ "$(lit_pixels)" = 124 ] && middle_bar_lit; } ||
        fail "110 Hz: not the middle bar alone lit ($(lit_pixels) lit pixels)"
    arrows_hidden || fail "110 Hz with no string: an arrow shows"
    step "110 Hz: A, middle bar, no arrow"
}

# The lamp, once a block (4096 / 11025 s): both pictures within a few screenshots, nothing else.
check_lamp_blinks() {
    local lit=0 unlit=0
    for _ in $(seq 12); do
        screenshot
        if same "$skin/On.bmp" 71 23; then
            lit=$((lit + 1))
        elif same "$skin/Off.bmp" 71 23; then
            unlit=$((unlit + 1))
        else
            fail "the lamp shows neither On nor Off ($shot)"
        fi
        sleep 0.15
    done
    { [ "$lit" -gt 0 ] && [ "$unlit" -gt 0 ]; } || fail "the lamp does not blink: $lit lit, $unlit unlit"
    step "lamp: $lit lit, $unlit unlit"
}

# With the 110 Hz tone still playing: A5 lit with no arrow, then E6 lit (A5 back) with the
# tune-up arrow, then no string and no arrow.
check_strings() {
    # A compositor hands a click on, and the window repaints a moment later.
    click 54 149 # A5
    eventually 3 same "$skin/LA5.jpg" 24 120 || fail "A5 clicked: LA5 does not show at its place"
    sleep 1
    eventually 3 same "$(frame 9)" 121 85 || fail "A5: the note changed"
    arrows_hidden || fail "A5 with 110 Hz: an arrow shows"
    click 54 79 # E6
    eventually 3 same "$skin/LE6.bmp" 24 48 || fail "E6 clicked: LE6 does not show"
    same "$skin/A5.bmp" 24 120 || fail "E6 clicked: A5 is not back"
    # A (note 9) lies below the E6 string's note: tune up.
    eventually 3 plus_shown || fail "E6 with 110 Hz: the tune-up arrow does not show"
    moins_hidden || fail "E6 with 110 Hz: the tune-down arrow shows"
    click 54 77 # LE6, two pixels above E6
    eventually 3 same "$skin/E6.bmp" 24 50 || fail "LE6 clicked: E6 is not back"
    eventually 3 plus_hidden || fail "no string: the arrow stays"
    moins_hidden || fail "no string: the tune-down arrow shows"
    step "A5 lit with no arrow; E6 lit, A5 back, the tune-up arrow; no string, no arrow"
}

# Whether the help was opened: the desktop was asked, through the stub xdg-open writing to
# OUT/opened (see stub_xdg_open), to open the repository's help/guide.htm by its absolute path.
# $1 says how.
check_help_opened() {
    local opened
    within 5 test -s "$session_out/opened" || fail "$1: the help was not opened"
    opened=$(sed -n 2p "$session_out/opened")
    [ "$opened" = "file://$session_repo/help/guide.htm" ] || fail "$1: '$opened' was opened"
    [ -f "$session_repo/help/guide.htm" ] || fail "help/guide.htm is missing"
    step "help ($1): $opened"
}

# Dragging the body moves the window by the drag, once, on release; a click moves nothing.
check_drag() {
    local x0 y0 x1 y1
    read -r x0 y0 < <(client_origin)
    # Fond's (100, 50) and (130, 40): Fond starts 3 pixels right of the client's edge.
    xdotool mousemove --window "$wid" 103 50 mousedown 1 sleep 0.2 mousemove --window "$wid" 133 40 sleep 0.2
    [ "$(client_origin)" = "$x0 $y0" ] || fail "the window moved while the button was held"
    xdotool mouseup 1
    within 3 origin_is_not "$x0 $y0" || true
    read -r x1 y1 < <(client_origin)
    [ "$((x1 - x0)) $((y1 - y0))" = "30 -10" ] || fail "the window moved by $((x1 - x0)),$((y1 - y0)), not 30,-10"
    # Pressed and released at one place: no move.
    xdotool mousemove --window "$wid" 103 50 click 1 sleep 0.5
    [ "$(client_origin)" = "$x1 $y1" ] || fail "a click on the body moved the window"
    step "drag: moved 30 right, 10 up"
}

origin_is_not() { [ "$(client_origin)" != "$1" ]; }

# While blocks come: a left press held on the lamp, whose pictures each block shows and hides in
# turn, released over the body. A release that reached the body would move the window by the
# drag origin of some earlier press.
check_lamp_press_held() {
    local x0 y0 lit=0 shots=0 deadline=$((SECONDS + 2))
    read -r x0 y0 < <(client_origin)
    xdotool mousemove --window "$wid" 78 30 mousedown 1
    while [ "$SECONDS" -lt "$deadline" ]; do
        screenshot
        shots=$((shots + 1))
        ! same "$skin/On.bmp" 71 23 || lit=$((lit + 1))
        sleep 0.1
    done
    release_over_body
    { [ "$lit" -gt 0 ] && [ "$lit" -lt "$shots" ]; } ||
        fail "the lamp did not change while held ($lit lit of $shots)"
    sleep 0.5
    [ "$(client_origin)" = "$x0 $y0" ] || fail "a press held on the lamp moved the window to $(client_origin)"
    step "lamp held across blocks, released over the body: the window stays"
}
