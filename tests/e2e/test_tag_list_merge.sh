#!/usr/bin/env bash
# Another writer lists a tag while the program runs (a hand edit, an older version): the close
# keeps it, after the program's own, as long as its tag file exists; a name listed without a
# file is not brought back.
set -euo pipefail
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

mkdir -p "$DATA/tags"
printf '[NetWork]\r\nVersionCheck=0\r\n[tags]\r\ntotal=1\r\n0=Mine\r\n' >"$DATA/Glyphorama.ini"
start_program
sleep 1

printf '[NetWork]\r\nVersionCheck=0\r\n[tags]\r\ntotal=3\r\n0=Theirs\r\n1=Mine\r\n2=Ghost\r\n' \
    >"$DATA/Glyphorama.ini"
printf 'DejaVu Sans\r\n' >"$DATA/tags/Theirs.tag"

close_with_escape
# The entries the list counts (keys past "total" are never read back).
tags=$(tr -d '\r' <"$DATA/Glyphorama.ini" | awk '
    /^\[/ { in_tags = ($0 == "[tags]") }
    in_tags && /^total=/ { total = substr($0, 7) }
    in_tags && /^[0-9]+=/ { split($0, kv, "="); entry[kv[1]] = substr($0, length(kv[1]) + 2) }
    END { for (i = 0; i < total; i++) print entry[i] }')
[ "$tags" = $'Mine\nTheirs' ] || fail "the tag list at close is '$tags'"
[ "$(tr -d '\r' <"$DATA/tags/Theirs.tag")" = "DejaVu Sans" ] || fail "the tag file changed"
echo "ok"
