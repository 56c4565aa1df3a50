#!/usr/bin/env bash
# Start-up of the Windows program against the plain Win32 floor, under Wine:
# paired runs, alternating, on one X server and one running wineserver, so
# that both programs meet the same warm Wine.
#
#   tools/bench/win32_startup.sh <build folder> [pairs]
#
# The build folder is a Windows build with GALEVANE_BENCHMARKS=ON (see
# README.md). Prints each program's median time from process creation to the
# end of its first paint, and the ratio.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?usage: win32_startup.sh <build folder> [pairs]}" && pwd)
pairs=${2:-15}

if [[ ${GALEVANE_BENCH_HOST:-} != 1 ]]; then
    arch=win32
    file "$build/app/galevane.exe" | grep -q x86-64 && arch=win64
    GALEVANE_BENCH_HOST=1 GALEVANE_WINEARCH=$arch GALEVANE_WINE_TIMEOUT=$((pairs * 20 + 60)) \
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
# A warm-up of each: the file cache and Wine's own start.
first_paint_us "$program" >/dev/null
first_paint_us "$floor" >/dev/null
galevane=() plain=()
for ((i = 0; i < pairs; ++i)); do
    galevane+=("$(first_paint_us "$program")")
    plain+=("$(first_paint_us "$floor")")
done
g=$(printf '%s\n' "${galevane[@]}" | median)
p=$(printf '%s\n' "${plain[@]}" | median)
echo "galevane.exe         median first paint $((${g%.*} / 1000)) ms (${#galevane[@]} runs)"
echo "plain Win32 window   median first paint $((${p%.*} / 1000)) ms (${#plain[@]} runs)"
awk -v g="$g" -v p="$p" 'BEGIN {printf "ratio %.3f\n", g / p}'
