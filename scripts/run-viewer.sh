#!/usr/bin/env bash
# Sets up, builds and starts the viewer. Without a display it runs the viewer on Xvfb,
# saves a screenshot once the window has settled, prints its path and closes the viewer.
# Only the viewer is built, and only its packages installed: the first window comes without
# waiting for the tests, which scripts/test.sh builds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --viewer build
program=$PWD/build/glyphorama

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

source scripts/xvfb.sh
viewer=""
trap '[ -z "$viewer" ] || kill "$viewer" 2>/dev/null || true; stop_xvfb' EXIT
start_xvfb
start_window_manager
"$program" &
viewer=$!
window=$(xdotool search --sync --onlyvisible --name '^Glyphorama2$' | head -n 1)
# Settled: the tiles are built when the window looks the same twice in a row.
shot=${GLYPHORAMA_SCREENSHOT:-$PWD/build/glyphorama-screenshot.png}
previous=""
for _ in $(seq 1 60); do
    sleep 1
    current=$(import -window root rgb:- 2>/dev/null | md5sum)
    [ "$current" = "$previous" ] && break
    previous=$current
done
import -window root "$shot"
echo "$shot"
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Escape || true
for _ in $(seq 1 50); do
    kill -0 $viewer 2>/dev/null || break
    sleep 0.1
done
