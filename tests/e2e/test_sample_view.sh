#!/usr/bin/env bash
# The sample view on a real X server: tiles appear, a typed sample text is drawn on them, a
# tile's context menu copies its font's name, and Esc closes the window.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA/tags"
printf '[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=6\n' >"$DATA/Glyphorama.ini"

shot() { import -window "$WINDOW" "$1" 2>/dev/null || fail "no screenshot"; }
colours() { convert "$1" -format %k info:; }
# Waits until the status bar would say the build ended: the window stops changing. The top
# bar is left out: the text cursor blinks there, and on a loaded machine, where a screenshot
# takes longer, two shots in a row would keep catching it in different phases.
settle() {
    local previous="" current
    for _ in $(seq 1 40); do
        sleep 0.25
        shot "$WORK/settle.png"
        current=$(convert "$WORK/settle.png" -crop +0+40 +repage rgb:- | md5sum)
        [ "$current" = "$previous" ] && return 0
        previous=$current
    done
    fail "the window kept changing"
}

start_program
settle
shot "$WORK/names.png"
[ "$(colours "$WORK/names.png")" -gt 50 ] || fail "the sample view looks empty"

# Type a sample text: the edit sits in the middle of the top bar.
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool mousemove --window "$WINDOW" 250 17 click 1
xdotool type --delay 20 "Hamburgefonstiv"
xdotool key Return
settle
shot "$WORK/sample.png"
difference=$(compare -metric AE "$WORK/names.png" "$WORK/sample.png" null: 2>&1 || true)
[ "${difference%% *}" -gt 1000 ] || fail "the sample text changed nothing on screen ($difference)"

# The first tile sits at the top left of the view; its menu's only command copies the name.
xdotool mousemove --window "$WINDOW" 40 $(($(view_top) + 26)) click 3
sleep 0.5
xdotool key c
sleep 0.5
copied=$(timeout 5 xclip -selection clipboard -o 2>/dev/null || true)
[ -n "$copied" ] || fail "nothing was copied from the tile's menu"
fc-list : family | tr ',' '\n' | grep -xF "$copied" >/dev/null || fail "copied '$copied' is no font family"

close_with_escape
grep -q '^current_font_type=6' "$DATA/Glyphorama.ini" || fail "font type not saved"
echo "ok"
