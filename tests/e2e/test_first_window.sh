#!/usr/bin/env bash
# The first start's window, 500 × 500, under a window manager: the top bar leaves the sample
# text room for a short mixed text and keeps the search field on screen (first_window.py reads
# both through AT-SPI), and every usual zoom key changes the size shown in the status bar.
set -euo pipefail
if [ -z "${GLYPHORAMA_SESSION_BUS:-}" ]; then
    exec env GLYPHORAMA_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

start_accessibility_bus

mkdir -p "$DATA"
printf '[NetWork]\r\nVersionCheck=0\r\n' >"$DATA/Glyphorama.ini"
start_program
expect_outer "$(outer_bounds | awk '{print $1, $2}') 500 500" "first start"

status=0
output=$(timeout 120 /usr/bin/python3 "$GLYPHORAMA_SOURCE_DIR/tests/e2e/first_window.py" 2>&1) ||
    status=$?
[ "$status" -eq 0 ] || fail "first window: $output"

# The zoom keys, as typed: 16 up to 20, 24, 32, then down to 24 and 20.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
for keys in ctrl+plus ctrl+equal ctrl+KP_Add ctrl+minus ctrl+KP_Subtract; do
    xdotool key "$keys"
    sleep 0.3
done
close_with_escape
grep -q '^sample_point_size=20' "$DATA/Glyphorama.ini" ||
    fail "the size keys did not leave 20: $(cat "$DATA/Glyphorama.ini")"
# Ctrl+0 goes back to 16, from which Ctrl+Minus makes 14.
start_program
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
for keys in ctrl+0 ctrl+minus; do
    xdotool key "$keys"
    sleep 0.3
done
close_with_escape
grep -q '^sample_point_size=14' "$DATA/Glyphorama.ini" ||
    fail "Ctrl+0 and Ctrl+Minus did not make 14: $(cat "$DATA/Glyphorama.ini")"
echo "ok: $output"
