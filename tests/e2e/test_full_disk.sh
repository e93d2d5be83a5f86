#!/usr/bin/env bash
# The disk fills up while the program runs. Closing it cannot save the settings: the old
# Glyphorama.ini survives byte for byte, and an error box titled Glyphorama2 says that the file
# cannot be written. The disk is a tiny tmpfs filled to the last byte where mounting works
# (as root); elsewhere, or with FULL_DISK_BY_LIMIT set, the program runs with a file size
# limit, which fails the same writes.
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA"
MOUNTED=""
if [ -z "${FULL_DISK_BY_LIMIT:-}" ] && [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=64k tmpfs "$DATA" 2>/dev/null; then
    MOUNTED=1
fi
trap '[ -n "$MOUNTED" ] && umount "$DATA" 2>/dev/null; cleanup' EXIT

ini=$DATA/Glyphorama.ini
# A hand-written file larger than the size limit below, with a name in Japanese.
{
    printf '; 手で書いた設定\r\n'
    for i in $(seq 1 40); do printf '; padding line %02d of a file larger than one kilobyte\r\n' "$i"; done
    printf '[settings]\r\nform_top=10\r\nform_left=20\r\nform_width=600\r\nform_height=450\r\n'
    printf '[tags]\r\ntotal=1\r\n0=見本帳\r\n[NetWork]\r\nVersionCheck=0\r\n'
} >"$ini"
cp "$ini" "$WORK/original.ini"

if [ -n "$MOUNTED" ]; then
    start_program
    # Fill the disk to the last byte.
    dd if=/dev/zero of="$DATA/filler" bs=1k 2>/dev/null || true
    dd if=/dev/zero of="$DATA/filler2" bs=1 2>/dev/null || true
else
    start_display
    # Writes past 1 KiB fail (EFBIG, as ENOSPC on a full disk); the signal they raise is
    # ignored, as the program's own start-up would leave it.
    (
        trap '' XFSZ
        exec prlimit --fsize=1024 -- "$PROGRAM"
    ) >"$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
    WINDOW=$(timeout 30 xdotool search --sync --onlyvisible --name '^Glyphorama2$' | head -n 1) ||
        fail "the main window did not appear"
fi

xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool key Escape

# The error box: a second window titled Glyphorama2, or the only one once the main window
# has gone.
box=""
for _ in $(seq 1 100); do
    found=$(xdotool search --onlyvisible --name '^Glyphorama2$' 2>/dev/null || true)
    for candidate in $found; do
        [ "$candidate" != "$WINDOW" ] && box=$candidate
    done
    [ -n "$box" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended without a message"
    sleep 0.2
done
[ -n "$box" ] || fail "no error box appeared"
cmp -s "$ini" "$WORK/original.ini" || fail "the settings file changed: $(od -c "$ini" | head)"

xdotool windowfocus --sync "$box" 2>/dev/null || true
xdotool key Return
wait_for_exit 20
cmp -s "$ini" "$WORK/original.ini" || fail "the settings file changed after the box"
leftovers=$(ls -A "$DATA" | grep -v -e '^Glyphorama.ini$' -e '^tags$' -e '^filler' || true)
[ -z "$leftovers" ] || fail "files left in the data folder: $leftovers"
echo "ok"
