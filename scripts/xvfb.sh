# Starts and stops an Xvfb server of our own on a free display, with the window manager users
# run the program under (sourced by other scripts).
start_xvfb() {
    # Xvfb picks a free display itself and names it once it accepts clients: guessing a free
    # number races with other servers starting at the same time.
    local number_file number=""
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 1 300); do
        number=$(tr -dc 0-9 <"$number_file")
        [ -n "$number" ] && break
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    rm -f "$number_file"
    if [ -z "$number" ]; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$number"
}

# Starts openbox on the display and waits until it manages it; its output goes to the log
# given (default: nowhere).
start_window_manager() {
    local log=${1:-/dev/null} check
    openbox --sm-disable >"$log" 2>&1 &
    WM_PID=$!
    for _ in $(seq 1 100); do
        check=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null || true)
        case $check in *"window id"*) return 0 ;; esac
        sleep 0.1
    done
    echo "openbox did not start" >&2
    return 1
}

stop_xvfb() {
    [ -n "${WM_PID:-}" ] && kill "$WM_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
