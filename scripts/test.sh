#!/usr/bin/env bash
# Checks the folder floors, the code's measured shape and the formatting, then builds and runs
# the whole suite three times: a plain build, a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, and one with ThreadSanitizer, in which any sanitizer report fails
# the run; then fuzzes each target briefly.
#
# The three builds are what takes the time, so each is made as cheap as it can be without
# changing what it checks: Ninja, each target's sources compiled in batches (KVT_UNITY), the test
# programs sharing one precompiled header, and line tables (-g1) as the debug information, which
# is what a failure's or a sanitizer's stack needs.
set -euo pipefail
build=${1:-build}
asan=${2:-build-asan}
jobs=$(nproc)
here=$(cd "$(dirname "$0")/.." && pwd)

# Each stage's time, printed at the end (also when a stage fails).
stages=()
stage_started=$SECONDS
stage_name=""
stage() {
    if [ -n "$stage_name" ]; then
        stages+=("$(printf '%-34s %4d s' "$stage_name" $((SECONDS - stage_started)))")
    fi
    stage_name=$1
    stage_started=$SECONDS
    [ -n "$1" ] && echo "== $1"
    return 0
}
times() {
    stage ""
    echo "== time of each stage"
    printf '  %s\n' "${stages[@]}"
    printf '  %-34s %4d s\n' "in all" "$SECONDS"
}
trap times EXIT

# A folder made here is made for Ninja; one made before keeps the generator it was made with.
generator() {
    [ -f "$1/CMakeCache.txt" ] || echo "-GNinja"
}

stage "layout and formatting"
"$here/scripts/check-layers.sh"
python3 "$here/scripts/measures.py"
(cd "$here" && git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror)
echo "Formatting: every file as .clang-format says."

stage "plain build ($build)"
cmake $(generator "$build") -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DKVT_UNITY=ON -DBUILD_TESTING=ON -DKVT_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs"
stage "plain tests"
(cd "$build" && ctest --output-on-failure -j "$jobs")

stage "the Debian package and lintian"
(cd "$build" && rm -f kvt-program_*.deb && cpack -G DEB >/dev/null && lintian --fail-on error kvt-program_*.deb)

stage "sanitizer build ($asan)"
# The benchmarks are built (and so checked) once, by the plain build.
cmake $(generator "$asan") -S "$here" -B "$asan" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DKVT_SANITIZE=ON \
    -DKVT_UNITY=ON -DBUILD_TESTING=ON -DKVT_BUILD_BENCH=OFF >/dev/null
cmake --build "$asan" -j "$jobs"
stage "sanitizer tests"
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp:print_suppressions=0"
(cd "$asan" && ctest --output-on-failure -j "$jobs")

stage "ThreadSanitizer build and tests"
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
"$here/scripts/tsan.sh" "${3:-build-tsan}"

stage "fuzzing, ${FUZZ_SECONDS:-15} s per target"
"$here/scripts/fuzz.sh" "${FUZZ_SECONDS:-15}"
stage ""
echo "== all tests passed, with and without sanitizers"
echo "The tests' output: $build/Testing/Temporary/LastTest.log (and the same under $asan and ${3:-build-tsan})."
