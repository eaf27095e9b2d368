#!/usr/bin/env bash
# The real tuner started and closed, with nothing else going on: the run the sanitizer builds
# check the start-up and shut-down with (the sound server's thread begins while Qt starts).
# Passes when the window came up, closed on request, and the program exited 0 with no sanitizer
# report (a report makes the sanitizer's exit code non-zero, too).
#
# Usage: start_close_test.sh PATH/TO/vibralon OUTPUT_DIR
set -euo pipefail

tuner=$(realpath "$1")
out=$(realpath -m "$2")
repo=$(realpath "$(dirname "$0")/../../..")

# shellcheck source=tests/support/x11/session.sh
source "$repo/tests/support/x11/session.sh"
session_begin "$out" all 'tuner.err'
x11_exact_pixels_env
x11_start_desktop "$out"

start_tuner tuner "$tuner"
find_window '^Vibralon$' 30 >/dev/null || fail "the window did not appear"
# Capture under way, as a player would close it.
sleep 1
close_tuner "closed" 60
stop_private_pulse
echo "PASS"
