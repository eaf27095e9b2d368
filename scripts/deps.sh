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
# Wayland compositor and tools to drive them.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev libsndfile1-dev
    libsamplerate0-dev fonts-dejavu-core pulseaudio pulseaudio-utils fluidsynth fluid-soundfont-gm xvfb xdotool imagemagick
    openbox wmctrl x11-utils clang-format shellcheck sox desktop-file-utils appstream dpkg-dev file
    sway grim jq procps)
# PipeWire with its PulseAudio service, on a D-Bus of its own; the accessibility bus, Python's
# AT-SPI bindings and the Orca screen reader with its speech: without their recommendations,
# which would bring a desktop's session services along.
TEST_PACKAGES_NO_RECOMMENDS=(pipewire pipewire-pulse wireplumber dbus at-spi2-core python3-gi
    gir1.2-atspi-2.0 orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng)

# What the Windows build and its tests under Wine need: the cross compiler, the installer
# builder, a 64-bit Wine and a reader of Windows shortcuts.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix nsis wine wine64 liblnk-utils)

# The Windows build makes libjpeg from Debian's source package, which apt fetches only with a
# deb-src entry: add one for the suites of the configured deb entries.
ensure_debian_sources() {
    apt-get source --print-uris libjpeg-turbo >/dev/null 2>&1 && return 0
    local list=/etc/apt/sources.list.d/debian.sources
    if [ ! -f "$list" ]; then
        echo "No $list: add a deb-src entry to apt's sources by hand for the Windows build" >&2
        return 1
    fi
    echo "Adding deb-src entries for Debian's source packages"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    sed 's/^Types: deb$/Types: deb-src/' "$list" |
        $sudo tee /etc/apt/sources.list.d/vibralon-deb-src.sources >/dev/null
    $sudo apt-get update -qq >/dev/null
}
