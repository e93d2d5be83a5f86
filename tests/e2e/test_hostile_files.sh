#!/usr/bin/env bash
# A FIFO in place of Glyphorama.ini and a tag file that links to /dev/zero: the window still
# appears, each file is reported in an error box titled Glyphorama2, closing reports that the
# settings cannot be written, and the program ends normally with both left as they were.
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA/tags"
mkfifo "$DATA/Glyphorama.ini"
ln -s /dev/zero "$DATA/tags/ゴミ箱.tag"

start_display
"$PROGRAM" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!

# The main window and the error boxes share their title: the main window is the tall one.
glyphorama_windows() { xdotool search --onlyvisible --name '^Glyphorama2$' 2>/dev/null || true; }
WINDOW=""
for _ in $(seq 1 300); do
    for candidate in $(glyphorama_windows); do
        height=$(xdotool getwindowgeometry --shell "$candidate" 2>/dev/null | sed -n 's/^HEIGHT=//p')
        [ "${height:-0}" -ge 400 ] && WINDOW=$candidate
    done
    [ -n "$WINDOW" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended: $(cat "$WORK/program.log")"
    sleep 0.1
done
[ -n "$WINDOW" ] || fail "the main window did not appear: the start hangs on a file"

# Answers every error box until none has come for two seconds; prints how many there were.
answer_boxes() {
    local answered=0 quiet=0 box
    while [ "$quiet" -lt 20 ] && [ "$answered" -lt 20 ]; do
        box=""
        for candidate in $(glyphorama_windows); do
            [ "$candidate" != "$WINDOW" ] && box=$candidate
        done
        if [ -n "$box" ]; then
            xdotool windowfocus --sync "$box" 2>/dev/null || true
            xdotool key Return 2>/dev/null || true
            answered=$((answered + 1))
            quiet=0
            sleep 0.3
        else
            quiet=$((quiet + 1))
            sleep 0.1
        fi
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
    done
    echo "$answered"
}

at_start=$(answer_boxes)
[ "$at_start" -ge 2 ] || fail "expected the settings file and the tag file to be reported, saw $at_start box(es)"

xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape
at_close=$(answer_boxes)
[ "$at_close" -ge 1 ] || fail "closing did not report that the settings cannot be written"
wait_for_exit 20
[ -p "$DATA/Glyphorama.ini" ] || fail "the FIFO was replaced"
[ -L "$DATA/tags/ゴミ箱.tag" ] || fail "the link was replaced"
echo "ok"
