#!/usr/bin/env bash
# Organising with the real keys under a window manager, each step taken back with Ctrl+Z: Delete
# to the trash, Ctrl+D twice, a tag deleted from its menu, three selected tiles dragged onto a tag
# (see organise.py). The tag files end
# byte for byte as they were, or absent where there was none.
set -euo pipefail
# AT-SPI needs a session bus of its own, with the accessibility bus on it.
if [ -z "${GLYPHORAMA_SESSION_BUS:-}" ]; then
    exec env GLYPHORAMA_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

start_accessibility_bus

mkdir -p "$DATA/tags"
printf '[NetWork]\r\nVersionCheck=0\r\n[tags]\r\ntotal=3\r\n0=a\r\n1=b\r\n2=c\r\n' >"$DATA/Glyphorama.ini"
# A UTF-8 file with a mark and mixed line ends, as another program may have left it.
printf '\xEF\xBB\xBFDejaVu Serif\nDejaVu Sans Mono\r\n' >"$DATA/tags/b.tag"
# The trash in UTF-16 with its mark, naming a family this machine lacks.
printf '\xFF\xFEA\0r\0i\0a\0l\0\r\0\n\0' >"$DATA/tags/ゴミ箱.tag"
start_program
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true

status=0
output=$(timeout 150 /usr/bin/python3 "$GLYPHORAMA_SOURCE_DIR/tests/e2e/organise.py" "$DATA/tags" 2>&1) ||
    status=$?
[ "$status" -eq 0 ] || fail "organising: $output"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended: $(cat "$WORK/program.log")"
close_with_escape
echo "ok: $output"
