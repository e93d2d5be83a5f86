#!/usr/bin/env bash
# Under a window manager the settings keep the window's outer bounds, frame included: a first
# start shows a 500 x 500 frame at 0, 0 (not where the window manager would have put it), even
# with eight long tags in the bar; ten starts and closes in a row leave the four keys exactly as
# they were.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

saved_bounds() {
    local ini=$DATA/Glyphorama.ini top left width height
    top=$(sed -n 's/^form_top=//p' "$ini" | tr -d '\r')
    left=$(sed -n 's/^form_left=//p' "$ini" | tr -d '\r')
    width=$(sed -n 's/^form_width=//p' "$ini" | tr -d '\r')
    height=$(sed -n 's/^form_height=//p' "$ini" | tr -d '\r')
    echo "$left $top $width $height"
}

mkdir -p "$DATA"
{
    printf '[NetWork]\nVersionCheck=0\n[tags]\ntotal=8\n'
    for i in $(seq 0 7); do printf '%s=ずいぶん長い名前をつけたユーザータグその%s\n' "$i" "$i"; done
} >"$DATA/Glyphorama.ini"
start_program
extents=$(xprop -id "$WINDOW" _NET_FRAME_EXTENTS)
case $extents in *=*) ;; *) fail "the window manager gave no frame: $extents" ;; esac
expect_outer "0 0 500 500" "first start"
close_with_escape
[ "$(saved_bounds)" = "0 0 500 500" ] || fail "first start saved $(saved_bounds)"

# Bounds of the user's choosing, then ten runs that each start and close.
sed -i -e 's/^form_top=.*/form_top=52/' -e 's/^form_left=.*/form_left=37/' \
    -e 's/^form_width=.*/form_width=611/' -e 's/^form_height=.*/form_height=433/' \
    "$DATA/Glyphorama.ini"
for run in $(seq 1 10); do
    start_program
    expect_outer "37 52 611 433" "run $run"
    close_with_escape
    [ "$(saved_bounds)" = "37 52 611 433" ] || fail "run $run saved $(saved_bounds)"
done
echo "ok"
