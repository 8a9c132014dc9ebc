#!/usr/bin/env bash
# Makes the README's screenshots from the real program, offscreen: the simple mode, the extended
# mode with a program of two channels, and its preview, in English and Russian (docs/*.png).
#
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
cmake -S "$here" -B "$build" -DBUILD_TESTING=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target kvt_screenshots
for language in en ru; do
    QT_QPA_PLATFORM=offscreen "$build/tests/kvt_screenshots" "$here/docs" "$language" 2>/dev/null
done
ls "$here"/docs/*.png
