#!/usr/bin/env bash
# Takes the real program through every window with real clicks and keys on
# an X server, then ends it with Exit. Built with the sanitizers, any memory
# error or leak makes the program fail at exit; this script also fails if the
# program does not end by itself with status 0.
#   memory_walk.sh <galevane binary>      (run under run-under-openbox.sh)
set -euo pipefail
[[ -n ${GALEVANE_TRACE:-} ]] && set -x
program=$1
log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$program" >"$log" 2>&1 &
pid=$!

main=$(xdotool search --sync --onlyvisible --name '^Galevane$' | head -n 1)
click() { # window x y   (client coordinates, in pixels)
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.4
}
key() { xdotool key --clearmodifiers "$1"; sleep 0.4; }
shown() { xdotool search --onlyvisible --name "^$1\$" >/dev/null; }
hidden() { ! shown "$1"; }
expect() { # what the user should see now
    "$@" || { echo "memory walk: expected '$*' at line ${BASH_LINENO[0]}" >&2; kill "$pid"; exit 1; }
}

sleep 0.5
key Down                              # a pick with the arrow key in Combo1
click "$main" 388 84                  # Help
help=$(xdotool search --sync --onlyvisible --name '^Form1$' | head -n 1)
expect shown Form1
click "$help" 161 192                 # (c) Quayforth on the help window
key Return                            # OK on the about window
click "$help" 30 30                   # the help window again
key space                             # OK on the help window
click "$main" 388 36                  # (c) Quayforth on the main window
key alt+F4                            # the about window closed by the window manager
click "$main" 44 60                   # Forecast Areas
expect shown "Forecast Areas"
expect hidden Galevane
key Return                            # Back
expect shown Galevane
click "$main" 44 60                   # Forecast Areas
key alt+F4                            # the map closed by the window manager
expect shown Galevane
expect hidden "Forecast Areas"
click "$main" 44 60                   # Forecast Areas, loaded afresh
key space                             # Back
key alt+x                             # Exit

status=0
for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end after Exit" >&2
    kill "$pid"
    status=1
fi
wait "$pid" || status=$?
cat "$log"
if grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' "$log"; then
    status=1
fi
echo "memory walk: exit status $status"
exit "$status"
