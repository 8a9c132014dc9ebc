#!/usr/bin/env bash
# Starts the controller simulator on a pseudo-terminal linked as COM1 of the build's program
# folder, then the program; the simulator ends when the program exits.
set -euo pipefail
build=${1:-build}
bin="$build/bin"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "make run needs a display (DISPLAY is not set). On a machine without one, try:" >&2
    echo "    xvfb-run -a make run" >&2
    exit 1
fi

"$build/tools/kvtsim/kvtsim" --link "$bin/ports/COM1" &
sim=$!
trap 'kill $sim 2>/dev/null || true; wait $sim 2>/dev/null || true' EXIT
# The program opens COM1 at start: wait until the simulator has linked it.
for _ in $(seq 1 100); do
    [ -L "$bin/ports/COM1" ] && break
    sleep 0.05
done
status=0
"$bin/KVT_Program" || status=$?
folder=$(cd "$bin" && pwd)
echo "The program folder: $folder (settings in Data, work.log and port.log in Log, programs in Users)."
exit $status
