#!/usr/bin/env bash
# A signal to end is obeyed whenever it comes. SIGTERM while the start-up's error box is up
# (a damaged tag list) ends the program there, with status 0 and the list saved whole, instead
# of closing the box only and running the window; SIGINT while a dialog runs its own loop in
# the running program ends it, saving the window's new size and leaving the tags alone.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

ini=$DATA/Glyphorama.ini
mkdir -p "$DATA/tags"
cat >"$ini" <<'INI'
[settings]
form_left=20
form_width=520
[tags]
total=two
0=Keep me
2=And me
[NetWork]
VersionCheck=0
INI
printf 'DejaVu Sans\n' >"$DATA/tags/And me.tag"

# The error box comes before the main window is on screen: the first window of that name.
start_display
"$PROGRAM" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!
timeout 30 xdotool search --sync --onlyvisible --name '^Glyphorama2$' >/dev/null ||
    fail "no error box for the damaged list: $(cat "$WORK/program.log")"
sleep 0.5
kill -TERM "$PROGRAM_PID"
wait_for_exit 10
# The list written whole again, with what it still named.
for line in total=2 '0=Keep me' '1=And me'; do
    grep -qx "$line" "$ini" || fail "the tags were not saved whole: $(cat "$ini")"
done
tags=$(sed -n '/^\[tags\]/,/^\[/p' "$ini")
grep -qx 'form_left=20' "$ini" || fail "the settings were not saved: $(cat "$ini")"

# A dialog inside the running program: the new tag's name is asked.
start_program
xdotool windowsize --sync "$WINDOW" 640 420
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
# The new-tag button is the first of the tag bar, above the status bar.
for _ in $(seq 1 10); do
    xdotool mousemove --window "$WINDOW" 30 $((HEIGHT - 34)) click 1
    timeout 3 xdotool search --sync --onlyvisible --name '^新しいタグ$' >/dev/null 2>&1 && break
done
xdotool search --onlyvisible --name '^新しいタグ$' >/dev/null || fail "the new-tag dialog did not open"
kill -INT "$PROGRAM_PID"
wait_for_exit 10
width=$(grep '^form_width=' "$ini" || true)
[ -n "$width" ] && [ "$width" != form_width=520 ] || fail "the new size was not saved: $(cat "$ini")"
[ "$(sed -n '/^\[tags\]/,/^\[/p' "$ini")" = "$tags" ] || fail "the dialog's end changed the tags: $(cat "$ini")"
echo "ok"
