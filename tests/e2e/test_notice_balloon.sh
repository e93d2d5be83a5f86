#!/usr/bin/env bash
# A notice server that announces version 3.00: the program fetches the notice at first show,
# refuses to close meanwhile, keeps the notice in its data folder and shows the balloon over
# its window; after that it closes.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

SERVED=$WORK/served
mkdir -p "$SERVED/istore"
printf '[STATE]\r\nmajorVersion=300\r\nminorVersion=0\r\nName=Glyphorama 3.00 e2e\r\n' \
    >"$SERVED/istore/version.dat"

# A plain file server on a free loopback port that notes each request and its user agent.
python3 - "$SERVED" "$WORK/port" "$WORK/requests.log" >"$WORK/server.log" 2>&1 <<'PY' &
import functools, http.server, sys, time
served, port_file, log_file = sys.argv[1:4]
class Handler(http.server.SimpleHTTPRequestHandler):
    def note(self):
        with open(log_file, "a") as log:
            log.write(f"{self.command} {self.path} {self.headers.get('User-Agent')}\n")
    def do_HEAD(self):
        self.note()
        # Slow enough for the test to try closing while the check runs.
        time.sleep(3)
        super().do_HEAD()
    def do_GET(self):
        self.note()
        super().do_GET()
server = http.server.HTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=served))
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
import os; os.rename(port_file + ".tmp", port_file)
server.serve_forever()
PY
SERVER_PID=$!
trap 'kill "$SERVER_PID" 2>/dev/null || true; cleanup' EXIT
for _ in $(seq 1 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
[ -s "$WORK/port" ] || fail "the notice server did not start: $(cat "$WORK/server.log")"
PORT=$(cat "$WORK/port")

mkdir -p "$DATA"
printf '[NetWork]\nNoticeHost=127.0.0.1:%s\n' "$PORT" >"$DATA/Glyphorama.ini"

start_program
# While the check runs, Esc is refused with a message box captioned exactly "Glyphorama".
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape
BOX=$(timeout 10 xdotool search --sync --onlyvisible --name '^Glyphorama$' | head -n 1) ||
    fail "no refusal while the check runs"
caption=$(xprop -id "$BOX" _NET_WM_NAME | cut -d'"' -f2-)
[ "$caption" = 'Glyphorama"' ] || fail "the refusal is captioned $caption"
xdotool windowfocus --sync "$BOX" 2>/dev/null || true
xdotool key Return
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the refused close ended the program"
BALLOON=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glyphorama 3\.00 e2e$' |
    head -n 1) || fail "no balloon appeared; requests: $(cat "$WORK/requests.log" 2>/dev/null)"

grep -qx "HEAD /istore/version.dat Glyphorama2 /200#0" "$WORK/requests.log" ||
    fail "no HEAD with the program's user agent: $(cat "$WORK/requests.log")"
grep -qx "GET /istore/version.dat Glyphorama2 /200#0" "$WORK/requests.log" ||
    fail "no GET with the program's user agent: $(cat "$WORK/requests.log")"
cmp -s "$SERVED/istore/version.dat" "$DATA/isvc.dat" || fail "the notice file was not kept"

# The balloon stands over the middle of the window, above its centre.
geometry() { # prints "x y width height" of a window's client area on the screen
    # (xdotool's position of a framed window is off by the frame's top edge)
    local info
    info=$(xwininfo -id "$1")
    awk '/Absolute upper-left X:/{x=$NF} /Absolute upper-left Y:/{y=$NF}
         /^ *Width:/{w=$NF} /^ *Height:/{h=$NF} END{print x, y, w, h}' <<<"$info"
}
read -r win_x win_y win_w win_h < <(geometry "$WINDOW")
read -r X Y WIDTH HEIGHT < <(geometry "$BALLOON")
centre_x=$((win_x + win_w / 2))
centre_y=$((win_y + win_h / 2))
[ "$X" -lt "$centre_x" ] && [ $((X + WIDTH)) -gt "$centre_x" ] ||
    fail "the balloon ($X,$Y ${WIDTH}x$HEIGHT) is not over the window's centre ($centre_x,$centre_y)"
[ $((Y + HEIGHT)) -le $((centre_y - 25)) ] && [ $((Y + HEIGHT)) -ge $((centre_y - 40)) ] ||
    fail "the balloon ($X,$Y ${WIDTH}x$HEIGHT) does not point 30 px above the centre ($centre_y)"

if [ -n "${GLYPHORAMA_E2E_SCREENSHOT:-}" ]; then
    import -window root "$GLYPHORAMA_E2E_SCREENSHOT" 2>/dev/null || true
fi

# The check is over: the first Esc closes the window.
close_with_escape
echo "ok"
