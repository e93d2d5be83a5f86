#!/usr/bin/env bash
# The face cache is only a cache: a FIFO in its place does not keep the window from appearing,
# shows no message, is not replaced, and the program closes normally. (A link to /dev/zero is
# left to the unit tests: a program that wrote its cache through it would replace the device
# for the whole machine when run as root.)
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

CACHE=$HOME/.cache/glyphorama/faces.cache
mkdir -p "$(dirname "$CACHE")"

start_with_cache() {
    start_program
    # No box about the cache: the main window is the only window of the program.
    sleep 1
    windows=$(xdotool search --onlyvisible --name '^Glyphorama' 2>/dev/null || true)
    [ "$windows" = "$WINDOW" ] || fail "$1: a message box came up"
    close_with_escape
}

mkfifo "$CACHE"
start_with_cache "a FIFO"
[ -p "$CACHE" ] || fail "the FIFO was replaced"
echo "ok"
