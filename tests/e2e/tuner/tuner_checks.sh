# shellcheck shell=bash
# Feeding, reading and driving the tuner on a desktop, for the end-to-end scripts of the Linux
# program (X11 and Wayland) and of the Windows program under Wine: sounds played into the private
# server's sink, screenshots compared with the skin's own pictures, clicks and drags with xdotool
# (a script with another pointer defines its own click), and the checks these programs must pass.
#
#   source "$repo/tests/support/x11/session.sh"   # fail, track_pid
#   source "$repo/tests/e2e/tuner/tuner_checks.sh"
#   tuner_checks_init "$out" "$repo/ui/skin/art"      # screenshots go to $out
#   wid=$(find_window '^Vibralon$' 20)            # the window to read and drive
#   check_tone_a; check_lamp_blinks; check_strings; check_lamp_press_held; check_drag
#
# Sourcing only defines functions and variables.

screen_out=
screen_skin=
wid= # the tuner's window, set by the script once it is up
# Where the client area's top-left corner lies in a screenshot: 0, 0 where the screenshot is the
# window's own; a script that shoots the whole screen sets them.
win_x=0
win_y=0
shot=
shot_count=0
screen_started=$SECONDS

tuner_checks_init() {
    screen_out=$1
    screen_skin=$2
}

# Plays a file into the sink whose monitor the tuner hears; sets player_pid.
play() {
    paplay --device=guitar "$1" 2>>"$screen_out/paplay.err" &
    player_pid=$!
    track_pid "$player_pid"
}

step() {
    echo "[$((SECONDS - screen_started)) s] $*"
}

# Writes a screenshot to $1: of the tuner's client area here; a script that reads the screen some
# other way defines its own after sourcing this file.
screen_grab() {
    import -window "$wid" "$1" 2>>"$screen_out/import.err" || fail "no screenshot of the window"
}

# Takes a screenshot; sets shot to its file.
screenshot() {
    shot_count=$((shot_count + 1))
    shot="$screen_out/shot$(printf '%03d' "$shot_count").png"
    screen_grab "$shot"
}

# same PICTURE_FILE[CROP] X Y: whether the screenshot shows that picture with its top-left
# corner at client X, Y, every pixel equal.
same() {
    local picture=$1 x=$2 y=$3 size differing
    convert "$picture" +repage "$screen_out/reference.ppm"
    size=$(identify -format '%wx%h' "$screen_out/reference.ppm")
    convert "$shot" -crop "${size}+$((win_x + x))+$((win_y + y))" +repage "$screen_out/crop.ppm"
    differing=$(compare -metric AE "$screen_out/crop.ppm" "$screen_out/reference.ppm" null: 2>&1) || true
    [ "$differing" = "0" ]
}

# A cell of the note strip, 129 x 75, four to a row.
frame() {
    echo "$screen_skin/Liste.bmp[129x75+$((129 * ($1 % 4)))+$((75 * ($1 / 4)))]"
}
# Shape1's own artwork at a place of it (in Shape1's coordinates).
artwork() {
    echo "$screen_skin/Shape1.bmp[$1x$2+$3+$4]"
}

# The panel under the arrows, unpainted: the arrow there is hidden.
plus_hidden() { same "$(artwork 31 20 7 111)" 112 173; }
moins_hidden() { same "$(artwork 32 26 126 106)" 231 168; }
plus_shown() { same "$screen_skin/plus.jpg" 112 173; }
arrows_hidden() {
    plus_hidden && moins_hidden
}

# Counts the lit-bar pixels (64,255,64) in the meter; the middle bar alone has 4 x 31.
lit_pixels() {
    convert "$shot" -crop "93x40+$((win_x + 141))+$((win_y + 197))" +repage -depth 8 txt:- |
        grep -c '(64,255,64)' || true
}
# The top-left pixel of the middle bar (Shape1 80,138) is lit.
middle_bar_lit() {
    convert "$shot" -crop "1x1+$((win_x + 185))+$((win_y + 200))" +repage -depth 8 txt:- |
        grep -q '(64,255,64)'
}

