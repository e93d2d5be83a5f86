#!/usr/bin/env bash
# The session ends (SIGTERM, as a desktop's logout or `kill` sends it) while the version check
# runs and its refusal box is up: a session's end cannot be refused, so the program saves what
# was changed and ends at once with status 0, leaving no notice file behind.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/closing.sh"

start_program_during_silent_check
# A change to save, made at once: the check runs for 20 s at most.
xdotool windowsize --sync "$WINDOW" 640 420
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape
wait_for_refusal_box >/dev/null || fail "no refusal while the check runs"

kill -TERM "$PROGRAM_PID"
# The server never answers: only a check that is stopped, not waited out, ends this soon.
wait_for_exit 10
width=$(grep '^form_width=' "$DATA/Glyphorama.ini" || true)
# The saved width is the outer one, 640 and the frame's sides; the first start's is 500.
[ -n "$width" ] && [ "$width" != form_width=500 ] ||
    fail "the session's change was not saved: $(cat "$DATA/Glyphorama.ini")"
[ ! -e "$DATA/isvc.dat" ] || fail "the stopped check left a notice file"
echo "ok"
