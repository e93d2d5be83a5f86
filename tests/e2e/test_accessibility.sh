#!/usr/bin/env bash
# A screen reader's view: through AT-SPI, every button of the window has a name, each tile is
# a list item named by its family, and the arrow keys walk the tiles (see accessibility.py).
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
output=$(timeout 120 /usr/bin/python3 "$GLYPHORAMA_SOURCE_DIR/tests/e2e/accessibility.py" 2>&1) ||
    status=$?
[ "$status" -eq 0 ] || fail "accessibility check: $output"
close_with_escape
echo "ok: $output"
