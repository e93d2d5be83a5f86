#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12), then configures and builds.
# Usage: scripts/setup.sh [--viewer] [build-folder] [extra cmake options...]
# With --viewer, only what the program needs: the packages it builds and runs with (and, without
# a display, those that show it on Xvfb), and the program alone, no tests or benchmarks; a later
# run without it brings the rest into the same folder.
set -euo pipefail
cd "$(dirname "$0")/.."

viewer=false
if [ "${1:-}" = "--viewer" ]; then
    viewer=true
    shift
fi

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
    libfontconfig-dev libcurl4-openssl-dev
    libharfbuzz-dev libfreetype-dev libicu-dev
    qt6-l10n-tools qt6-tools-dev qt6-translations-l10n
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
)
# x11-utils: xprop tells when the window manager has taken the display.
headless=(xvfb xauth xdotool imagemagick openbox x11-utils)
tests=(
    libgtest-dev libcpp-httplib-dev
    xclip
    python3 desktop-file-utils appstream
    dpkg-dev file lintian
    dbus at-spi2-core python3-pyatspi
    python3-fonttools qt6-wayland weston
)
if ! $viewer; then
    packages+=("${headless[@]}" "${tests[@]}")
elif [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    packages+=("${headless[@]}")
fi
missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

build=${1:-build}
shift || true
# Said every time: the folder keeps what it was last told, and one that was set up for the
# viewer alone must get its tests back.
parts=(-DGLYPHORAMA_TESTS=ON -DGLYPHORAMA_BENCH=ON -DGLYPHORAMA_UNITY=OFF)
target=()
if $viewer; then
    # Compiled in batches: a third of the time of a file-by-file build, for a first build.
    parts=(-DGLYPHORAMA_TESTS=OFF -DGLYPHORAMA_BENCH=OFF -DGLYPHORAMA_UNITY=ON)
    target=(--target glyphorama)
fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${parts[@]}" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)" "${target[@]}"
