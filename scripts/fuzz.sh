#!/usr/bin/env bash
# Builds the libFuzzer target of the reply handler with clang and runs it for the given number
# of seconds (default 600), starting from the seed corpus. A crash, a sanitizer report or a
# broken limit fails the run and leaves the input in build-fuzz/.
set -euo pipefail
seconds=${1:-600}
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-fuzz"
cmake -S "$here/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
mkdir -p "$build/corpus"
cd "$build"
ASAN_OPTIONS="detect_leaks=1:halt_on_error=1" \
    ./reply_fuzzer -max_total_time="$seconds" -print_final_stats=1 corpus "$here/tests/fuzz/corpus"
