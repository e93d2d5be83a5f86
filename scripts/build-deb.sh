#!/usr/bin/env bash
# Builds the Debian package in a release build of its own and prints the package's path.
# Usage: scripts/build-deb.sh [build-folder]   (default: build-deb)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build-deb}")
# Only the path goes to standard output: callers take it from there.
scripts/setup.sh "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPHORAMA_TESTS=OFF \
    -DGLYPHORAMA_BENCH=OFF >&2
rm -f "$build"/glyphorama_*.deb
(cd "$build" && cpack -G DEB) >&2
package=$(ls "$build"/glyphorama_*.deb)
echo "$package"
