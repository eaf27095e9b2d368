# shellcheck shell=bash
# What the install tests share: the session helpers (fail() among them), the application's id
# and reading its desktop entry.
# shellcheck source=tests/support/x11/session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/x11/session.sh"

# shellcheck disable=SC2034 # read by the scripts that source this
app_id=org.vibralon.Vibralon

# Value of KEY in the [Desktop Entry] group of file $1.
entry_value() {
    awk -v key="$2" '
        /^\[/ { group = $0 }
        group == "[Desktop Entry]" && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
    ' "$1"
}
