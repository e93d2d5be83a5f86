#!/usr/bin/env bash
# A second start restores what the first left: the window's place and size, the drawing mode,
# the font filter and the tags. A font's name copied from a tile's menu reaches the desktop's
# clipboard, and the help documents sit beside the program.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

program_dir=$(dirname "$PROGRAM")
[ -s "$program_dir/readme.txt" ] || fail "no readme.txt beside the program"
[ -s "$program_dir/info.txt" ] || fail "no info.txt beside the program"

mkdir -p "$DATA/tags"
ini=$DATA/Glyphorama.ini
cat >"$ini" <<'INI'
[settings]
form_top=40
form_left=60
form_width=640
form_height=480
sample_view_mode=1
current_font_type=1
[tags]
total=1
0=見本帳
[NetWork]
VersionCheck=0
INI
printf 'IPAGothic\n' >"$DATA/tags/見本帳.tag"

start_program
# The saved bounds are the frame's.
expect_outer "60 40 640 480" "restored bounds"

# The first tile sits at the top left of the flow, below the top bar; drawing mode 1 paints it
# black.
sleep 2
tile_y=$(($(view_top) + 16))
pixel=$(import -window "$WINDOW" -crop 1x1+20+$tile_y txt:- | tail -n 1)
grep -q '#000000' <<<"$pixel" || fail "the drawing mode was not restored: $pixel"

# Its menu has one item, chosen by its accelerator.
xdotool mousemove --window "$WINDOW" 20 "$tile_y" click 3
sleep 0.5
xdotool key c
sleep 0.5
copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null) || fail "nothing on the clipboard"
# The filter is restored: the first tile is a Japanese family.
fc-list :lang=ja family | tr ',' '\n' | grep -xF "$copied" >/dev/null ||
    fail "the copied name '$copied' is not a Japanese family"

# The about box from the wrench's menu: centred over the window, gone on Esc.
xdotool mousemove --window "$WINDOW" 178 17 click 1
sleep 0.5
xdotool key h
sleep 0.3
xdotool key a
about=$(timeout 10 xdotool search --sync --onlyvisible --name '^AboutForm$' | head -n 1) ||
    fail "the about box did not appear"
xdotool getwindowgeometry "$about" | grep 'Position: 130,80' >/dev/null ||
    fail "the about box is not centred: $(xdotool getwindowgeometry "$about" | tr "\n" " ")"
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^AboutForm$' >/dev/null 2>&1 && fail "Esc left the about box"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Esc in the about box closed the program"

close_with_escape
for line in form_top=40 form_left=60 form_width=640 form_height=480 sample_view_mode=1 \
    current_font_type=1 total=1 0=見本帳 VersionCheck=0; do
    grep -qx "$line" "$ini" || fail "the settings lost $line: $(cat "$ini")"
done
echo "ok"
