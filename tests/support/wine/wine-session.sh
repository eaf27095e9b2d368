# shellcheck shell=bash
# Wine for our end-to-end tests of the Windows build; source it after tests/support/x11/session.sh
# (it uses fail, at_exit and the X server and sound server started there).
#
#   source "$repo/tests/support/wine/wine-session.sh"
#   wine_use_prefix "$out"                 # exports WINEPREFIX and Wine's settings, booted
#   wine_start_desktop_session "$out"      # Xvfb, openbox and the private PulseAudio server
#   wine_require_program "$windows_build/tests/wine/capture_probe.exe"
#   wine_console "$exe" args... >"$out/x.out"   # a console program, output with Unix line ends
#   wine_record_htm_opens "$out"           # the shell's "open" of a .htm writes it to $out/opened
#   wine_source_gone; wine_source_back     # the only source unloaded, then loaded again
#   (the server itself gone, hung or back: private_pulse and start_private_pulse of session.sh)
#
# The prefix: ./test makes one empty folder per run and names it in VIBRALON_WINE_PREFIX, and
# every Wine test of that run shares it, so Wine's first start (several seconds) is paid once;
# the first test to come boots it, under a lock. Run alone (no VIBRALON_WINE_PREFIX), a test
# boots a prefix of its own in OUT. Either way the test's Wine processes are ended on exit.

# Wine's settings for tests: no debug output, and a new prefix never stops to offer its Mono
# and Gecko installers.
wine_test_env() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEARCH WINESERVER WINELOADER
}

# Ends every Wine process of the prefix (the wineserver with them).
wine_end_processes() {
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] || return 0
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

wine_use_prefix() {
    local out=$1
    wine_test_env
    export WINEPREFIX=${VIBRALON_WINE_PREFIX:-$out/wineprefix}
    at_exit wine_end_processes
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.booted" ]; then
            rm -rf "$WINEPREFIX"
            # Booting needs no display and no sound: keep both away from it.
            if ! env -u DISPLAY -u WAYLAND_DISPLAY -u PULSE_SERVER \
                wine wineboot -i >"$out/wineboot.log" 2>&1; then
                exit 1
            fi
            wineserver -w
            touch "$WINEPREFIX/.booted"
        fi
    ) 9>"$WINEPREFIX.lock" || fail "wineboot could not make the prefix $WINEPREFIX: see $out/wineboot.log"
}

# The X server, a window manager and the private PulseAudio server whose null sink "guitar"
# Wine's wave input hears through the sink's monitor, the default source.
wine_start_desktop_session() {
    # Wine processes started before there was a display (a registry change, say) would keep
    # a desktop without one, on which no window of a later program ever shows: let them end.
    [ -z "${WINEPREFIX:-}" ] || wineserver -w
    x11_start_desktop "$1"
}

# Runs a Windows console program, for 60 s at most; its output comes with Unix line ends.
wine_console() {
    timeout 60 wine "$@" | tr -d '\r'
}

# Fails, saying how to build it, when a program of the Windows build is missing.
wine_require_program() {
    [ -f "$1" ] ||
        fail "$1 is missing: build the Windows programs first" \
            "(cmake --preset windows && cmake --build --preset windows)"
}

# The association for .htm that records the document it is asked to open, in OUT/opened (a
# Unix folder, seen by Wine as drive Z:), instead of opening a browser. A new prefix has no .htm
# association (its browser is kept out); this one is removed on exit, leaving the shared prefix
# as it was found.
wine_record_htm_opens() {
    local out=$1
    local record="Z:${out//\//\\}\\opened"
    if ! {
        wine reg add 'HKCR\.htm' /ve /d VibralonTest.OpenRecorder /f &&
            wine reg add 'HKCR\VibralonTest.OpenRecorder\shell\open\command' /ve \
                /d "C:\\windows\\system32\\cmd.exe /c echo %1>$record" /f
    } >/dev/null 2>"$out/reg.err"; then
        fail "cannot register the .htm association"
    fi
    at_exit wine_forget_htm_opens
}
wine_forget_htm_opens() {
    wine reg delete 'HKCR\VibralonTest.OpenRecorder' /f >/dev/null 2>&1
    wine reg delete 'HKCR\.htm' /f >/dev/null 2>&1
}

# A device that goes and comes back, as Wine's wave input meets it: the only source gone (the
# null sink unloaded, its monitor with it), then loaded again, as an interface unplugged and
# plugged back.
wine_source_gone() {
    local module
    module=$(pactl list short modules | awk '$2 == "module-null-sink" { print $1 }')
    [ -n "$module" ] || fail "no null sink to unload"
    pactl unload-module "$module" || fail "cannot unload the null sink"
}
wine_source_back() {
    pactl load-module module-null-sink sink_name=guitar >/dev/null || fail "cannot load the null sink"
    pactl set-default-source guitar.monitor >/dev/null || fail "cannot make guitar.monitor the default source"
}
