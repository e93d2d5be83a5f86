#!/usr/bin/env bash
# Builds the Debian package in a release build of its own and prints the package's path.
# Usage: scripts/build-deb.sh [build-folder]   (default: build-deb)
#        scripts/build-deb.sh --from build-folder
# With --from, a build that is already made is packaged as it is (its binaries are stripped
# as always): CI packages the build its tests just ran on rather than compiling all again.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--from" ]; then
    build=$(realpath -m "${2:?the build folder to package}")
    [ -f "$build/CMakeCache.txt" ] || { echo "no build in $build" >&2; exit 1; }
    cmake --build "$build" -j"$(nproc)" --target glyphorama >&2
else
    build=$(realpath -m "${1:-build-deb}")
    # Only the path goes to standard output: callers take it from there.
    scripts/setup.sh "$build" -DCMAKE_BUILD_TYPE=Release -DGLYPHORAMA_TESTS=OFF \
        -DGLYPHORAMA_BENCH=OFF -DGLYPHORAMA_UNITY=ON >&2
fi
rm -f "$build"/glyphorama_*.deb
(cd "$build" && cpack -G DEB) >&2
package=$(ls "$build"/glyphorama_*.deb)
echo "$package"
