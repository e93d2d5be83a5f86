#!/usr/bin/env bash
# The benchmark's font sets hold what they claim: N families, every one distinct under every
# name fontconfig reads, a quarter of them Japanese, nothing left of the fonts they were copied
# from; a set is reused rather than written again; and the benchmark measures every figure on
# them. No timing is checked here.
#   test_font_sets.sh DISTINCT_FAMILIES_BENCH
set -euo pipefail
BENCH=$1
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
generate() { "$python" "$GLYPHORAMA_SOURCE_DIR/bench/make-font-set.py" "$WORK/sets" "$@"; }
in_set() { FONTCONFIG_FILE=$WORK/sets/$1/fonts.conf "${@:2}"; }

generate 12 4 >"$WORK/generate.log" 2>&1 || fail "generator failed: $(cat "$WORK/generate.log")"

# --- The families of a set, under each name fontconfig gives them
families=$(in_set 12 fc-list --format '%{family}\n')
[ "$(wc -l <<<"$families")" -eq 12 ] || fail "12 faces expected, got: $families"
[ "$(sort -u <<<"$families" | wc -l)" -eq 12 ] || fail "a family repeats: $families"
# One line per face: its family, full and PostScript names, each name once.
every_name=$(in_set 12 fc-list --format '%{family},%{fullname},%{postscriptname}\n' |
    awk -F, '{ delete seen; for (i = 1; i <= NF; i++) if (!seen[$i]++) print $i }')
dupes=$(sort <<<"$every_name" | uniq -d)
[ -z "$dupes" ] || fail "names shared between families: $dupes"
leftovers=$(grep -i -E 'dejavu|ipa' <<<"$every_name" || true)
[ -z "$leftovers" ] || fail "names of the source fonts survive: $leftovers"
files=$(in_set 12 fc-list --format '%{file}\n' | sort -u | wc -l)
[ "$files" -eq 12 ] || fail "every family needs its own file, got $files files"

# --- A quarter Japanese, named in Japanese too, and the rest not Japanese
japanese=$(in_set 12 fc-list :lang=ja --format '%{family}\n')
[ "$(wc -l <<<"$japanese")" -eq 3 ] || fail "3 of 12 should be Japanese: $japanese"
japanese_names=$(in_set 12 fc-list :lang=ja --format '%{family[1]}|%{familylang[1]}\n')
while IFS='|' read -r name language; do
    [ "$language" = ja ] || fail "a Japanese family without a Japanese name: $name"
    grep -q -P '[\x{30A0}-\x{30FF}]' <<<"$name" || fail "Japanese name not in katakana: $name"
done <<<"$japanese_names"

# --- A smaller set is the start of the larger one
small=$(in_set 4 fc-list --format '%{family[0]}\n' | sort)
first_four=$(for file in $(ls "$WORK/sets/12/fonts" | head -4); do
    fc-scan --format '%{family[0]}\n' "$WORK/sets/12/fonts/$file"
done | sort)
[ "$small" = "$first_four" ] || fail "set 4 is not the first 4 of set 12: $small / $first_four"

# --- A set without Japanese: Western families of the same pool, as many as asked for
generate --without-japanese 6 >"$WORK/generate.log" 2>&1 || fail "generator failed: $(cat "$WORK/generate.log")"
western=$(in_set without-japanese/6 fc-list --format '%{family}\n')
[ "$(sort -u <<<"$western" | wc -l)" -eq 6 ] || fail "6 distinct Western families expected: $western"
[ -z "$(in_set without-japanese/6 fc-list :lang=ja)" ] || fail "a set without Japanese has some"
[ -z "$(comm -23 <(sort <<<"$western") <(in_set 12 fc-list --format '%{family}\n' | sort))" ] ||
    fail "the Western set is not drawn from the pool: $western"

# --- Reused when present: no file is written again
before=$(stat -c '%i %Y' "$WORK"/sets/12/fonts/*)
generate 12 4 >/dev/null 2>&1
[ "$(stat -c '%i %Y' "$WORK"/sets/12/fonts/*)" = "$before" ] || fail "a present set was written again"

# --- A set left half-made is made again
rm "$WORK/sets/4/complete" "$WORK/sets/4/fonts/"*
generate 4 >/dev/null 2>&1
[ "$(in_set 4 fc-list --format '%{family}\n' | wc -l)" -eq 4 ] || fail "a broken set was not remade"

# --- The benchmark fills every figure on a real set
output=$("$BENCH" "$WORK/sets" 4 12 2>"$WORK/bench.log") || fail "bench failed: $(cat "$WORK/bench.log")"
table=$(sed -n '/^start-up/,/^target/p' <<<"$output")
rows=$(grep -E '^ +(4|12) ' <<<"$table" || true)
[ "$(wc -l <<<"$rows")" -eq 4 ] || fail "two tables of two rows expected: $output"
missing=$(grep -E '(^| )-1(\.0+)?( |$)' <<<"$rows" || true)
[ -z "$missing" ] || fail "a figure was not measured: $output"
grep -q 'target: cost per family at 12' <<<"$output" || fail "no targets printed: $output"
echo ok
