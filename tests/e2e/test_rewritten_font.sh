#!/usr/bin/env bash
# A font file rewritten in place while the program shows it (cp truncates the file first):
# the program reads its faces into memory, so a new size or a sample text after the change
# draws missing marks, or the new file's glyphs, and the program closes normally, saving its
# settings. With the file mapped, the next use read past the new end and died of SIGBUS.
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

# The tests' fonts and a folder of our own with a copy of a tiny font that we may rewrite.
FONTS=$WORK/fonts
mkdir -p "$FONTS"
cp "$GLYPHORAMA_SOURCE_DIR/tests/fonts/data/markup-names.ttf" "$FONTS/rewritten.ttf"
cat >"$WORK/fonts.conf" <<EOF
<?xml version="1.0"?>
<fontconfig>
  <include>$FONTCONFIG_FILE</include>
  <dir>$FONTS</dir>
  <cachedir>$WORK/fontconfig-cache</cachedir>
</fontconfig>
EOF
export FONTCONFIG_FILE=$WORK/fonts.conf
families=$(fc-list : family)
grep -qF 'Markup <b>x</b>' <<<"$families" || fail "the copied font is not listed: $families"

mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n[settings]\ncurrent_font_type=6\n[preview]\nsample_point_size=48\n' \
    >"$DATA/Glyphorama.ini"

# Waits until the window stops changing (the top bar left out: its text cursor blinks).
settle() {
    local previous="" current
    for _ in $(seq 1 40); do
        sleep 0.25
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program died: $(tail -c 2000 "$WORK/program.log")"
        import -window "$WINDOW" "$WORK/settle.png" 2>/dev/null || fail "no screenshot"
        current=$(convert "$WORK/settle.png" -crop +0+40 +repage rgb:- | md5sum)
        [ "$current" = "$previous" ] && return 0
        previous=$current
    done
    fail "the window kept changing"
}

alive() {
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "$1: $(tail -c 2000 "$WORK/program.log")"
}

start_program
settle

# Truncated in place, as cp does before it writes: the next size reads the file again.
: >"$FONTS/rewritten.ttf"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key ctrl+equal
settle
alive "the program ended after a new size over a truncated font"

# A sample text over the same file.
xdotool mousemove --window "$WINDOW" 250 17 click 1
xdotool type --delay 20 "Abc"
xdotool key Return
settle
alive "the program ended after a sample text over a truncated font"

# Another font's bytes in the same file, again in place: its glyphs at the next size.
cp "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf" "$FONTS/rewritten.ttf"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key ctrl+equal
settle
alive "the program ended after a new size over a rewritten font"

close_with_escape
settings=$(cat "$DATA/Glyphorama.ini")
grep -q '^sample_point_size=96' <<<"$settings" || fail "the size was not saved: $settings"
grep -q '^current_font_type=6' <<<"$settings" || fail "the font type was not saved: $settings"
echo "ok"
