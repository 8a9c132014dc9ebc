#!/usr/bin/env bash
# The program as an operator gets it: installed into a temporary prefix with its simulator, its
# manual pages, its licence terms and its metainfo, its menu entry valid, its command line
# answered without a display, then started offscreen by a user who has no program folder yet (on
# a device given for this start, where the controller simulator answers), and ended as a logout
# ends it; then a first start that finds the one USB adapter plugged in and links port 1 to it.
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
# Waits up to a minute until process $1 holds the device $2 open (read from /proc, without
# touching the device).
await_held() {
    local target
    target=$(readlink -f "$2")
    for _ in $(seq 600); do
        for fd in /proc/"$1"/fd/*; do
            [ "$(readlink -f "$fd" 2>/dev/null)" = "$target" ] && return 0
        done
        sleep 0.1
    done
    fail "process $1 never opened $2"
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
for f in bin/KVT_Program bin/kvtctl bin/kvtsim share/man/man1/KVT_Program.1.gz share/man/man1/kvtctl.1.gz \
    share/man/man1/kvtsim.1.gz share/doc/kvt-program/copyright share/doc/kvt-program/changelog.gz \
    share/metainfo/kvt-program.metainfo.xml share/mime/packages/kvt-program.xml \
    share/applications/kvt-program.desktop \
    share/icons/hicolor/scalable/apps/kvt-program.svg share/kvt-program/lang/lang.lng \
    share/kvt-program/lang/en/enext.lng share/kvt-program/lang/ru/ruf1.lng; do
    [ -f "$prefix/$f" ] || fail "the installation lacks $f"
done
desktop-file-validate "$prefix/share/applications/kvt-program.desktop" || fail "the menu entry is not valid"
grep -qx 'Exec=KVT_Program %f' "$prefix/share/applications/kvt-program.desktop" || fail "Exec"
grep -qx 'Icon=kvt-program' "$prefix/share/applications/kvt-program.desktop" || fail "Icon"
grep -qx 'MimeType=application/x-kvt-program;' "$prefix/share/applications/kvt-program.desktop" || fail "MimeType"
grep -q 'pattern="\*.kvt"' "$prefix/share/mime/packages/kvt-program.xml" || fail "the .kvt type"
appstreamcli validate --no-net "$prefix/share/metainfo/kvt-program.metainfo.xml" >"$work/appstream" 2>&1 ||
    fail "the metainfo is not valid: $(cat "$work/appstream")"
grep -q 'GNU GENERAL PUBLIC LICENSE' "$(dirname "$0")/../../LICENSE" || fail "no licence text"
grep -q '^License: GPL-3.0-or-later' "$prefix/share/doc/kvt-program/copyright" || fail "copyright"
for page in KVT_Program kvtctl kvtsim; do
    gzip -dc "$prefix/share/man/man1/$page.1.gz" | grep -q '^\.SH NAME' || fail "man page $page"
done
env -u DISPLAY "$prefix/bin/kvtsim" --help 2>&1 | grep -q -- '--link PATH' || fail "kvtsim --help"

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
"$prefix/bin/kvtsim" --link "$folder/ports/COM7" >/dev/null 2>&1 &
sim=$!
await "$folder/ports/COM7"
touch "$work/before"
# The device itself, as a Linux user names it (--port with a path is --device).
device=$(readlink "$folder/ports/COM7")
HOME=$home XDG_DATA_HOME="" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen KVT_SERIAL_BY_ID="$work/none" \
    "$program" --port "$device" >"$work/out" 2>&1 &
pid=$!
await "$folder/Data/erp.dat"
cp "$folder/Data/portp.dat" "$work/portp.dat"
touch "$work/started"
# The program opened the device it was given, and holds it: a script is refused it. The folder
# was made whole before the port is opened (the settings files first, then the languages).
await_held "$pid" "$device"
for sub in Data Log Users ports lang/en lang/ru; do
    [ -d "$folder/$sub" ] || fail "the user's folder lacks $sub"
done
cmp -s "$folder/lang/ru/ruext.lng" "$prefix/share/kvt-program/lang/ru/ruext.lng" || fail "languages not copied"
status=0
HOME=$home XDG_DATA_HOME="" env -u DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/kvtctl" --device "$device" \
    command ST1 >"$work/held" 2>&1 || status=$?
[ "$status" -eq 3 ] || fail "the device given was not held by the program (kvtctl: $status, $(cat "$work/held"))"

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
kill "$sim" 2>/dev/null
wait "$sim" 2>/dev/null || true
sim=""

# A first start with one USB serial adapter plugged in (a stand-in by-id folder naming the
# simulator's terminal): port 1 is linked to it by its stable name, opened, and the log says so.
home2=$work/home2
folder2=$home2/.local/share/KVT_Program
mkdir -p "$work/by-id"
"$prefix/bin/kvtsim" --link "$work/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0" >/dev/null 2>&1 &
sim=$!
await "$work/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"
HOME=$home2 XDG_DATA_HOME="" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen KVT_SERIAL_BY_ID="$work/by-id" \
    "$program" >"$work/out2" 2>&1 &
pid=$!
await "$folder2/Data/erp.dat"
await "$folder2/ports/COM1" # linked after the folder is made
[ "$(readlink "$folder2/ports/COM1")" = "$work/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0" ] ||
    fail "port 1 was not linked to the one adapter: $(ls -l "$folder2/ports")"
await_held "$pid" "$folder2/ports/COM1"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the first start ended with status $status: $(cat "$work/out2")"
echo "install test passed"
