# shellcheck shell=bash disable=SC2034 # the package lists are read by ./run and ./test
# Sourced by ./run and ./test: installs Debian packages that are missing, quietly.
# Usage: ensure_packages [--no-install-recommends] pkg...

ensure_packages() {
    local options=()
    if [ "${1:-}" = --no-install-recommends ]; then
        options+=("$1")
        shift
    fi
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq >/dev/null
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}" >/dev/null
}

# What building the program needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libpulse-dev libjpeg62-turbo-dev
    libstb-dev)

# What the program needs to run on a desktop (X11 or Wayland).
RUN_PACKAGES=(qt6-wayland xdg-utils)

# What the tests need: GoogleTest, the benchmarks and their FFTW yardstick, the tools' sound-file
# libraries and the skin generator's font, real sound servers, guitar sound, a real X server, a
# Wayland compositor and tools to drive them, and lintian to check the Debian package.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libsndfile1-dev
    libsamplerate0-dev fonts-dejavu-core pulseaudio pulseaudio-utils fluidsynth fluid-soundfont-gm xvfb xdotool imagemagick
    openbox wmctrl x11-utils clang-format shellcheck sox desktop-file-utils appstream dpkg-dev file
    sway grim jq procps lintian git)
# PipeWire with its PulseAudio service, on a D-Bus of its own: without their recommendations,
# which would bring a desktop's session services along.
TEST_PACKAGES_NO_RECOMMENDS=(pipewire pipewire-pulse wireplumber dbus)

# What the Windows build and its tests under Wine need: the cross compiler, the installer
# builder, a 64-bit Wine and a reader of Windows shortcuts.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix nsis wine wine64 liblnk-utils)

# The Windows build makes libjpeg from Debian's source package, which apt fetches only with a
# deb-src entry: add one for each of the distribution's deb entries, in files of our own, never
# touching the user's. Both formats occur: one-line entries in sources.list (Debian 12 as its
# installer leaves it, Ubuntu 22.04) and deb822 paragraphs in debian.sources or ubuntu.sources.
ensure_debian_sources() {
    apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1 && return 0
    echo "Adding deb-src entries for Debian's source packages"
    write_deb_src_entries /etc/apt || return 1
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq >/dev/null
}

# Writes APT_DIR/sources.list.d/vibralon-deb-src.{list,sources}: a deb-src twin of every deb
# entry in APT_DIR that has none yet. Fails when APT_DIR lists no deb entry at all.
write_deb_src_entries() {
    local apt_dir=$1 found=no
    local one_line=$apt_dir/sources.list own=$apt_dir/sources.list.d/vibralon-deb-src
    local deb822=() file
    for file in "$apt_dir"/sources.list.d/{debian,ubuntu}.sources; do
        [ -f "$file" ] && deb822+=("$file")
    done
    if [ -f "$one_line" ] && grep -qE '^[[:blank:]]*deb[[:blank:]]' "$one_line"; then
        found=yes
        deb_src_one_line <"$one_line" | deb_src_save "$own.list"
    fi
    if [ ${#deb822[@]} -gt 0 ] &&
        grep -qiE '^Types:(.*[[:blank:]])?deb([[:blank:]]|$)' "${deb822[@]}"; then
        found=yes
        cat "${deb822[@]}" | deb_src_deb822 | deb_src_save "$own.sources"
    fi
    if [ "$found" = no ]; then
        echo "No deb entries in $one_line or $apt_dir/sources.list.d/{debian,ubuntu}.sources:" \
            "add a deb-src entry to apt's sources by hand for the Windows build" >&2
        return 1
    fi
}

# One-line entries: "deb [options] URI suite components" gives "deb-src [options] URI suite
# components", unless that line is there already (comments and spacing aside). A CD-ROM has no
# sources.
deb_src_one_line() {
    awk '{ sub(/#.*/, ""); $1 = $1 }
        NF < 3 { next }
        {
            uri = 2
            if ($2 ~ /^\[/) {
                while (uri < NF && $uri !~ /\]$/) uri++
                uri++
            }
            if ($uri ~ /^cdrom:/) next
            entry = $0
            sub(/^[^ ]+ /, "", entry)
        }
        $1 == "deb" && !(entry in wanted) { wanted[entry] = 1; order[++n] = entry }
        $1 == "deb-src" { present[entry] = 1 }
        END { for (i = 1; i <= n; i++) if (!(order[i] in present)) print "deb-src " order[i] }'
}

# deb822 paragraphs: each enabled one of type deb alone, again with type deb-src.
deb_src_deb822() {
    awk 'BEGIN { RS = ""; FS = OFS = "\n" }
        {
            deb = 0; src = 0; enabled = 1
            for (i = 1; i <= NF; i++) {
                line = tolower($i)
                if (line ~ /^types:/) {
                    deb = line ~ /[:[:blank:]]deb([[:blank:]]|$)/
                    src = line ~ /[:[:blank:]]deb-src([[:blank:]]|$)/
                    at = i
                }
                if (line ~ /^enabled:[ \t]*no/) enabled = 0
            }
            if (!deb || src || !enabled) next
            $at = "Types: deb-src"
            printf "%s%s\n", (printed++ ? "\n" : ""), $0
        }'
}

# Saves standard input to FILE, as root if need be; removes FILE when there is nothing to save.
deb_src_save() {
    local file=$1 sudo="" text
    text=$(cat)
    [ -w "$(dirname "$file")" ] || sudo="sudo"
    if [ -z "$text" ]; then
        $sudo rm -f "$file"
    else
        printf '%s\n' "$text" | $sudo tee "$file" >/dev/null
    fi
}
