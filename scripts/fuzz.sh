#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 600): the reply handler, the scrambled stream and file text, the language files, the
# program-file pair, the settings files and the program preview (each input under a time limit),
# each from its seed corpus. A crash, a sanitizer report or a broken
# invariant fails the run and leaves the input in build-fuzz/.
set -euo pipefail
seconds=${1:-600}
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-fuzz"
cmake -S "$here/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"
for target in reply stream lang program settings preview; do
    echo "-- ${target}_fuzzer for $seconds s"
    mkdir -p "corpus/$target"
    # The preview must end soon for any list: an input that takes longer is a failure.
    limit=()
    [ "$target" = preview ] && limit=(-timeout=10 -max_len=65536)
    ASAN_OPTIONS="detect_leaks=1:halt_on_error=1" \
        "./${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 "${limit[@]}" \
        "corpus/$target" "$here/tests/fuzz/corpus/$target" 2>&1 | tail -n 4
    test "${PIPESTATUS[0]}" -eq 0
done
