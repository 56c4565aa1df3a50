#!/usr/bin/env bash
# Runs a Windows program under Wine with no one at the screen, and exits with
# the program's exit status.
#
#   run-under-wine.sh [options] <program.exe> [arguments...]
#   run-under-wine.sh [options] --host <linux program> [arguments...]
#
# --host runs a Linux program instead (a script that drives a Windows program
# with xdotool, takes screenshots with `import -window root`, ...) in the same
# set-up: it finds DISPLAY and the Wine variables (WINEPREFIX, WINEDEBUG, ...)
# in its environment, and GALEVANE_WINE naming the Wine loader to start the
# Windows program with ("$GALEVANE_WINE" galevane.exe &).
#
# Options, each also settable through the environment:
#   --prefix DIR   GALEVANE_WINEPREFIX   the Wine prefix to use; see below
#   --dpi N        GALEVANE_WINE_DPI     screen resolution the program sees
#                                        (96, 120, 144, 192, ...); default 96
#   --timeout S    GALEVANE_WINE_TIMEOUT seconds before the program is
#                                        stopped (exit status 124); default 120
#   --host                               see above; the prefix's architecture
#                                        then comes from GALEVANE_WINEARCH
#                                        (win32, the default, or win64)
#   GALEVANE_WINE_XSERVER  auto (default): use $DISPLAY if an X server answers
#                          there, else start Xvfb and openbox through
#                          tests/realx/run-under-openbox.sh (its screen size is
#                          GALEVANE_SCREEN_SIZE). own: always start them, unless
#                          DISPLAY is already one that wrapper started.
#   GALEVANE_WINEDEBUG     WINEDEBUG for the program (default -all)
#
# The prefix. Without --prefix or GALEVANE_WINEPREFIX it is "wineprefix" in the
# build tree the program lies in (the nearest folder above it holding
# CMakeCache.txt), so each build tree creates its prefix once, on first use
# (wineboot takes a while), and keeps it. Its architecture follows the
# program: a 32-bit (i386) program gets a 32-bit prefix (WINEARCH=win32), an
# x86-64 one a 64-bit prefix. Creation happens under a lock, so parallel runs
# wait for it instead of racing; it is redone when tests/wine/prefix-settings.reg
# or the Wine version changes.
#
# Runs of one prefix take turns: the whole run holds the prefix's lock, because
# runs share its wineserver and the run's end stops that wineserver with every
# process left in it. The resolution is therefore set per run, under the lock,
# in the prefix's registry (only when it differs from the last run's). Runs
# that should go in parallel need prefixes of their own.
#
# A program run from inside a --host program through this wrapper again, on
# the same prefix, simply runs: the outer run holds the lock and cleans up.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
self="$here/$(basename "${BASH_SOURCE[0]}")"
all_args=("$@")

usage() {
    sed -n '2,/^set -euo/p' "$self" | sed '$d; s/^# \{0,1\}//' >&2
    exit 2
}
fail() {
    echo "run-under-wine: $*" >&2
    exit 2
}

prefix=${GALEVANE_WINEPREFIX:-}
dpi=${GALEVANE_WINE_DPI:-96}
timeout_s=${GALEVANE_WINE_TIMEOUT:-120}
host=0
while (($#)); do
    case $1 in
    --prefix) prefix=${2:?}; shift 2 ;;
    --dpi) dpi=${2:?}; shift 2 ;;
    --timeout) timeout_s=${2:?}; shift 2 ;;
    --host) host=1; shift ;;
    --) shift; break ;;
    -h | --help) usage ;;
    -*) fail "unknown option $1 (--help lists them)" ;;
    *) break ;;
    esac
done
(($#)) || usage
program=$1
shift
[[ $dpi =~ ^[0-9]+$ ]] && ((dpi >= 48 && dpi <= 480)) || fail "bad resolution: $dpi"
[[ $timeout_s =~ ^[0-9]+$ ]] || fail "bad timeout: $timeout_s"
if ((host)); then
    command -v "$program" >/dev/null || fail "no such program: $program"
else
    [[ -f $program ]] || fail "no such program: $program"
fi

# An X server first: everything below, prefix creation included, runs on it.
harness_display=0
[[ -n ${GALEVANE_HARNESS_DISPLAY:-} && ${DISPLAY:-} == "$GALEVANE_HARNESS_DISPLAY" ]] &&
    harness_display=1
case ${GALEVANE_WINE_XSERVER:-auto} in
auto) ((harness_display)) || { [[ -n ${DISPLAY:-} ]] && xdpyinfo >/dev/null 2>&1; } ||
    exec "$here/../realx/run-under-openbox.sh" "$self" "${all_args[@]}" ;;
own) ((harness_display)) || exec "$here/../realx/run-under-openbox.sh" "$self" "${all_args[@]}" ;;
*) fail "GALEVANE_WINE_XSERVER must be auto or own" ;;
esac

# The prefix's architecture: the program's PE machine field, at the offset the
# DOS header's e_lfanew gives, plus 4.
pe_arch() {
    local offset machine
    offset=$(od -An -t u4 -j 60 -N 4 "$1" 2>/dev/null | tr -d ' ')
    [[ -n $offset ]] || return 1
    machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')
    case $machine in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) return 1 ;;
    esac
}
if ((host)); then
    arch=${GALEVANE_WINEARCH:-win32}
    [[ $arch == win32 || $arch == win64 ]] || fail "GALEVANE_WINEARCH must be win32 or win64"
else
    arch=$(pe_arch "$program") || fail "not an i386 or x86-64 Windows program: $program"
