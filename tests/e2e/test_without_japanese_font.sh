#!/usr/bin/env bash
# A desktop without a Japanese font (DejaVu only): the user is told once, in a box that leaves
# the window working, what to install; and no text of the interface sends Qt looking through
# the installed fonts for the Japanese none of them has. That search is fontconfig sorting the
# whole collection, which FC_DEBUG=1 shows as a "Sort" line: with thousands of families it
# held the first window up for seconds.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

fonts=$WORK/fonts
mkdir -p "$fonts"
for font in DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSerif.ttf DejaVuSansMono.ttf; do
    ln -s "/usr/share/fonts/truetype/dejavu/$font" "$fonts/$font"
done
cat >"$WORK/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$fonts</dir>
  <cachedir>$WORK/fontconfig-cache</cachedir>
</fontconfig>
CONF
export FONTCONFIG_FILE=$WORK/fonts.conf
[ -z "$(fc-list :lang=ja)" ] || fail "the test's fonts have Japanese: $(fc-list :lang=ja)"

# fontconfig's trace goes to the program's standard output, which common.sh logs.
export FC_DEBUG=1
start_program

# The notice: a second window under the program's title.
notices() {
    xdotool search --onlyvisible --name '^Glyphorama2$' 2>/dev/null | grep -v -x "$WINDOW" || true
}
box=""
for _ in $(seq 1 100); do
    box=$(notices)
    [ -n "$box" ] && break
    sleep 0.1
done
[ -n "$box" ] || fail "nobody was told that a Japanese font is missing"
[ "$(wc -l <<<"$box")" -eq 1 ] || fail "more than one notice: $box"

# The window goes on working beside the box, laying out and painting its texts again at another
# size, and nothing of it tells the user again.
xdotool windowsize "$WINDOW" 900 700
sleep 1
[ "$(notices)" = "$box" ] || fail "the notice came again: $(notices)"
xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
for _ in $(seq 1 50); do
    [ -z "$(notices)" ] && break
    sleep 0.1
done
[ -z "$(notices)" ] || fail "the notice did not close"
sleep 1
[ -z "$(notices)" ] || fail "the notice came again after it was closed"

sorts=$(grep -c '^Sort ' "$WORK/program.log" || true)
[ "$sorts" -eq 0 ] || fail "Qt searched the installed fonts for a fallback $sorts times"
grep -q '^Match ' "$WORK/program.log" || fail "no fontconfig trace: is FC_DEBUG ignored?"

close_with_escape
echo "ok"
