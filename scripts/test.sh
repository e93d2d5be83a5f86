#!/usr/bin/env bash
# Sets up, builds and runs every test, under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-test/): any report fails the run. Then the tests of the code that threads share, under
# ThreadSanitizer (scripts/test-tsan.sh, build-tsan/). Both are whole builds compiled in batches.
# With --quick, the plain build (build/) and its tests only, for day-to-day work.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--quick" ]; then
    scripts/setup.sh build
    cd build
    exec ctest --output-on-failure -j"$(nproc)"
fi
build=build-test
scripts/setup.sh "$build" -DGLYPHORAMA_SANITIZE=ON -DGLYPHORAMA_UNITY=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/support/ubsan.supp
(cd "$build" && ctest --output-on-failure -j"$(nproc)")
scripts/test-tsan.sh
