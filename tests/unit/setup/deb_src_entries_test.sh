#!/usr/bin/env bash
# write_deb_src_entries (scripts/deps.sh) against apt configurations laid out in a temporary
# folder: the one-line sources.list of a stock Debian 12 or Ubuntu 22.04, deb822 files, both,
# entries already present, and none at all. Each case compares the files written with the
# expected ones, byte for byte; the user's files must stay as they were.
# Usage: deb_src_entries_test.sh SOURCE_DIR
set -euo pipefail

src=$1
# shellcheck source=scripts/deps.sh
source "$src/scripts/deps.sh"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0

# new_case NAME: $apt, laid out from the here-documents given to sources_list / deb822 (none
# when not called); run STATUS runs the function, which must end with STATUS and leave the
# user's files as they were; expect* compare what it wrote.
new_case() {
    name=$1
    apt=$root/$name
    mkdir -p "$apt/sources.list.d"
}
sources_list() { cat >"$apt/sources.list"; }
deb822() { cat >"$apt/sources.list.d/${1:-debian}.sources"; }
users_files() { (cd "$apt" && find . -type f ! -name 'vibralon-*' -exec md5sum {} + | sort); }
run() {
    local before status=0
    before=$(users_files)
    write_deb_src_entries "$apt" 2>"$root/$name.err" || status=$?
    [ "$status" -eq "$1" ] || bad "status $status, not $1 ($(cat "$root/$name.err"))"
    [ "$(users_files)" = "$before" ] || bad "the user's files changed"
}
bad() {
    echo "FAIL [$name]: $*" >&2
    failures=$((failures + 1))
}
# expect FILE (list or sources): the file written equals standard input.
expect() {
    diff -u - "$apt/sources.list.d/vibralon-deb-src.$1" >&2 || bad "vibralon-deb-src.$1 is missing or not as expected"
}
expect_none() {
    [ ! -e "$apt/sources.list.d/vibralon-deb-src.$1" ] || bad "vibralon-deb-src.$1 written"
}

# --- Debian 12 as its installer leaves it: one-line entries, a CD-ROM, one deb-src there ----------
new_case debian12
sources_list <<'LIST'
#deb cdrom:[Debian GNU/Linux 12.5.0 _Bookworm_ - Official amd64 NETINST with firmware 20240210-11:27]/ bookworm contrib main non-free-firmware

deb cdrom:[Debian GNU/Linux 12.5.0 _Bookworm_ - Official amd64 DVD Binary-1]/ bookworm main
deb http://deb.debian.org/debian/ bookworm main non-free-firmware
deb-src http://deb.debian.org/debian/ bookworm main non-free-firmware

deb http://security.debian.org/debian-security bookworm-security main non-free-firmware
# deb-src http://security.debian.org/debian-security bookworm-security main non-free-firmware

# bookworm-updates, to get updates before a point release is made;
deb   http://deb.debian.org/debian/   bookworm-updates main non-free-firmware   # updates
deb http://deb.debian.org/debian/ bookworm-updates main non-free-firmware
LIST
run 0
expect list <<'LIST'
deb-src http://security.debian.org/debian-security bookworm-security main non-free-firmware
deb-src http://deb.debian.org/debian/ bookworm-updates main non-free-firmware
LIST
expect_none sources

# --- Ubuntu 22.04: options in brackets, deb-src lines commented out -------------------------------
new_case ubuntu2204
sources_list <<'LIST'
deb [arch=amd64 signed-by=/usr/share/keyrings/ubuntu-archive-keyring.gpg] http://archive.ubuntu.com/ubuntu/ jammy main restricted
# deb-src http://archive.ubuntu.com/ubuntu/ jammy main restricted
deb [ arch=amd64 ] http://security.ubuntu.com/ubuntu/ jammy-security main
deb-src [ arch=amd64 ] http://security.ubuntu.com/ubuntu/ jammy-security main
LIST
run 0
expect list <<'LIST'
deb-src [arch=amd64 signed-by=/usr/share/keyrings/ubuntu-archive-keyring.gpg] http://archive.ubuntu.com/ubuntu/ jammy main restricted
LIST

# --- deb822 (Debian's container images, Ubuntu 24.04): disabled and mixed paragraphs -------------
new_case deb822
deb822 <<'SOURCES'
# The distribution's archive.
Types:	deb
# http://snapshot.debian.org/archive/debian/20250520T000000Z
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types:	deb deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main

Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Enabled: no
SOURCES
run 0
expect sources <<'SOURCES'
# The distribution's archive.
Types: deb-src
# http://snapshot.debian.org/archive/debian/20250520T000000Z
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
expect_none list

# --- Both formats: ubuntu.sources and a sources.list of its own -----------------------------------
new_case both
deb822 ubuntu <<'SOURCES'
Types: deb
URIs: http://archive.ubuntu.com/ubuntu/
Suites: noble
Components: main
SOURCES
sources_list <<'LIST'
deb http://ppa.example.org/ubuntu noble main
LIST
run 0
expect sources <<'SOURCES'
Types: deb-src
URIs: http://archive.ubuntu.com/ubuntu/
Suites: noble
Components: main
SOURCES
expect list <<'LIST'
deb-src http://ppa.example.org/ubuntu noble main
LIST

# --- Every entry has its deb-src: nothing to add, and a stale file of ours goes ------------------
new_case present
sources_list <<'LIST'
deb http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm main
LIST
echo "deb-src http://stale.example.org/debian bookworm main" >"$apt/sources.list.d/vibralon-deb-src.list"
run 0
expect_none list

# --- No deb entry anywhere: a clear message, nothing written -------------------------------------
new_case none
sources_list <<'LIST'
# deb http://deb.debian.org/debian bookworm main
LIST
deb822 <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
SOURCES
run 1
grep -q "No deb entries in $apt/sources.list" "$root/$name.err" || bad "no clear message: $(cat "$root/$name.err")"
expect_none list
expect_none sources

new_case empty
run 1

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
