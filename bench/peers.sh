#!/usr/bin/env bash
# Start-up of this program and of other font viewers on the same sets of distinct families,
# measured alike from outside on Xvfb under openbox: ms from the start until a window is shown,
# and until the screen has settled (the last change before 2 s without one, seen by screenshots
# about every 0.1-0.2 s, so settled times are that coarse). Every start has a fresh HOME, so no
# viewer finds a cache of its own. One run each.
#
#   bench/peers.sh [count...]          (default: 500 1000 2000 4000)
#
# Viewers that are not installed are left out: gnome-font-viewer and font-manager are not part
# of the set-up, install them by hand to compare. The font sets come from bench/run.sh;
# GLYPHORAMA_BENCH_BUILD names the build folder holding the program (default build).
set -euo pipefail
cd "$(dirname "$0")/.."
counts=("$@")
((${#counts[@]})) || counts=(500 1000 2000 4000)
sets=$(realpath "${GLYPHORAMA_BENCH_FONTS:-build/bench-fonts}")
program=$(realpath "${GLYPHORAMA_BENCH_BUILD:-build}/glyphorama")
source scripts/xvfb.sh

WORK=$(mktemp -d)
VIEWER_PID=""
cleanup() {
    [ -n "$VIEWER_PID" ] && kill "$VIEWER_PID" 2>/dev/null || true
    stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT

start_xvfb
start_window_manager || exit 1

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Prints "shown settled" in ms from the start, or "- -" when no window appeared.
measure() {
    local set=$1
    shift
    rm -rf "$WORK/home"
    mkdir -p "$WORK/home/Documents/Glyphorama/tags"
    printf '[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=5\nform_left=0\nform_top=0\nform_width=1280\nform_height=900\n' \
        >"$WORK/home/Documents/Glyphorama/Glyphorama.ini"
    local start shown="-" last="-" previous="" quiet_since hash
    start=$(now_ms)
    HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_CACHE_HOME=$WORK/home/.cache \
        XDG_DATA_HOME=$WORK/home/.local/share FONTCONFIG_FILE=$set/fonts.conf \
        DBUS_SESSION_BUS_ADDRESS=disabled: NO_AT_BRIDGE=1 GDK_BACKEND=x11 \
        "$@" >"$WORK/viewer.log" 2>&1 &
    VIEWER_PID=$!
    quiet_since=$start
    while (($(now_ms) - start < 120000)); do
        if [ "$shown" = "-" ]; then
            if [ -n "$(xdotool search --onlyvisible --pid "$VIEWER_PID" 2>/dev/null || true)" ]; then
                shown=$(($(now_ms) - start))
                quiet_since=$(now_ms)
            fi
            continue
        fi
        hash=$(import -silent -window root rgb:- 2>/dev/null | md5sum)
        if [ "$hash" != "$previous" ]; then
            previous=$hash
            last=$(($(now_ms) - start))
            quiet_since=$(now_ms)
        elif (($(now_ms) - quiet_since >= 2000)); then
            break
        fi
    done
    kill "$VIEWER_PID" 2>/dev/null || true
    wait "$VIEWER_PID" 2>/dev/null || true
    VIEWER_PID=""
    echo "$shown $last"
}

viewers=(glyphorama)
command -v gnome-font-viewer >/dev/null && viewers+=(gnome-font-viewer)
command -v font-manager >/dev/null && viewers+=(font-manager)

echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%8s' families
for viewer in "${viewers[@]}"; do printf ' %28s' "$viewer shown/settled ms"; done
echo
for count in "${counts[@]}"; do
    set=$sets/$count
    [ -f "$set/fonts.conf" ] || { echo "no set $set: run bench/run.sh first" >&2; exit 1; }
    printf '%8d' "$count"
    for viewer in "${viewers[@]}"; do
        case $viewer in
            glyphorama) figures=$(measure "$set" "$program") ;;
            *) figures=$(measure "$set" "$viewer") ;;
        esac
        printf ' %28s' "${figures/ //}"
    done
    echo
done
