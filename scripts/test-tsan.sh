#!/usr/bin/env bash
# Runs the tests of the code that shares data between threads (the worker thread and the HTTP
# client of the platform layer, the notice download, the tile builder) under ThreadSanitizer,
# in a build of its own (build-tsan). Any report fails the run. Qt, glib and fontconfig are
# not instrumented; tests/support/tsan.supp silences what that makes TSan see inside them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-tsan
targets=(test_platform test_notice test_fonts)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHORAMA_TSAN=ON \
    -DGLYPHORAMA_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/support/tsan.supp"
status=0
for target in "${targets[@]}"; do
    echo "== $target under ThreadSanitizer"
    "$build/tests/$target" --gtest_brief=1 || status=1
done
exit $status