fi

# Debian's wine and wineserver scripts pick the 32-bit loader whenever wine32
# is installed, which cannot start 64-bit programs; wineserver64 serves both.
if [[ $arch == win32 ]]; then
    wine=${GALEVANE_WINE_LOADER:-$(command -v wine || true)}
else
    wine=${GALEVANE_WINE_LOADER:-$(command -v wine64 || echo /usr/lib/wine/wine64)}
fi
[[ -x $wine ]] || fail "no Wine loader for $arch (Debian: apt-get install wine wine32:i386 / wine64)"
wineserver=$(command -v wineserver || true)
[[ -x $wineserver ]] || fail "no wineserver"
if ! "$wine" --version >/dev/null 2>&1; then
    echo "run-under-wine: $wine does not run on this machine:" >&2
    "$wine" --version >&2 || true
    # Exec format error from 32-bit Wine: a kernel booted with
    # ia32_emulation=off (dmesg says so) starts no 32-bit Linux program.
    [[ $arch == win32 ]] && echo "run-under-wine: if this kernel runs no 32-bit programs," \
        "test the 64-bit build instead (presets windows-x64)" >&2
    exit 2
fi

if [[ -z $prefix ]]; then
    dir=$(cd "$(dirname "$program")" && pwd)
    while [[ $dir != / && ! -f $dir/CMakeCache.txt ]]; do
        dir=$(dirname "$dir")
    done
    [[ -f $dir/CMakeCache.txt ]] ||
        fail "$program is in no CMake build tree: give the prefix with --prefix or GALEVANE_WINEPREFIX"
    prefix=$dir/wineprefix
fi
mkdir -p "$(dirname "$prefix")"
prefix=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")

export WINEPREFIX=$prefix
export WINEARCH=$arch
export WINEDEBUG=${GALEVANE_WINEDEBUG:--all}
# No .NET or Gecko installer prompts and no desktop menu entries, already
# while wineboot creates the prefix (the registry says the same afterwards).
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export GALEVANE_WINE=$wine
export GALEVANE_WINESERVER=$wineserver
unset WINESERVER WINELOADER

run_program() {
    if ((host)); then
        timeout --kill-after=10 "$timeout_s" "$program" "$@" </dev/null
    else
        timeout --kill-after=10 "$timeout_s" "$wine" "$program" "$@" </dev/null
    fi
}

# Nested in a run of the same prefix: that run holds the lock and cleans up.
if [[ ${GALEVANE_WINE_ACTIVE_PREFIX:-} == "$prefix" ]]; then
    status=0
    run_program "$@" || status=$?
    exit $status
fi

exec 9>>"$prefix.lock"
flock -w "${GALEVANE_WINE_LOCK_TIMEOUT:-900}" 9 || fail "gave up waiting for the lock on $prefix"
export GALEVANE_WINE_ACTIVE_PREFIX=$prefix

stop_wineserver() {
    # -k ends every process of the prefix and the server; -w returns once the
    # server has gone, so its registry is written back before the lock opens.
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
}
trap stop_wineserver EXIT
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP

# Whatever a killed run left running goes first.
stop_wineserver

import_registry() {
    # regedit reads the file through Wine's Z: drive. Now and then it fails
    # at once, so it has three tries, each on a wineserver of its own; the
    # last one's words are shown.
    local try log=$prefix.regedit.log
    for try in 1 2 3; do
        timeout 120 "$wine" regedit /S "$1" </dev/null >"$log" 2>&1 && return 0
        stop_wineserver
    done
    cat "$log" >&2
    return 1
}

settings=$here/prefix-settings.reg
stamp_file=$prefix/.galevane-prefix
stamp="arch=$arch wine=$("$wine" --version) settings=$(sha1sum <"$settings" | cut -c1-40)"
if [[ ! -f $stamp_file || $(<"$stamp_file") != "$stamp" ]]; then
    echo "run-under-wine: creating the Wine prefix $prefix ($arch)" >&2
    start=$(date +%s.%N)
    rm -rf "$prefix"
    log=$prefix.wineboot.log
    if ! timeout 900 "$wine" wineboot --init </dev/null >"$log" 2>&1 || ! "$wineserver" -w; then
        cat "$log" >&2
        fail "wineboot failed in $prefix"
    fi
    import_registry "$settings" || fail "could not import $settings"
    "$wineserver" -w
    rm -f "$prefix/.galevane-dpi"
    echo "$stamp" >"$stamp_file"
    echo "run-under-wine: created $prefix in $(date +%s.%N | awk -v s="$start" '{printf "%.1f", $1 - s}') s" >&2
fi

# Wine 8 takes the resolution from HKCU\Control Panel\Desktop\LogPixels and,
# only when that is absent, from the current hardware profile's
# Software\Fonts\LogPixels (HKEY_CURRENT_CONFIG); both are written, so that
# neither a value left behind nor a program reading the old place disagrees.
if [[ ! -f $prefix/.galevane-dpi || $(<"$prefix/.galevane-dpi") != "$dpi" ]]; then
    dpi_reg=$prefix/.galevane-dpi.reg
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n\n[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts]\n"LogPixels"=dword:%08x\n' \
        "$dpi" "$dpi" >"$dpi_reg"
    import_registry "$dpi_reg" || fail "could not set the resolution to $dpi"
    echo "$dpi" >"$prefix/.galevane-dpi"
fi

status=0
run_program "$@" || status=$?
((status == 124)) && echo "run-under-wine: $program stopped after ${timeout_s} s" >&2
exit $status
