#!/usr/bin/env bash
# Prints every benchmark figure: the tile build over the installed families repeated, then
# start-up, first screenful, rebuilds and memory over sets of distinct families.
#
#   bench/run.sh [--without-japanese] [count...]          (default: 500 1000 2000 4000)
#
# --without-japanese measures sets of Western families only: a desktop without a Japanese font,
# where no installed font has the interface's own texts.
#
# The font sets are written once (a few minutes) and reused; GLYPHORAMA_BENCH_FONTS says where
# (default build/bench-fonts; they take about 0.7 MB per family).
set -euo pipefail
cd "$(dirname "$0")/.."
without_japanese=()
if [ "${1:-}" = --without-japanese ]; then
    without_japanese=(--without-japanese)
    shift
fi
counts=("$@")
((${#counts[@]})) || counts=(500 1000 2000 4000)
build=build
sets=${GLYPHORAMA_BENCH_FONTS:-$build/bench-fonts}

# fontTools comes from Debian's python3-fonttools, which a python3 of another origin first
# in PATH does not see.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
"$python" bench/make-font-set.py "${without_japanese[@]}" "$sets" "${counts[@]}" >/dev/null
((${#without_japanese[@]})) && sets=$sets/without-japanese

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHORAMA_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target TileBuildBench DistinctFamiliesBench >/dev/null

echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$build"/bench/TileBuildBench
"$build"/bench/DistinctFamiliesBench "$sets" "${counts[@]}"
