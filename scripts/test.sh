#!/usr/bin/env bash
# Sets up, builds and runs every test. With --sanitize, the same in a separate build with
# AddressSanitizer and UndefinedBehaviorSanitizer, where any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = "--sanitize" ]; then
    build=build-sanitize
    scripts/setup.sh "$build" -DGLYPHORAMA_SANITIZE=ON -DGLYPHORAMA_BENCH=OFF
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0
    export LSAN_OPTIONS=suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/support/ubsan.supp
else
    build=build
    scripts/setup.sh "$build"
fi
cd "$build"
ctest --output-on-failure -j"$(nproc)"
