#!/usr/bin/env bash
# Runs a test program on a real X server (Xvfb) with a real window manager
# (openbox), both started here and stopped again, touching no other process.
#   run-under-openbox.sh <program> [arguments...]
# The screen is 1280x1024 unless GALEVANE_SCREEN_SIZE gives another size
# (WIDTHxHEIGHT).
set -euo pipefail

screen_size=${GALEVANE_SCREEN_SIZE:-1280x1024}
[[ $screen_size =~ ^[0-9]+x[0-9]+$ ]] || { echo "bad screen size: $screen_size" >&2; exit 2; }

workdir=$(mktemp -d)
xvfb_pid=""
wm_pid=""
cleanup() {
    [[ -n $wm_pid ]] && kill "$wm_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$workdir"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to fd 3 once it
# accepts connections, so parallel runs never race for the same number.
Xvfb -displayfd 3 -screen 0 "${screen_size}x24" -nolisten tcp -noreset \
    3>"$workdir/display" >"$workdir/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $workdir/display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
display=":$(head -n 1 "$workdir/display" 2>/dev/null)"
[[ $display =~ ^:[0-9]+$ ]] || { echo "Xvfb did not start" >&2; cat "$workdir/xvfb.log" >&2; exit 1; }
DISPLAY=$display xdpyinfo >/dev/null 2>&1 || { cat "$workdir/xvfb.log" >&2; exit 1; }

HOME=$workdir DISPLAY=$display openbox --sm-disable >"$workdir/openbox.log" 2>&1 &
wm_pid=$!
# The window manager owns the screen once it holds the WM_S0 selection.
for _ in $(seq 100); do
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done

status=0
# GALEVANE_HARNESS_DISPLAY tells nested wrappers (tests/wine) that this
# display is the harness's own and may be used as it is.
env -u WAYLAND_DISPLAY DISPLAY="$display" GALEVANE_HARNESS_DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$workdir" \
    "$@" || status=$?
exit $status
