#!/usr/bin/env bash
# A tag bar wider than the window: a tile dragged with the mouse and held over the bar's right
# arrow scrolls the bar to its far end, where it is dropped on the last tag's button.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA"
last=ずいぶん長い名前をつけたユーザータグその7
{
    printf '[NetWork]\nVersionCheck=0\n[settings]\nform_left=0\nform_top=0\n'
    printf 'form_width=420\nform_height=400\n[tags]\ntotal=8\n'
    for i in $(seq 0 7); do printf '%s=ずいぶん長い名前をつけたユーザータグその%s\n' "$i" "$i"; done
} >"$DATA/Glyphorama.ini"
start_program
expect_outer "0 0 420 400" "start"

info=$(xwininfo -id "$WINDOW")
read -r WIN_X WIN_Y WIDTH HEIGHT < <(awk '/Absolute upper-left X:/{x=$NF}
    /Absolute upper-left Y:/{y=$NF} /^ *Width:/{w=$NF} /^ *Height:/{h=$NF}
    END{print x, y, w, h}' <<<"$info")

pixel_at() {
    import -window root -crop "1x1+$1+$2" +repage txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1
}
# The tiles are white on the grey of the window: wait until the first one is there.
TILE_X=$((WIN_X + 30))
VIEW_Y=$((WIN_Y + $(view_top)))
TILE_Y=$((VIEW_Y + 3 + 25))
xdotool mousemove $((WIN_X + WIDTH - 5)) $((WIN_Y + 5))
for _ in $(seq 1 60); do
    [ "$(pixel_at $((WIN_X + 12)) $((VIEW_Y + 8)))" = "#FFFFFF" ] && break
    sleep 0.5
done
sleep 1

# The tag bar's row is where the trash icon's red is.
import -window root "$WORK/shot.png"
BAR_Y=$(convert "$WORK/shot.png" -crop "${WIDTH}x${HEIGHT}+${WIN_X}+${WIN_Y}" +repage txt:- |
    awk -F'[,: ]+' -v oy="$WIN_Y" '/#D42A1E/ { sy += $2; n++ } END { if (n > 0) printf "%d\n", oy + sy / n }')
[ -n "$BAR_Y" ] || fail "the tag bar was not found on screen"
ARROW_X=$((WIN_X + WIDTH - 8))
LAST_X=$((WIN_X + WIDTH - 16 - 40))

press_and_travel "$TILE_X" "$TILE_Y" "$ARROW_X" "$BAR_Y"
# Held over the arrow until the row has surely reached its end.
for _ in $(seq 1 16); do
    xdotool mousemove_relative -- 0 1
    sleep 0.25
    xdotool mousemove_relative -- 0 -1
    sleep 0.25
done
xdotool mousemove "$LAST_X" "$BAR_Y"
sleep 0.5
xdotool mousemove $((LAST_X - 2)) "$BAR_Y"
sleep 0.5
xdotool mouseup 1
sleep 1

file="$DATA/tags/$last.tag"
[ -s "$file" ] || fail "the drop did not reach the last tag: $(ls "$DATA/tags")"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended after the drop"
close_with_escape
echo "ok"
