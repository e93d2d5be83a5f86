#!/usr/bin/env bash
# One program per user and data folder. A second start hands its command line to the running
# program, whose window comes back to the front, and ends with status 0 without touching the
# data folder. A program killed outright leaves a lock that does not keep the next from
# starting; a stopped one makes a second start end soon, with a reason and status 1, instead of
# waiting for ever or opening the same files.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n' >"$DATA/Glyphorama.ini"

# What the data folder holds, to the nanosecond: a second start must not write there.
folder_state() {
    find "$DATA" -printf '%p %s %T@\n' | sort
}

count_main_windows() {
    local found
    found=$(xdotool search --onlyvisible --name '^Glyphorama2$' 2>/dev/null || true)
    if [ -z "$found" ]; then echo 0; else wc -l <<<"$found"; fi
}

# Starts the program a second time; sets SECOND_STATUS, failing when it runs more than 15 s.
start_second() {
    local pid
    "$PROGRAM" --second-start "an argument" >"$WORK/second.log" 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        local windows
        windows=$(count_main_windows)
        kill -9 "$pid"
        fail "the second start was still running after 15 s; main windows: $windows"
    fi
    SECOND_STATUS=0
    wait "$pid" || SECOND_STATUS=$?
}

start_program
first=$PROGRAM_PID
sleep 1
before=$(folder_state)
# Out of sight: the second start must bring it back.
xdotool windowminimize --sync "$WINDOW"
start_second
[ "$SECOND_STATUS" -eq 0 ] || fail "the second start ended with $SECOND_STATUS: $(cat "$WORK/second.log")"
for _ in $(seq 1 50); do
    [ "$(xdotool getactivewindow 2>/dev/null || true)" = "$WINDOW" ] && break
    sleep 0.1
done
[ "$(xdotool getactivewindow 2>/dev/null || true)" = "$WINDOW" ] ||
    fail "the running program's window did not come to the front"
[ "$(count_main_windows)" -eq 1 ] || fail "$(count_main_windows) main windows after the second start"
[ "$(folder_state)" = "$before" ] || fail "the second start changed the data folder"
kill -0 "$first" 2>/dev/null || fail "the first program ended"

# Stopped: the second start gives up within its bounded wait and says why.
kill -STOP "$first"
start_second
kill -CONT "$first"
[ "$SECOND_STATUS" -eq 1 ] ||
    fail "a start beside a stopped program ended with $SECOND_STATUS: $(cat "$WORK/second.log")"
grep -q "process $first" "$WORK/second.log" || fail "no reason given: $(cat "$WORK/second.log")"
[ "$(count_main_windows)" -eq 1 ] || fail "a second window beside the stopped program"
[ "$(folder_state)" = "$before" ] || fail "the start beside a stopped program changed the data folder"

# The one writer saves at its close.
close_with_escape
grep -qx 'form_width=500' "$DATA/Glyphorama.ini" || fail "not saved: $(cat "$DATA/Glyphorama.ini")"

# Killed outright: its lock and socket stay behind, and the next start takes them over.
start_program
kill -9 "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
PROGRAM_PID=""
for _ in $(seq 1 50); do
    [ "$(count_main_windows)" -eq 0 ] && break
    sleep 0.1
done
start_program
start_second
[ "$SECOND_STATUS" -eq 0 ] || fail "the start after a killed program does not answer: $SECOND_STATUS"
[ "$(count_main_windows)" -eq 1 ] || fail "$(count_main_windows) main windows after a killed program"
close_with_escape
echo "ok"
