#!/usr/bin/env bash
# Drives the real program through the accessibility bus alone (AT-SPI, as a
# screen reader would): the "Press" actions of the "© Quayforth" labels and
# of the OK, Help and Exit buttons. The checks are in atspi_press.py, or in
# the script named second (atspi_reading.py: what a screen reader reads).
#   atspi_press.sh <galevane binary> [checks script]   (under run-under-openbox.sh)
#
# Starts a private session bus (dbus-run-session), the accessibility bus on
# it (at-spi-bus-launcher), then the program; ends what it started again.
# Exits with the status of the checks: 0 only if every check passes.
set -euo pipefail
[[ -n ${GALEVANE_TRACE:-} ]] && set -x

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=/usr/bin/python3 # Debian's, which has gi and pyatspi
launcher=/usr/libexec/at-spi-bus-launcher

if [[ ${1:-} != --in-session ]]; then
    [[ $# -eq 1 || $# -eq 2 ]] || { echo "usage: $0 <galevane binary> [checks script]" >&2; exit 2; }
    program=$(realpath "$1")
    [[ -x $program ]] || { echo "atspi press: no program at $1" >&2; exit 2; }
    checks=$(realpath "${2:-$here/atspi_press.py}")
    [[ -f $checks ]] || { echo "atspi press: no checks script at $2" >&2; exit 2; }
    for tool in dbus-run-session dbus-send "$launcher" "$python"; do
        command -v "$tool" >/dev/null || { echo "atspi press: $tool is missing" >&2; exit 2; }
    done
    workdir=$(mktemp -d)
    trap 'rm -rf "$workdir"' EXIT
    # The session bus daemon's own chatter goes to a log, shown on failure;
    # the script inside gets this stderr back as file descriptor 3.
    status=0
    dbus-run-session -- "$0" --in-session "$workdir" "$program" "$checks" \
        3>&2 2>"$workdir/session-bus.log" || status=$?
    if ((status != 0)) && [[ -s $workdir/session-bus.log ]]; then
        echo "--- session bus log ---"
        cat "$workdir/session-bus.log"
    fi
    exit "$status"
fi

# From here on inside the private session bus.
exec 2>&3 3>&-
workdir=$2
program=$3
checks=$4

launcher_pid=""
program_pid=""
watcher_pid=""
# shellcheck disable=SC2317 # run by the trap
cleanup() {
    # The program first (if the checks did not end it), then the bus.
    if [[ -n $program_pid ]] && [[ ! -e $workdir/program.status ]]; then
        kill "$program_pid" 2>/dev/null || true
        for _ in $(seq 50); do
            [[ -e $workdir/program.status ]] && break
            sleep 0.1
        done
        [[ -e $workdir/program.status ]] || kill -KILL "$program_pid" 2>/dev/null || true
    fi
    [[ -n $watcher_pid ]] && { wait "$watcher_pid" 2>/dev/null || true; }
    if [[ -n $launcher_pid ]]; then
        kill "$launcher_pid" 2>/dev/null || true
        wait "$launcher_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

show_logs() {
    local log
    for log in launcher program; do
        if [[ -s $workdir/$log.log ]]; then
            echo "--- $log log ---"
            cat "$workdir/$log.log"
        fi
    done
}

session_call() { # destination path method [arguments...]
    dbus-send --session --print-reply=literal --dest="$1" "$2" "$3" "${@:4}" 2>/dev/null
}

# The accessibility bus. Started here rather than left to D-Bus activation,
# so that its life is this script's. Ask for its address only once it owns
# its name: asking earlier would have the session bus start a second one.
"$launcher" --launch-immediately >"$workdir/launcher.log" 2>&1 &
launcher_pid=$!
address=""
for _ in $(seq 100); do
    if session_call org.freedesktop.DBus /org/freedesktop/DBus \
            org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q true; then
        address=$(session_call org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress || true)
        [[ $address == *unix:* ]] && break
    fi
    kill -0 "$launcher_pid" 2>/dev/null || break
    sleep 0.1
done
if [[ $address != *unix:* ]]; then
    echo "FAIL the accessibility bus did not come up (org.a11y.Bus address: '${address}')"
    show_logs
    echo "atspi press: 0 passed, 1 failed"
    exit 1
fi

# The program, watched by a subshell that records how it ended; the checks
# read that record after pressing Exit.
(
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >"$workdir/program.log" 2>&1 &
    echo $! >"$workdir/program.pid.new"
    mv "$workdir/program.pid.new" "$workdir/program.pid"
    status=0
    wait $! || status=$?
    echo "$status" >"$workdir/program.status.new"
    mv "$workdir/program.status.new" "$workdir/program.status"
) &
watcher_pid=$!
for _ in $(seq 100); do
    [[ -e $workdir/program.pid ]] && break
    sleep 0.05
done
program_pid=$(cat "$workdir/program.pid")

status=0
"$python" "$checks" --pid "$program_pid" \
    --status-file "$workdir/program.status" || status=$?

if ((status != 0)); then
    show_logs
fi
exit "$status"
