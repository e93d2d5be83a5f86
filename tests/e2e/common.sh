# Shared by the end-to-end tests: a private X server, a temporary HOME and the program.
# Usage: source it, then `start_program` after preparing $HOME.
set -euo pipefail
PROGRAM=$1
source "$GLYPHORAMA_SOURCE_DIR/scripts/xvfb.sh"

WORK=$(mktemp -d)
export HOME=$WORK/home
mkdir -p "$HOME"
unset XDG_CONFIG_HOME XDG_DOCUMENTS_DIR XDG_DATA_HOME XDG_CACHE_HOME SESSION_MANAGER
export LANG=C.UTF-8
# A desktop session's private runtime folder, where a running program can be found by the next
# start; one per test, so that tests never meet each other's programs.
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
DATA=$HOME/Documents/Glyphorama
PROGRAM_PID=""

cleanup() {
    [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null || true
    stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [ -z "${GLYPHORAMA_E2E_SHOTS:-}" ] || [ -z "${WINDOW:-}" ] ||
        import -window root "$GLYPHORAMA_E2E_SHOTS/$(basename "$0" .sh).png" 2>/dev/null || true
    exit 1
}

# Users run the program under a window manager: frames, placement and focus are real here too.
start_display() {
    [ -n "${DISPLAY_STARTED:-}" ] && return 0
    start_xvfb
    start_window_manager "$WORK/openbox.log" || fail "openbox did not start: $(cat "$WORK/openbox.log")"
    DISPLAY_STARTED=1
}

start_program() {
    start_display
    "$PROGRAM" >"$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
    WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glyphorama2$' | head -n 1) ||
        fail "the main window did not appear"
}

# The top of the sample view in the window's client area. The top bar above it is dark, in one
# row or two by the window's width; the view's background is light.
view_top() {
    local top=""
    for _ in $(seq 1 50); do
        top=$(import -window "$WINDOW" -crop 1x240+3+0 +repage -depth 8 txt:- 2>/dev/null |
            awk -F'[,:() ]+' 'NR > 1 && $3 + $4 + $5 > 384 { print $2; exit }')
        [ -n "$top" ] && [ "$top" -gt 20 ] && break
        sleep 0.1
    done
    [ -n "$top" ] || fail "the sample view's top was not found"
    printf '%s' "$top"
}

# The accessibility bus on the test's own session bus, for AT-SPI readers; gone at exit.
start_accessibility_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$WORK/at-spi.log" 2>&1 &
    BUS_PID=$!
    trap 'kill "$BUS_PID" 2>/dev/null || true; cleanup' EXIT
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
}

# Waits until the program has ended; fails after the given seconds.
wait_for_exit() {
    local seconds=${1:-20}
    for _ in $(seq 1 $((seconds * 10))); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            local status=0
            wait "$PROGRAM_PID" || status=$?
            PROGRAM_PID=""
            # A crash, or a sanitizer's report at exit, must not pass for a clean close.
            [ "$status" -eq 0 ] ||
                fail "the program ended with status $status: $(tail -c 3000 "$WORK/program.log")"
            return 0
        fi
        sleep 0.1
    done
    fail "the program did not end within $seconds s"
}

# Presses Esc in the main window until it closes (a running notice check refuses at first).
close_with_escape() {
    for _ in $(seq 1 30); do
        # The box of an earlier refusal may have taken the focus: give it back to the window.
        xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
        xdotool key Escape 2>/dev/null || true
        # A refusal shows a message box: answer it and try again.
        sleep 0.5
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        box=$(xdotool search --onlyvisible --name '^Glyphorama$' 2>/dev/null | head -n 1 || true)
        if [ -n "$box" ]; then
            xdotool windowfocus --sync "$box" 2>/dev/null || true
            xdotool key Return 2>/dev/null || true
        fi
    done
    wait_for_exit 20
}

# Prints "left top width height" of the main window's frame: its client area grown by the frame
# extents the window manager announces.
outer_bounds() {
    local info extents
    info=$(xwininfo -id "$WINDOW")
    extents=$(xprop -id "$WINDOW" _NET_FRAME_EXTENTS)
    awk -v extents="$extents" '
        /Absolute upper-left X:/ { x = $NF }
        /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF }
        /^ *Height:/ { h = $NF }
        END {
            sub(/.*= */, "", extents); split(extents, e, /, */)
            print x - e[1], y - e[3], w + e[1] + e[2], h + e[3] + e[4]
        }' <<<"$info"
}

# Waits until the frame stands at the expected bounds; fails with what it shows otherwise.
expect_outer() {
    local shown=""
    for _ in $(seq 1 100); do
        shown=$(outer_bounds 2>/dev/null || true)
        [ "$shown" = "$1" ] && return 0
        sleep 0.1
    done
    fail "$2: the frame shows '$shown', expected '$1'"
}

# Presses the left button at (FROM_X, FROM_Y) and moves in eight steps to (TO_X, TO_Y), well past
# the drag distance, with the button still down: the caller holds, moves on or releases.
press_and_travel() {
    local from_x=$1 from_y=$2 to_x=$3 to_y=$4 step
    xdotool mousemove "$from_x" "$from_y"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove $((from_x + (to_x - from_x) * step / 8)) $((from_y + (to_y - from_y) * step / 8))
        sleep 0.1
    done
}
