#!/usr/bin/env bash
# Sets up a Debian 12 machine for Galevane, builds it, and then either starts
# the program or runs every test.
#
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, build, run every test
#
# Both are safe to repeat: packages already installed are not touched, and
# nothing is printed about them.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$here"

build_packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev libxcb1-dev
    fonts-liberation2 fonts-comic-neue
)
test_packages=(
    python3 xvfb xauth openbox x11-utils xdotool
    clang libclang-rt-14-dev clang-format
    gcc-mingw-w64-i686 binutils-mingw-w64-i686 python3-pefile
    desktop-file-utils appstream dpkg-dev file
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi gir1.2-atspi-2.0
)

missing_packages() {
    local package status
    for package in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [[ $status == "install ok installed" ]] || printf '%s\n' "$package"
    done
}

install_missing() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    ((${#missing[@]} == 0)) && return 0
    if ((EUID != 0)); then
        echo "galevane: these Debian packages are missing: ${missing[*]}" >&2
        echo "galevane: run this command as root, or install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "galevane: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq </dev/null >/dev/null
    apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
}

build() {
    local preset=$1
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
}

case "${1:-}" in
run)
    install_missing "${build_packages[@]}"
    # The program alone: without the tests configured, none of the tools only
    # they need is looked for, and only the program is built.
    cmake --preset default -DBUILD_TESTING=OFF >/dev/null
    cmake --build --preset default --target galevane
    exec build/default/app/galevane
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    # Sanitizer build first, then the release build with warnings as errors,
    # whose test summary closes the run.
    build asan
    ctest --preset asan -L sanitized --no-label-summary
    build ci
    ctest --preset ci --no-label-summary
    ;;
*)
    echo "usage: tools/dev.sh run | test" >&2
    exit 2
    ;;
esac
