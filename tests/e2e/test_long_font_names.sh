#!/usr/bin/env bash
# A family whose name table holds a 15,000-character name, and a version and copyright as long:
# its details window, opened with a double-click on its tile, fits the screen with its close
# button inside, and Esc closes it.
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

# The long-named font is the only one installed.
mkdir -p "$WORK/fonts"
cp "$GLYPHORAMA_SOURCE_DIR/tests/details/data/long-names.ttf" "$WORK/fonts/"
cat >"$WORK/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><dir>$WORK/fonts</dir><cachedir>$WORK/fc-cache</cachedir></fontconfig>
CONF
export FONTCONFIG_FILE=$WORK/fonts.conf

mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=6\n' >"$DATA/Glyphorama.ini"
start_program

details_windows() {
    xdotool search --onlyvisible --name '^フォントの詳細 - ' 2>/dev/null || true
}
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
xdotool mousemove $((X + 30)) $((Y + 34 + 3 + 25))
details=""
for _ in $(seq 1 20); do
    xdotool click --repeat 2 --delay 60 1
    for _ in $(seq 1 10); do
        details=$(details_windows)
        [ -n "$details" ] && break 2
        sleep 0.2
    done
done
[ -n "$details" ] || fail "no details window after a double-click on the tile"
details=$(printf '%s\n' "$details" | head -n 1)
sleep 0.5

screen_width=$(xdotool getdisplaygeometry | cut -d' ' -f1)
eval "$(xdotool getwindowgeometry --shell "$details")"
[ "$WIDTH" -le "$screen_width" ] || fail "the details window is $WIDTH px wide on a $screen_width px screen"
[ "$X" -ge 0 ] && [ $((X + WIDTH)) -le "$screen_width" ] ||
    fail "the details window reaches off screen: x=$X width=$WIDTH"

xdotool windowactivate --sync "$details" 2>/dev/null || xdotool windowfocus --sync "$details"
xdotool key Escape
for _ in $(seq 1 50); do
    [ -z "$(details_windows)" ] && break
    sleep 0.1
done
[ -z "$(details_windows)" ] || fail "Esc did not close the details window"
close_with_escape
echo "ok"
