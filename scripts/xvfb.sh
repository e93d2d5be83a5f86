# Starts and stops an Xvfb server of our own on a free display, with the window manager users
# run the program under (sourced by other scripts).
start_xvfb() {
    local number
    for number in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
        Xvfb ":$number" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        for _ in $(seq 1 50); do
            [ -e "/tmp/.X11-unix/X$number" ] && break
            sleep 0.1
        done
        if kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$number"
            return 0
        fi
    done
    echo "no free X display" >&2
    return 1
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
