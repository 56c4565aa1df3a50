#!/usr/bin/env bash
# Starts the real program, reads the WM_CLASS of its main window and checks
# that its class is the StartupWMClass of the desktop entry the build
# installs: that is how a desktop shell ties the window to its menu entry,
# icon and launch notification. Then ends the program.
#   check_wm_class.sh <galevane binary> <desktop entry>   (run under run-under-openbox.sh)
set -euo pipefail
program=$1
entry=$2

wanted=$(sed -n 's/^StartupWMClass=//p' "$entry")
if [[ -z $wanted ]]; then
    echo "wm class: $entry has no StartupWMClass" >&2
    exit 1
fi

"$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT

window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Galevane$' | head -n 1 || true)
if [[ -z $window ]]; then
    echo "wm class: no window named Galevane appeared" >&2
    exit 1
fi
# WM_CLASS(STRING) = "<instance>", "<class>"
property=$(xprop -id "$window" WM_CLASS)
echo "$property"
class=$(sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p' <<<"$property")

if [[ $class != "$wanted" ]]; then
    echo "wm class: the main window's class is '$class', the desktop entry's StartupWMClass '$wanted'" >&2
    exit 1
fi
echo "wm class: '$class' is the desktop entry's StartupWMClass"
