#!/usr/bin/env bash
# The folders read top-down, and the portable ones stay portable:
# - capture/, analysis/, worker/ and ui/ include no Qt, PulseAudio, X11 or Windows header
#   directly (the Windows names come through platform/winapi.h only), nor anything of one
#   system's layer (platform/linux/, platform/win32/): only what both systems share;
# - a folder includes only from folders below it: app > hosts > ui > worker > analysis >
#   capture > platform, and everything may include platform/winapi.h;
# - the programs that never listen (given after --quiet) load no sound-server library, while
#   the tuner (given after --listens) loads libpulse.so.0 itself when it first needs it: the
#   file's name is in it, and the dynamic linker loads no sound-server library before main (the
#   dozen libraries under libpulse would delay the window). Both halves read the same answers,
#   so that the check cannot pass by reading nothing.
#
# Usage: layers_test.sh SOURCE_DIR --listens PROGRAM... --quiet PROGRAM...
set -euo pipefail

source_dir=$1
shift
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Each layered folder's height: it includes from lower ones only.
declare -A rank=([app]=7 [hosts]=6 [ui]=5 [worker]=4 [analysis]=3 [capture]=2 [platform]=1)

# Headers the portable folders must not name: toolkit, sound server, window system, Windows.
system_pattern='^#include <(Q[A-Za-z]*|Qt[A-Za-z]*/.*|qt.*|pulse/.*|pipewire.*|X11/.*|xcb/.*|wayland-.*|windows\.h|winuser\.h|winbase\.h|mmsystem\.h|mmeapi\.h|shellapi\.h|windef\.h|winnt\.h)>'

checked=0
for folder in "${!rank[@]}"; do
    [ -d "$source_dir/$folder" ] || {
        fail "$folder/ is missing"
        continue
    }
    own=${rank[$folder]}
    while IFS= read -r -d '' file; do
        relative=${file#"$source_dir"/}
        checked=$((checked + 1))
        case $folder in
        capture | analysis | worker | ui)
            ! hit=$(grep -Enm1 "$system_pattern" "$file") ||
                fail "$relative includes a platform header directly: $hit"
            ! hit=$(grep -Enm1 '^#include "platform/(linux|win32)/' "$file") ||
                fail "$relative includes one system's layer: $hit"
            ;;
        esac
        while IFS= read -r included; do
            top=${included%%/*}
            # Everyone may include platform/winapi.h; a file beside it, or outside the layered
            # folders, has no rank (0).
            [ "$included" = platform/winapi.h ] || [ "$top" = "$folder" ] || [ "${rank[$top]:-0}" -lt "$own" ] ||
                fail "$relative includes \"$included\", from a folder above or beside $folder/"
        done < <(sed -nE 's/^#include "([^"]+)".*/\1/p' "$file")
    done < <(find "$source_dir/$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.in' \) -print0)
done
[ "$checked" -gt 50 ] || fail "only $checked files were checked"

# Programs and the sound-server libraries they load.
# ldd's whole answer first: grep -q stops reading at its first match, and under pipefail the
# SIGPIPE ldd then gets would read as "links nothing".
links_sound_server() { grep -Eq 'lib(pulse|pipewire)[^ ]*\.so' <<<"$(ldd "$1")"; }
# Whether the program names the client library it loads at run time.
names_sound_server() { grep -qx 'libpulse\.so\.0' <<<"$(strings -a "$1")"; }
mode=""
for argument in "$@"; do
    case $argument in
    --listens | --quiet)
        mode=$argument
        continue
        ;;
    esac
    [ -x "$argument" ] || {
        fail "$argument is not a program"
        continue
    }
    program=$(basename "$argument")
    ! links_sound_server "$argument" ||
        fail "$program has the dynamic linker load: $(ldd "$argument" | grep -Eo 'lib(pulse|pipewire)[^ ]*' | sort -u | tr '\n' ' ')"
    if [ "$mode" = --listens ] && ! names_sound_server "$argument"; then
        fail "$program listens but never names libpulse.so.0 to load"
    elif [ "$mode" = --quiet ] && names_sound_server "$argument"; then
        fail "$program never listens but names libpulse.so.0 to load"
    fi
done

echo "$checked files checked"
[ "$failures" -eq 0 ]