# Waits up to $1 seconds for the command after it to hold on a fresh screenshot.
eventually() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    while true; do
        screenshot
        "$@" && return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.2
    done
}

# The sanitizers' reports, if any, in the program's error output.
sanitizer_reports() {
    grep -E 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$1" || true
}

# expect_clean_exit PID ERR_FILE WHAT: waits for the tuner started as job PID to end, 5 s at
# most, and fails unless its exit code is 0 and the sanitizers reported nothing in ERR_FILE. WHAT
# says what was being done.
expect_clean_exit() {
    local pid=$1 code=0 reports
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    wait "$pid" || code=$?
    [ "$code" -eq 0 ] || fail "$3: exit code $code"
    reports=$(sanitizer_reports "$2")
    [ -z "$reports" ] || fail "$3: sanitizer reports: $reports"
}

# Waits up to $2 seconds for the program with pid $1 to end; sets exit_code, and ended_ms to how
# long it took. False if it runs on.
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

client_origin() {
    xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

# Clicks at a client position of the tuner's window.
click() {
    xdotool mousemove --window "$wid" "$1" "$2" click 1
    # Park the pointer on the body, away from what is being read.
    xdotool mousemove --window "$wid" 400 300
}

# Holds the left button down at client X, Y for about $3 seconds of screenshots (held_shots),
# each read by the command after it (held_seen: how many it held on), then moves over the body
# and releases there.
hold_and_release_over_body() {
    local x=$1 y=$2 seconds=$3
    shift 3
    held_seen=0
    held_shots=0
    xdotool mousemove --window "$wid" "$x" "$y" mousedown 1
    local deadline=$((SECONDS + seconds))
    while [ "$SECONDS" -lt "$deadline" ]; do
        screenshot
        held_shots=$((held_shots + 1))
        if "$@"; then
            held_seen=$((held_seen + 1))
        fi
        sleep 0.1
    done
    xdotool mousemove --window "$wid" 200 300
    sleep 0.2
    xdotool mouseup 1
    xdotool mousemove --window "$wid" 400 300
}

# --- Checks both programs pass ---------------------------------------------------------------------

# A 110 Hz tone is playing: note A pixel for pixel, the middle bar alone lit, no arrow.
check_tone_a() {
    eventually 10 same "$(frame 9)" 121 85 || fail "110 Hz: the note window does not show A"
    if [ "$(lit_pixels)" != 124 ] || ! middle_bar_lit; then
        fail "110 Hz: not the middle bar alone lit ($(lit_pixels) lit pixels)"
    fi
    arrows_hidden || fail "110 Hz with no string: an arrow shows"
    step "110 Hz: A, middle bar, no arrow"
}

# The lamp, once a block (4096 / 11025 s): both pictures within a few screenshots, nothing else.
check_lamp_blinks() {
    local lit=0 unlit=0
    for _ in $(seq 12); do
        screenshot
        if same "$screen_skin/On.bmp" 71 23; then
            lit=$((lit + 1))
        elif same "$screen_skin/Off.bmp" 71 23; then
            unlit=$((unlit + 1))
        else
            fail "the lamp shows neither On nor Off ($shot)"
        fi
        sleep 0.15
    done
    if [ "$lit" -eq 0 ] || [ "$unlit" -eq 0 ]; then
        fail "the lamp does not blink: $lit lit, $unlit unlit"
    fi
    step "lamp: $lit lit, $unlit unlit"
}

# With the 110 Hz tone still playing: A5 lit with no arrow, then E6 lit (A5 back) with the
# tune-up arrow, then no string and no arrow.
check_strings() {
    click 54 149 # A5
    screenshot
    same "$screen_skin/LA5.jpg" 24 120 || fail "A5 clicked: LA5 does not show at its place"
    sleep 1
    eventually 3 same "$(frame 9)" 121 85 || fail "A5: the note changed"
    arrows_hidden || fail "A5 with 110 Hz: an arrow shows"
    step "A5 lit, no arrow"

    click 54 79 # E6
    screenshot
    same "$screen_skin/LE6.bmp" 24 48 || fail "E6 clicked: LE6 does not show"
    same "$screen_skin/A5.bmp" 24 120 || fail "E6 clicked: A5 is not back"
    # A (note 9) lies below the E6 string's note: tune up.
    eventually 3 plus_shown || fail "E6 with 110 Hz: the tune-up arrow does not show"
    moins_hidden || fail "E6 with 110 Hz: the tune-down arrow shows"
    step "E6 lit, A5 back, plus shows"

    click 54 77 # LE6, two pixels above E6
    screenshot
    same "$screen_skin/E6.bmp" 24 50 || fail "LE6 clicked: E6 is not back"
    eventually 3 plus_hidden || fail "no string: the arrow stays"
    moins_hidden || fail "no string: the tune-down arrow shows"
    step "no string, no arrow"
}

# Whether the help was opened: the desktop was asked, through the stub xdg-open writing to
# OUT/opened (see stub_xdg_open), to open REPO/help/guide.htm by its absolute path. $3 says how.
check_help_opened() {
    local out=$1 repo=$2 opened
    within 5 test -s "$out/opened" || fail "$3: the help was not opened"
    opened=$(sed -n 2p "$out/opened")
    [ "$opened" = "file://$repo/help/guide.htm" ] || fail "$3: '$opened' was opened"
    [ -f "$repo/help/guide.htm" ] || fail "help/guide.htm is missing"
    step "help ($3): $opened"
}

# Dragging the body moves the window by the drag, once, on release; a click moves nothing.
check_drag() {
    local x0 y0 x1 y1
    read -r x0 y0 < <(client_origin)
    # Fond's (100, 50) and (130, 40): Fond starts 3 pixels right of the client's edge.
    xdotool mousemove --window "$wid" 103 50 mousedown 1
    sleep 0.2
    xdotool mousemove --window "$wid" 133 40
    sleep 0.2
    read -r x1 y1 < <(client_origin)
    [ "$x1 $y1" = "$x0 $y0" ] || fail "the window moved while the button was held"
    xdotool mouseup 1
    for _ in $(seq 30); do
        [ "$(client_origin)" != "$x0 $y0" ] && break
        sleep 0.1
    done
    read -r x1 y1 < <(client_origin)
    [ "$((x1 - x0)) $((y1 - y0))" = "30 -10" ] || fail "the window moved by $((x1 - x0)),$((y1 - y0)), not 30,-10"
    # Pressed and released at one place: no move.
    xdotool mousemove --window "$wid" 103 50 click 1
    sleep 0.5
    [ "$(client_origin)" = "$x1 $y1" ] || fail "a click on the body moved the window"
    step "drag: moved 30 right, 10 up"
}

lamp_lit() { same "$screen_skin/On.bmp" 71 23; }

# While blocks come: a left press held on the lamp, whose pictures each block shows and hides in
# turn, released over the body. A release that reached the body would move the window by the
# drag origin of some earlier press.
check_lamp_press_held() {
    local x0 y0
    read -r x0 y0 < <(client_origin)
    hold_and_release_over_body 78 30 2 lamp_lit
    if [ "$held_seen" -eq 0 ] || [ "$held_seen" -eq "$held_shots" ]; then
        fail "the lamp did not change while held ($held_seen lit of $held_shots)"
    fi
    sleep 0.5
    [ "$(client_origin)" = "$x0 $y0" ] || fail "a press held on the lamp moved the window to $(client_origin)"
    step "lamp held across blocks, released over the body: the window stays"
}
