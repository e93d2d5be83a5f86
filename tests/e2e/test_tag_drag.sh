#!/usr/bin/env bash
# A real drag with the mouse: the first font tile is dragged onto the trash button. The trash
# tag file then lists the font, and the tile has left the view: the tile now first in the
# view is another font (told by "copy font name" from its context menu).
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA"
printf '[NetWork]\r\nVersionCheck=0\r\n' >"$DATA/Glyphorama.ini"
start_program

# Without a window manager the window sits where the program put it: its client area is
# what xdotool reports.
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
WIN_X=$X
WIN_Y=$Y
# The first tile starts at the top left of the flow panel, below the top bar, a few
# pixels in (the tile's margins); this point is well inside it and above its name label.
TILE_X=$((WIN_X + 30))
VIEW_Y=$((WIN_Y + $(view_top)))
TILE_Y=$((VIEW_Y + 3 + 25))

# The name of the font whose tile is first, through the tile's context menu.
first_font_name() {
    printf '' | xclip -selection clipboard
    xdotool mousemove "$TILE_X" "$TILE_Y"
    sleep 0.3
    xdotool click 3
    sleep 0.5
    xdotool key c
    local name=""
    for _ in $(seq 1 20); do
        name=$(xclip -o -selection clipboard 2>/dev/null || true)
        [ -n "$name" ] && break
        sleep 0.2
    done
    printf '%s' "$name"
}

# Where the trash icon is: the one place of the window painted in its red.
trash_icon_centre() {
    import -window root "$WORK/shot.png"
    convert "$WORK/shot.png" -crop "${WIDTH}x${HEIGHT}+${WIN_X}+${WIN_Y}" +repage txt:- |
        awk -F'[,: ]+' -v ox="$WIN_X" -v oy="$WIN_Y" '
            /#D42A1E/ { sx += $1; sy += $2; n++ }
            END { if (n > 0) printf "%d %d\n", ox + sx / n, oy + sy / n }'
}

# The tiles are white on the grey of the window: wait until the first one is there.
pixel_at() {
    import -window root -crop "1x1+$1+$2" +repage txt:- 2>/dev/null | grep -o '#[0-9A-F]\{6\}' | head -n 1
}
xdotool mousemove $((WIN_X + WIDTH - 5)) $((WIN_Y + 5))
for _ in $(seq 1 60); do
    [ "$(pixel_at $((WIN_X + 12)) $((VIEW_Y + 8)))" = "#FFFFFF" ] && break
    sleep 0.5
done
[ "$(pixel_at $((WIN_X + 12)) $((VIEW_Y + 8)))" = "#FFFFFF" ] || fail "no tile appeared"
sleep 1

font=$(first_font_name)
[ -n "$font" ] || fail "no font name could be copied from the first tile"

read -r TRASH_X TRASH_Y <<<"$(trash_icon_centre)" || true
[ -n "${TRASH_Y:-}" ] || fail "the trash button was not found on screen"

# Press, move past the drag distance, travel to the trash button, release.
press_and_travel "$TILE_X" "$TILE_Y" "$TRASH_X" "$TRASH_Y"
xdotool mousemove "$TRASH_X" "$TRASH_Y"
sleep 0.3
xdotool mouseup 1

# A loaded machine may take a while to handle the drop: wait for its file, not a fixed time.
trash="$DATA/tags/ゴミ箱.tag"
expected=$(printf '%s\r\n' "$font" | od -An -tx1)
actual=""
for _ in $(seq 1 100); do
    [ -f "$trash" ] && actual=$(od -An -tx1 <"$trash")
    [ "$actual" = "$expected" ] && break
    sleep 0.1
done
[ -f "$trash" ] || fail "no trash tag file after the drop"
[ "$actual" = "$expected" ] || fail "trash file holds $(cat -A "$trash"), expected the line '$font'"
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended after the drop: $(cat "$WORK/program.log")"

# The tile leaves the view once the drop has completed; ask again until it has.
now_first=""
for _ in $(seq 1 10); do
    now_first=$(first_font_name)
    [ -n "$now_first" ] && [ "$now_first" != "$font" ] && break
    sleep 0.5
done
[ -n "$now_first" ] || fail "no font name could be copied after the drop"
[ "$now_first" != "$font" ] || fail "the tile of '$font' is still first in the view"

close_with_escape
echo "ok: '$font' went to the trash and left the view"
