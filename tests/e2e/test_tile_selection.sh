#!/usr/bin/env bash
# Many fonts at once with real keys and clicks: Down and Tab go from the search field to the
# first tile; three tiles Ctrl+clicked are added to a tag together from the tile menu, and the
# tag file lists all three (see tile_selection.py); Esc clears the selection, then closes.
set -euo pipefail
# AT-SPI needs a session bus of its own, with the accessibility bus on it.
if [ -z "${GLYPHORAMA_SESSION_BUS:-}" ]; then
    exec env GLYPHORAMA_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

start_accessibility_bus

mkdir -p "$DATA"
printf '[NetWork]\r\nVersionCheck=0\r\n[tags]\r\ntotal=1\r\n0=Work\r\n' >"$DATA/Glyphorama.ini"
start_program
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true

status=0
output=$(timeout 120 /usr/bin/python3 "$GLYPHORAMA_SOURCE_DIR/tests/e2e/tile_selection.py" 2>&1) ||
    status=$?
[ "$status" -eq 0 ] || fail "tile selection: $output"

tag="$DATA/tags/Work.tag"
expected=$(printf 'DejaVu Sans\r\nDejaVu Sans Mono\r\nDejaVu Serif\r\n' | od -An -tx1)
actual=""
for _ in $(seq 1 50); do
    [ -f "$tag" ] && actual=$(od -An -tx1 <"$tag")
    [ "$actual" = "$expected" ] && break
    sleep 0.1
done
[ "$actual" = "$expected" ] || fail "the tag file holds '$(cat -A "$tag" 2>/dev/null)'"
close_with_escape
echo "ok: $output"
