#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12), then configures and builds.
# Usage: scripts/setup.sh [build-folder] [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev
    libfontconfig-dev libcurl4-openssl-dev
    libgtest-dev libcpp-httplib-dev
    xvfb xauth xdotool xclip imagemagick x11-utils
    fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
    python3 desktop-file-utils appstream
    dpkg-dev file lintian
    openbox dbus at-spi2-core python3-pyatspi
    libharfbuzz-dev libfreetype-dev libicu-dev python3-fonttools
    qt6-l10n-tools qt6-tools-dev qt6-wayland weston
)
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
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
