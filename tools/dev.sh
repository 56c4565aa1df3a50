#!/usr/bin/env bash
# Sets up a Debian 12 machine for Galevane, builds it, and then either starts
# the program or runs every test.
#
#   tools/dev.sh run    install what is missing, build, start the program
#   tools/dev.sh test   install what is missing, build, run every test: the
#                       Linux build's, then the Windows build's under Wine
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
    python3 xvfb xauth openbox x11-utils xdotool imagemagick
    qt6ct qt6-gtk-platformtheme adwaita-qt6
    clang libclang-rt-14-dev clang-format
    gcc-mingw-w64-i686 binutils-mingw-w64-i686 python3-pefile
    desktop-file-utils appstream dpkg-dev file
    dbus-daemon dbus-bin at-spi2-core python3-pyatspi gir1.2-atspi-2.0
    weston xwayland
)
# The Windows program, cross-built, and Wine to test it. 32-bit Wine runs
# only where the kernel runs 32-bit Linux programs (see windows_test_preset).
# wixl and msitools build the installer and read it back.
windows_packages=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64
    wixl msitools
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
    need_root "${missing[@]}"
    echo "galevane: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq </dev/null >/dev/null
    apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
}

need_root() {
    if ((EUID != 0)); then
        echo "galevane: these Debian packages are missing: ${missing[*]}" >&2
        echo "galevane: run this command as root, or install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
}

# Whether this kernel starts 32-bit x86 programs: some are booted without
# 32-bit emulation, and 32-bit Wine cannot start there. Asked of a minimal
# 32-bit Linux program that only exits.
runs_32bit_programs() {
    local probe status
    probe=$(mktemp)
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\x31\xc0\x40\xcd\x80' >"$probe"
    chmod +x "$probe"
    status=0
    "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    return "$status"
}

# The preset whose Wine tests run here: the 32-bit program as shipped, with
# 32-bit Wine (the i386 architecture added for it); or, on a kernel without
# 32-bit programs, the same sources built for x86-64 under wine64.
windows_test_preset() {
    if runs_32bit_programs; then
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
            need_root wine32:i386
            dpkg --add-architecture i386
        fi
        install_missing wine32:i386
        echo windows
    else
        echo windows-x64
    fi
}

build() {
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" "$@"
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
    install_missing "${windows_packages[@]}"
    wine_preset=$(windows_test_preset)
    # Sanitizer build first; then the Windows program as shipped (32-bit),
    # its checks that need no Wine, and the Wine tests on the preset this
    # machine can run; last the release build with warnings as errors, whose
    # test summary closes the run. The Wine tests mostly wait on windows, so
    # the release build compiles meanwhile, at the lowest priority.
    build asan --target sanitized_tests
    ctest --preset asan -L sanitized --no-label-summary
    build windows
    if [[ $wine_preset != windows ]]; then
        ctest --preset windows -LE wine --no-label-summary
        build windows-x64
    fi
    cmake --preset ci >/dev/null
    release_log=build/ci-build.log
    nice -n 19 cmake --build --preset ci >"$release_log" 2>&1 &
    release_build=$!
    wine_status=0
    if [[ $wine_preset == windows ]]; then
        ctest --preset windows --no-label-summary || wine_status=$?
    else
        ctest --preset windows-x64 -L wine --no-label-summary || wine_status=$?
    fi
    release_status=0
    wait "$release_build" || release_status=$?
    cat "$release_log"
    ((wine_status == 0 && release_status == 0)) || exit 1
    ctest --preset ci --no-label-summary
    ;;
*)
    echo "usage: tools/dev.sh run | test" >&2
    exit 2
    ;;
esac
