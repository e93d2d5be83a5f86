#!/usr/bin/env bash
# Runs the tests of the code that shares data between threads under ThreadSanitizer, in a
# build of its own (build-tsan); any report fails the run: the worker thread and the signal
# handling of the platform layer (test_platform) and the HTTP client that a worker borrows
# (test_notice's HttpClient tests), and the measuring of captions ahead on worker threads
# (test_fontengine's CaptionMeasurer tests).
#
# Qt, glib and fontconfig are not instrumented, and Qt hands events between threads under
# futex-based mutexes that TSan cannot see; tests/support/tsan.supp leaves out what those
# libraries do themselves. Data our code passes through Qt's event queue from a worker (the
# notice download's status messages and screen cursor, the tile builder's steps) still looks
# unordered to TSan for that reason, so the window-level notice tests and test_fonts are not
# run here yet.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-tsan
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLYPHORAMA_TSAN=ON \
    -DGLYPHORAMA_BENCH=OFF -DGLYPHORAMA_UNITY=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target test_platform test_notice test_fontengine

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/support/tsan.supp"
"$build/tests/test_platform" --gtest_brief=1 --gtest_filter='-InterfaceFontConfig.*'
"$build/tests/test_notice" --gtest_brief=1 --gtest_filter='HttpClient.*'
"$build/tests/test_fontengine" --gtest_brief=1 --gtest_filter='CaptionMeasurer.*'
