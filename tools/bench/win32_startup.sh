#!/usr/bin/env bash
# Start-up of the Windows program against two floors, under Wine: the plain
# Win32 window, and the same window holding the main window's standard
# controls. Runs alternate, on one X server and one running wineserver, so
# that every program meets the same warm Wine.
#
#   tools/bench/win32_startup.sh <build folder> [pairs]
#
# The build folder is a Windows build with GALEVANE_BENCHMARKS=ON (see
# README.md). Prints each program's median time from process creation to the
# end of its first paint, and each one's ratio to the plain window.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?usage: win32_startup.sh <build folder> [pairs]}" && pwd)
pairs=${2:-15}

if [[ ${GALEVANE_BENCH_HOST:-} != 1 ]]; then
    arch=win32
    file "$build/app/galevane.exe" | grep -q x86-64 && arch=win64
    GALEVANE_BENCH_HOST=1 GALEVANE_WINEARCH=$arch GALEVANE_WINE_TIMEOUT=$((pairs * 30 + 60)) \
        GALEVANE_WINEPREFIX=${GALEVANE_WINEPREFIX:-$build/wineprefix} \
        exec "$here/tests/wine/run-under-wine.sh" --host "${BASH_SOURCE[0]}" "$build" "$pairs"
fi

# Inside the wrapper: DISPLAY and the Wine prefix are set, GALEVANE_WINE
# starts a Windows program.
first_paint_us() {
    GALEVANE_REPORT_FIRST_PAINT=- "$GALEVANE_WINE" "$1" 2>/dev/null |
        tr -d '\r' | awk '/^first-paint-since-creation-us/ {print $2}'
}
median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

program=$build/app/galevane.exe
floor=$build/tools/bench/plain_win32_window.exe
controls=$build/tools/bench/standard_controls_window.exe
# A warm-up of each: the file cache and Wine's own start.
first_paint_us "$program" >/dev/null
first_paint_us "$floor" >/dev/null
first_paint_us "$controls" >/dev/null
galevane=() plain=() standard=()
for ((i = 0; i < pairs; ++i)); do
    galevane+=("$(first_paint_us "$program")")
    plain+=("$(first_paint_us "$floor")")
    standard+=("$(first_paint_us "$controls")")
done
g=$(printf '%s\n' "${galevane[@]}" | median)
p=$(printf '%s\n' "${plain[@]}" | median)
c=$(printf '%s\n' "${standard[@]}" | median)
report() { awk -v name="$1" -v t="$2" -v p="$p" -v n="$3" \
    'BEGIN {printf "%-26s median first paint %4d ms (%d runs)  %.2f x plain\n", name, t / 1000, n, t / p}'; }
report "galevane.exe" "$g" "${#galevane[@]}"
report "standard controls window" "$c" "${#standard[@]}"
report "plain Win32 window" "$p" "${#plain[@]}"
