#!/usr/bin/env bash
# Makes sure the Debian packages that a command needs are present: `deps.sh run` for building
# and running the program (make run, make install), `deps.sh package` for its Debian package,
# `deps.sh test` (the default) for the whole suite. Run as root it installs what is missing with
# apt-get; otherwise it names the packages and fails.
set -euo pipefail
need=${1:-test}

packages=(
    cmake make g++ pkg-config
    qt6-base-dev            # Core, Gui, Widgets and the offscreen/xcb platforms
    qt6-charts-dev          # the plot of the program preview
    libqt6opengl6-dev       # which Qt Charts' CMake package requires
    qt6-translations-l10n   # Qt's own texts (file dialogs, standard buttons) in Russian
    fonts-dejavu-core       # readable captions offscreen and on a bare X server
    libtelnet-dev           # the Telnet framing of a controller on the network (rfc2217://)
)
if [ "$need" = package ] || [ "$need" = test ]; then
    packages+=(
        dpkg-dev            # make package: the Debian package's library dependencies
        appstream           # the metainfo file is validated
        lintian             # the package is checked
    )
fi
if [ "$need" = test ]; then
    packages+=(
        clang-format            # make test checks the formatting
        ninja-build             # and builds with Ninja, which keeps both cores busy across targets
        python3                 # and measures the code's shape (scripts/measures.py)
        libgtest-dev            # unit, window and end-to-end tests
        clang libclang-rt-14-dev # the libFuzzer target of the reply handler
        desktop-file-utils      # the install test validates the menu entry
        ser2net                 # the real network server in front of the simulator
        python3-serial          # pyserial, which the network benchmark compares with
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root, then run the command again:" >&2
    echo "    sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
