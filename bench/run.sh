#!/usr/bin/env bash
# Prints every benchmark figure: the tile build over the installed families repeated, then
# start-up, first screenful, rebuilds and memory over sets of distinct families.
#
#   bench/run.sh [count...]          (default: 500 1000 2000 4000)
#
# The font sets are written once (a few minutes) and reused; GLYPHORAMA_BENCH_FONTS says where
# (default build/bench-fonts; they take about 0.7 MB per family).
set -euo pipefail
cd "$(dirname "$0")/.."
counts=("$@")
((${#counts[@]})) || counts=(500 1000 2000 4000)
build=build
sets=${GLYPHORAMA_BENCH_FONTS:-$build/bench-fonts}

# fontTools comes from Debian's python3-fonttools, which a python3 of another origin first
# in PATH does not see.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
"$python" bench/make-font-set.py "$sets" "${counts[@]}" >/dev/null

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHORAMA_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target TileBuildBench DistinctFamiliesBench >/dev/null

echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$build"/bench/TileBuildBench
"$build"/bench/DistinctFamiliesBench "$sets" "${counts[@]}"
