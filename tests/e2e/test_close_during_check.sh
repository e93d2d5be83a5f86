#!/usr/bin/env bash
# While the version check runs, closing is refused with one message box, however the close is
# asked for: one Esc shows one box, and the window's close button pressed while that box is up
# neither shows another nor ends the program. Once the check is over, the close button closes
# the window and the settings file holds what was changed in the session.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/closing.sh"

start_program_during_silent_check
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape
box=$(wait_for_refusal_box) || fail "no refusal while the check runs"
# A second box would follow the first within moments.
sleep 1
[ "$(count_refusal_boxes)" -eq 1 ] || fail "one Esc showed $(count_refusal_boxes) boxes at once"
answer_refusal_box "$box"
wait_for_no_refusal_box || fail "one Esc showed the refusal box again and again"
for _ in $(seq 1 15); do
    [ "$(count_refusal_boxes)" -eq 0 ] || fail "one Esc showed the refusal box twice"
    sleep 0.1
done
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the refused close ended the program"

# The close button, pressed while the refusal is up, is refused as well.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape
box=$(wait_for_refusal_box) || fail "no refusal for the second Esc"
click_close_button
sleep 1
kill -0 "$PROGRAM_PID" 2>/dev/null ||
    fail "the close button ended the program during the refusal; settings: $(cat "$DATA/Glyphorama.ini")"
[ "$(count_refusal_boxes)" -eq 1 ] || fail "the close button opened another refusal box"
answer_refusal_box "$box"
wait_for_no_refusal_box || fail "the refusal box did not go"

# The server gives up: the check ends. A change, and the close button now closes the window.
release_silent_server
show_all_fonts
for _ in $(seq 1 100); do
    click_close_button
    sleep 0.3
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    # The check may not have noticed the hang-up yet: answer its refusal and try again.
    found=$(xdotool search --onlyvisible --name '^Glyphorama$' 2>/dev/null || true)
    [ -z "$found" ] || answer_refusal_box "${found%%$'\n'*}"
done
wait_for_exit 20
grep -x 'current_font_type=5' "$DATA/Glyphorama.ini" >/dev/null ||
    fail "the session's change was not saved: $(cat "$DATA/Glyphorama.ini")"
echo "ok"
