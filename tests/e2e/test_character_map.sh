#!/usr/bin/env bash
# The 文字 tab through AT-SPI and the keyboard: Enter on a tile opens the details window, the
# tab is found by its accessible name, the arrow keys move in the grid and Ctrl+C copies the
# character (see character_map.py).
set -euo pipefail
# AT-SPI needs a session bus of its own, with the accessibility bus on it.
if [ -z "${GLYPHORAMA_SESSION_BUS:-}" ]; then
    exec env GLYPHORAMA_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

start_accessibility_bus

mkdir -p "$DATA"
printf '[NetWork]\r\nVersionCheck=0\r\n' >"$DATA/Glyphorama.ini"
start_program
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true

status=0
output=$(timeout 120 /usr/bin/python3 "$GLYPHORAMA_SOURCE_DIR/tests/e2e/character_map.py" 2>&1) ||
    status=$?
[ "$status" -eq 0 ] || fail "character map: $output"
if [ -n "${GLYPHORAMA_E2E_SHOTS:-}" ]; then
    details=$(xdotool search --onlyvisible --name '^フォントの詳細 - ' | head -n 1)
    import -window "$details" "$GLYPHORAMA_E2E_SHOTS/character-map.png"
fi
close_with_escape
echo "ok: $output"
