# Helpers for the tests of closing while the version check runs (sourced after common.sh).

# A notice server that takes connections and never answers, until release_silent_server: the
# check runs until then, or until the program's own time-out (20 s for a request) ends it.
# Sets SERVER_PORT; notes each connection, and each one the program gives up.
start_silent_server() {
    python3 - "$WORK/port" "$WORK/release" "$WORK/connections" >"$WORK/server.log" 2>&1 <<'PY' &
import os, select, socket, sys
port_file, release, connections = sys.argv[1:4]
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(8)
with open(port_file + ".tmp", "w") as f:
    f.write(str(server.getsockname()[1]))
os.rename(port_file + ".tmp", port_file)
def note(text):
    with open(connections, "a") as log:
        log.write(text + "\n")
held = []
while not os.path.exists(release):
    readable, _, _ = select.select([server] + held, [], [], 0.1)
    for sock in readable:
        if sock is server:
            held.append(server.accept()[0])
            note("connected")
        elif not sock.recv(65536):
            held.remove(sock)
            sock.close()
            note("given up by the program")
for connection in held:
    connection.close()
PY
    SERVER_PID=$!
    trap 'kill "$SERVER_PID" 2>/dev/null || true; cleanup' EXIT
    for _ in $(seq 1 100); do
        [ -s "$WORK/port" ] && break
        sleep 0.1
    done
    [ -s "$WORK/port" ] || fail "the notice server did not start: $(cat "$WORK/server.log")"
    SERVER_PORT=$(cat "$WORK/port")
}

# Starts the program with its version check pointed at a silent server, and waits until the
# check has reached it: the check then runs until the server is released.
start_program_during_silent_check() {
    start_silent_server
    mkdir -p "$DATA"
    printf '[NetWork]\nNoticeHost=127.0.0.1:%s\n' "$SERVER_PORT" >"$DATA/Glyphorama.ini"
    start_program
    wait_for_request
}

# Waits until the program's check has reached the server.
wait_for_request() {
    for _ in $(seq 1 300); do
        [ -s "$WORK/connections" ] && return 0
        sleep 0.1
    done
    fail "the version check never reached the server"
}

# The server hangs up: the check ends at once.
release_silent_server() {
    touch "$WORK/release"
}

# Waits until the window has stopped changing (the tiles are built). The top bar is left out:
# a blinking text cursor there could keep two shots in a row from ever matching.
settle_window() {
    local previous="" current
    for _ in $(seq 1 60); do
        sleep 0.25
        current=$(import -window "$WINDOW" png:- 2>/dev/null |
            convert png:- -crop +0+40 +repage rgb:- 2>/dev/null | md5sum) || current=""
        [ -n "$current" ] && [ "$current" = "$previous" ] && return 0
        previous=$current
    done
    fail "the window kept changing"
}

# A change to save: the all-fonts filter (the fourth button of the top bar).
show_all_fonts() {
    settle_window
    local before after
    before=$(import -window "$WINDOW" -crop 200x34+0+0 rgb:- 2>/dev/null | md5sum)
    for _ in $(seq 1 10); do
        xdotool mousemove --window "$WINDOW" 111 17 click 1
        settle_window
        after=$(import -window "$WINDOW" -crop 200x34+0+0 rgb:- 2>/dev/null | md5sum)
        [ "$after" != "$before" ] && return 0
    done
    fail "the all-fonts button did not respond"
}

count_refusal_boxes() {
    local found
    found=$(xdotool search --onlyvisible --name '^Glyphorama$' 2>/dev/null || true)
    if [ -z "$found" ]; then echo 0; else wc -l <<<"$found"; fi
}

# Prints the refusal box's window once it is shown; fails after 15 s.
wait_for_refusal_box() {
    local found
    found=$(timeout 15 xdotool search --sync --onlyvisible --name '^Glyphorama$' 2>/dev/null) || {
        grep given "$WORK/connections" >&2 &&
            echo "the check ended on its own time-out: the machine is too slow for this test" >&2
        return 1
    }
    echo "${found%%$'\n'*}"
}

# Waits up to 10 s until no refusal box is shown.
wait_for_no_refusal_box() {
    for _ in $(seq 1 100); do
        [ "$(count_refusal_boxes)" -eq 0 ] && return 0
        sleep 0.1
    done
    return 1
}

answer_refusal_box() {
    xdotool windowfocus --sync "$1" 2>/dev/null || true
    xdotool key Return 2>/dev/null || true
}

# Clicks the close button at the right end of the main window's title bar, as a user does.
click_close_button() {
    local info x y width top
    info=$(xwininfo -id "$WINDOW" 2>/dev/null) || return 0
    x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    width=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
    # _NET_FRAME_EXTENTS: left, right, top, bottom.
    top=$(xprop -id "$WINDOW" _NET_FRAME_EXTENTS | awk -F'[=,]' '{print $4 + 0}')
    [ "$top" -gt 0 ] || top=20
    xdotool mousemove $((x + width - 10)) $((y - top / 2)) click 1
}
