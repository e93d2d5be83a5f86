#!/usr/bin/env bash
# First start with an empty HOME: a 500 x 500 window (frame included) appears at 0, 0, the
# folders are made, Esc closes it and the settings file holds every key in the order they are
# saved.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

resources=$(dirname "$PROGRAM")/resources
start_program
[ -d "$DATA" ] || fail "no data folder $DATA"
[ -d "$DATA/tags" ] || fail "no tags folder"
[ -d "$resources" ] || fail "no resources folder beside the executable"
# The frame is 500 x 500 at 0, 0; the client area is what the frame leaves of it.
expect_outer "0 0 500 500" "first start"

close_with_escape
ini=$DATA/Glyphorama.ini
[ -f "$ini" ] || fail "no settings file written"
expected='[settings]
current_font_type=2
sample_view_mode=0
form_top=0
form_left=0
form_width=500
form_height=500
[tags]
total=0'
[ "$(tr -d '\r' <"$ini")" = "$expected" ] || fail "unexpected settings file: $(cat "$ini")"
echo "ok"
