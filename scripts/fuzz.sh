#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds
# (default 600): the reply handler, the scrambled stream and file text, the language files, the
# program-file pair, the settings files and the program preview (each input under a time limit),
# each from its seed corpus, as many at once as the machine has cores. A crash, a sanitizer
# report or a broken invariant fails the run and leaves the input in build-fuzz/.
set -euo pipefail
seconds=${1:-600}
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-fuzz"
generator=()
[ -f "$build/CMakeCache.txt" ] || generator=(-GNinja)
cmake "${generator[@]}" -S "$here/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
cd "$build"

fuzz() {
    local target=$1
    mkdir -p "corpus/$target"
    # The preview must end soon for any list: an input that takes longer is a failure.
    local limit=()
    [ "$target" = preview ] && limit=(-timeout=10 -max_len=65536)
    ASAN_OPTIONS="detect_leaks=1:halt_on_error=1" \
        "./${target}_fuzzer" -max_total_time="$seconds" -print_final_stats=1 "${limit[@]}" \
        "corpus/$target" "$here/tests/fuzz/corpus/$target" >"$target.out" 2>&1
}

declare -A running=()
failed=()
# Waits for one target to end and reports it (the last lines of its output; all of it on failure).
reap() {
    local pid status=0
    wait -n -p pid || status=$?
    local target=${running[$pid]}
    unset "running[$pid]"
    echo "-- ${target}_fuzzer, $seconds s"
    if [ "$status" -eq 0 ]; then
        tail -n 4 "$target.out"
    else
        cat "$target.out"
        failed+=("$target")
    fi
}
for target in reply stream lang program settings preview; do
    [ ${#running[@]} -ge "$(nproc)" ] && reap
    fuzz "$target" &
    running[$!]=$target
done
while [ ${#running[@]} -gt 0 ]; do reap; done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]} (the input is in $build)" >&2
    exit 1
fi
