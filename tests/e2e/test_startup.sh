#!/usr/bin/env bash
# First start with an empty HOME: the window appears, the folders are made, Esc closes it and
# the settings are saved.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

resources=$(dirname "$PROGRAM")/resources
start_program
[ -d "$DATA" ] || fail "no data folder $DATA"
[ -d "$DATA/tags" ] || fail "no tags folder"
[ -d "$resources" ] || fail "no resources folder beside the executable"
xdotool getwindowgeometry "$WINDOW" | grep -q 'Geometry: 500x500' ||
    fail "first start is not 500 x 500: $(xdotool getwindowgeometry "$WINDOW")"

close_with_escape
ini=$DATA/Glyphorama.ini
[ -f "$ini" ] || fail "no settings file written"
grep -q '^\[settings\]' "$ini" || fail "no settings section"
grep -q '^current_font_type=2' "$ini" || fail "font type not saved"
grep -q '^form_width=500' "$ini" || fail "width not saved: $(cat "$ini")"
echo "ok"
