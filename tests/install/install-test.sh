#!/usr/bin/env bash
# The program as an operator gets it: installed into a temporary prefix, its menu entry valid,
# its command line answered without a display, then started offscreen by a user who has no
# program folder yet (on a port given for this start, where the controller simulator answers),
# and ended as a logout ends it.
#
#   install-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
pid="" sim=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    [ -n "$sim" ] && kill "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
# Waits up to a minute for a file to appear (the program's start on a busy machine).
await() {
    for _ in $(seq 600); do
        [ -e "$1" ] && return 0
        sleep 0.1
    done
    fail "$1 did not appear"
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/KVT_Program bin/kvtctl share/man/man1/kvtctl.1.gz share/applications/kvt-program.desktop \
    share/icons/hicolor/scalable/apps/kvt-program.svg share/kvt-program/lang/lang.lng \
    share/kvt-program/lang/en/enext.lng share/kvt-program/lang/ru/ruf1.lng; do
    [ -f "$prefix/$f" ] || fail "the installation lacks $f"
done
desktop-file-validate "$prefix/share/applications/kvt-program.desktop" || fail "the menu entry is not valid"
grep -qx 'Exec=KVT_Program' "$prefix/share/applications/kvt-program.desktop" || fail "Exec"
grep -qx 'Icon=kvt-program' "$prefix/share/applications/kvt-program.desktop" || fail "Icon"

program=$prefix/bin/KVT_Program
env -u DISPLAY -u QT_QPA_PLATFORM "$program" --version | grep -q '^KVT_Program [0-9]' || fail "--version"
env -u DISPLAY -u QT_QPA_PLATFORM "$program" --help | grep -q -- '--folder DIR' || fail "--help"
status=0
env -u DISPLAY "$program" --port 0 2>"$work/err" || status=$?
[ "$status" -eq 2 ] || fail "a bad port gave status $status"
grep -q 'Invalid port number "0"' "$work/err" || fail "no reason for the bad port: $(cat "$work/err")"

# A user's first start: the folder is made under the user's data directory.
home=$work/home
folder=$home/.local/share/KVT_Program
mkdir -p "$folder/ports"
"$build/tools/kvtsim/kvtsim" --link "$folder/ports/COM7" >/dev/null 2>&1 &
sim=$!
await "$folder/ports/COM7"
touch "$work/before"
HOME=$home XDG_DATA_HOME="" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen "$program" --port 7 \
    >"$work/out" 2>&1 &
pid=$!
await "$folder/Data/prp.dat"
for sub in Data Log Users ports lang/en lang/ru; do
    [ -d "$folder/$sub" ] || fail "the user's folder lacks $sub"
done
cmp -s "$folder/lang/ru/ruext.lng" "$prefix/share/kvt-program/lang/ru/ruext.lng" || fail "languages not copied"
await "$folder/Data/erp.dat"
cp "$folder/Data/portp.dat" "$work/portp.dat"
touch "$work/started"

# A logout: the program closes as from its window, saving its settings, and ends well.
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$work/out")"
[ "$folder/Data/prp.dat" -nt "$work/started" ] || fail "the settings were not saved on the way out"
cmp -s "$folder/Data/portp.dat" "$work/portp.dat" || fail "the port of one start was stored"
[ -z "$(find "$prefix" -newer "$work/before")" ] || fail "the program wrote into its installation"
# A script on a rig with no display: write a program, verify it, start it and wait for it, on
# the user's folder the program made, through the same port.
ctl=$prefix/bin/kvtctl
env -u DISPLAY -u QT_QPA_PLATFORM "$ctl" --help | grep -q '^  send FILE' || fail "kvtctl --help"
printf 'LD1\nBG\nSD400\nMV200\nEN\nED\n' >"$work/rig.txt"
run_ctl() { HOME=$home XDG_DATA_HOME="" env -u DISPLAY -u QT_QPA_PLATFORM "$ctl" --port 7 "$@"; }
run_ctl send --plain "$work/rig.txt" >"$work/ctl" 2>&1 || fail "kvtctl send: $(cat "$work/ctl")"
run_ctl verify --plain "$work/rig.txt" >"$work/ctl" 2>&1 || fail "kvtctl verify: $(cat "$work/ctl")"
run_ctl wait 1 --start --timeout 120 >"$work/ctl" 2>&1 || fail "kvtctl wait: $(cat "$work/ctl")"
echo "install test passed"
