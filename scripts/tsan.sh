#!/usr/bin/env bash
# Builds the program and its tests with ThreadSanitizer and runs the serial, end-to-end, window
# and unit tests; any report that is not one of Qt's own internals (tests/tsan.supp) fails.
set -euo pipefail
build=${1:-build-tsan}
here=$(cd "$(dirname "$0")/.." && pwd)
# Ninja for a folder made here, each target's sources compiled in batches and line tables as the
# debug information, as make test's other builds (line tables name every function, also an
# inlined one, in full: what a report's stack and the suppressions need).
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-GNinja)
cmake "${generator[@]}" -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DKVT_TSAN=ON -DKVT_UNITY=ON \
    -DBUILD_TESTING=ON -DKVT_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
# The longest history (history_size=7), so that the stack of an access made long before the
# racing one can still be restored and checked against the suppressions. die_after_fork=0: the
# tests start kvtctl and the save loop through QProcess, whose fork of the multi-threaded test
# process ThreadSanitizer would otherwise end (the program itself never forks).
export TSAN_OPTIONS="suppressions=$here/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1:history_size=7:die_after_fork=0"
(cd "$build" && ctest --output-on-failure -j "$(nproc)")
