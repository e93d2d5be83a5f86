#!/usr/bin/env bash
# Choosing another language offers to start again now. Taking the offer closes the program in
# good order (its settings saved) and brings up exactly one new program, in the new language,
# which the old one's claim on the data folder does not turn away.
set -euo pipefail
# The wrench is found where a screen reader finds it: AT-SPI wants a session bus of its own.
if [ -z "${GLYPHORAMA_SESSION_BUS:-}" ]; then
    exec env GLYPHORAMA_SESSION_BUS=1 dbus-run-session -- bash "$0" "$@"
fi
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

/usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/at-spi.log" 2>&1 &
BUS_PID=$!
NEW_PID=""
trap 'kill "$BUS_PID" 2>/dev/null || true; [ -z "$NEW_PID" ] || kill "$NEW_PID" 2>/dev/null || true; cleanup' EXIT
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0

mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n' >"$DATA/Glyphorama.ini"

# Prints the centre of the main window's button of that accessible name, in screen pixels.
button_centre() {
    timeout 60 /usr/bin/python3 - "$1" <<'PY'
import sys, time
import pyatspi

def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)

for _ in range(150):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for frame in app:
            if frame is None or frame.name != "Glyphorama2":
                continue
            for node in walk(frame):
                if node.name == sys.argv[1] and node.getRoleName() == "push button":
                    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
                    if box.width > 0:
                        print(box.x + box.width // 2, box.y + box.height // 2)
                        sys.exit(0)
    time.sleep(0.2)
sys.exit("no button named " + sys.argv[1])
PY
}

main_windows() {
    local found
    found=$(xdotool search --onlyvisible --name '^Glyphorama2$' 2>/dev/null || true)
    if [ -z "$found" ]; then echo 0; else wc -l <<<"$found"; fi
}

start_program
old=$PROGRAM_PID
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
read -r x y < <(button_centre "ツールメニュー") || fail "no wrench in the accessibility tree"
xdotool mousemove "$x" "$y" click 1
sleep 0.5
# The tool menu's first item is disabled: the language submenu is the first the keys reach.
xdotool key Down
sleep 0.2
xdotool key Right
sleep 0.3
xdotool key Down
sleep 0.2
xdotool key Return
box=$(timeout 10 xdotool search --sync --onlyvisible --name '^Glyphorama$' | head -n 1) ||
    fail "no restart offer after choosing English"
grep -qx 'name=en' "$DATA/Glyphorama.ini" || fail "the choice was not saved: $(cat "$DATA/Glyphorama.ini")"
xdotool windowfocus --sync "$box" 2>/dev/null || true
# The offer's default button starts again now.
xdotool key Return
wait_for_exit 20
grep -qx 'form_width=500' "$DATA/Glyphorama.ini" ||
    fail "the old program did not save its settings: $(cat "$DATA/Glyphorama.ini")"

WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glyphorama2$' | head -n 1) ||
    fail "no new window after the restart: $(cat "$WORK/program.log")"
NEW_PID=$(xdotool getwindowpid "$WINDOW")
[ "$NEW_PID" != "$old" ] || fail "the window is still the old program's"
sleep 1
[ "$(main_windows)" -eq 1 ] || fail "$(main_windows) main windows after the restart"
# The new program speaks English.
button_centre "Tool menu" >/dev/null || fail "the new program does not speak English"

# Closed as usual, it ends, and starts nothing more.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 1 100); do
    kill -0 "$NEW_PID" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$NEW_PID" 2>/dev/null && fail "the new program did not close on Esc"
NEW_PID=""
sleep 1
[ "$(main_windows)" -eq 0 ] || fail "a program is still running after the close"
echo "ok"
