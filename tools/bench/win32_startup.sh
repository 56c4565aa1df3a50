#!/usr/bin/env bash
# Start-up of the Windows program against two floors, under Wine: the plain
# Win32 window, and the same window holding the main window's standard
# controls. Runs alternate, on one X server and one running wineserver, so
# that every program meets the same warm Wine.
#
#   tools/bench/win32_startup.sh <build folder> [rounds]
#
# The build folder is a Windows build with GALEVANE_BENCHMARKS=ON (see
# README.md). Prints each program's median time from process creation to the
# end of its first paint, and each one's ratio to the plain window.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?usage: win32_startup.sh <build folder> [rounds]}" && pwd)
rounds=${2:-15}

if [[ ${GALEVANE_BENCH_HOST:-} != 1 ]]; then
    arch=win32
    file "$build/app/galevane.exe" | grep -q x86-64 && arch=win64
    GALEVANE_BENCH_HOST=1 GALEVANE_WINEARCH=$arch GALEVANE_WINE_TIMEOUT=$((rounds * 30 + 60)) \
        GALEVANE_WINEPREFIX=${GALEVANE_WINEPREFIX:-$build/wineprefix} \
        exec "$here/tests/wine/run-under-wine.sh" --host "${BASH_SOURCE[0]}" "$build" "$rounds"
fi

# Inside the wrapper: DISPLAY and the Wine prefix are set, GALEVANE_WINE
# starts a Windows program.
first_paint_us() {
    GALEVANE_REPORT_FIRST_PAINT=- "$GALEVANE_WINE" "$1" 2>/dev/null |
        tr -d '\r' | awk '/^first-paint-since-creation-us/ {print $2}'
}
median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2] + v[NR/2+1]) / 2}'; }

# The program and its floors, the plain window last: the ratios are to it.
names=("galevane.exe" "standard controls window" "plain Win32 window")
programs=("$build/app/galevane.exe" "$build/tools/bench/standard_controls_window.exe"
    "$build/tools/bench/plain_win32_window.exe")
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
# A warm-up of each: the file cache and Wine's own start.
for program in "${programs[@]}"; do first_paint_us "$program" >/dev/null; done
for ((i = 0; i < rounds; ++i)); do
    for k in "${!programs[@]}"; do first_paint_us "${programs[k]}" >>"$results/$k"; done
done
plain=$(median <"$results/$((${#programs[@]} - 1))")
for k in "${!programs[@]}"; do
    median <"$results/$k" | awk -v name="${names[k]}" -v p="$plain" -v n="$(wc -l <"$results/$k")" \
        '{printf "%-26s median first paint %4d ms (%d runs)  %.2f x plain\n", name, $1 / 1000, n, $1 / p}'
done
