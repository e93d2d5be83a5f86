#!/usr/bin/env bash
# A font's details window on a real X server under a window manager: a double-click on the
# first tile opens it, Esc closes it again and leaves the main window open.
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=6\n' >"$DATA/Glyphorama.ini"
start_program

details_windows() {
    xdotool search --onlyvisible --name '^フォントの詳細 - ' 2>/dev/null || true
}

eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
# Inside the first tile: below the 34-pixel top bar, clear of its name label.
TILE_X=$((X + 30))
TILE_Y=$((Y + 34 + 3 + 25))
xdotool mousemove "$TILE_X" "$TILE_Y"
details=""
for _ in $(seq 1 20); do
    # The first build may still be placing tiles: try again until a window shows.
    xdotool click --repeat 2 --delay 60 1
    for _ in $(seq 1 10); do
        details=$(details_windows)
        [ -n "$details" ] && break 2
        sleep 0.2
    done
done
[ -n "$details" ] || fail "no details window after a double-click on a tile"
details=$(printf '%s\n' "$details" | head -n 1)
title=$(xdotool getwindowname "$details")
family=${title#フォントの詳細 - }
families=$(fc-list : family | tr ',' '\n')
grep -qxF -- "$family" <<<"$families" || fail "'$family' is no font family"
if [ -n "${GLYPHORAMA_E2E_SHOTS:-}" ]; then
    sleep 0.5
    import -window "$details" "$GLYPHORAMA_E2E_SHOTS/details.png"
fi

xdotool windowactivate --sync "$details" 2>/dev/null || xdotool windowfocus --sync "$details"
xdotool key Escape
for _ in $(seq 1 50); do
    [ -z "$(details_windows)" ] && break
    sleep 0.1
done
[ -z "$(details_windows)" ] || fail "Esc did not close the details window"
kill -0 "$PROGRAM_PID" || fail "the program ended with the details window"
[ -n "$(xdotool search --onlyvisible --name '^Glyphorama2$' 2>/dev/null || true)" ] ||
    fail "the main window went with the details window"

close_with_escape
echo "ok"
