#!/usr/bin/env bash
# Checks that the program finds its shared libraries only where the system
# keeps them, never in the folder it is started from.
#
#   tests/hardening/check_search_path.sh PROGRAM [BINARY...]
#
# 1. PROGRAM and every other BINARY have no RPATH or RUNPATH (readelf).
# 2. PROGRAM is started from an empty temporary folder that holds a decoy of
#    each library PROGRAM names as NEEDED: a text file that the dynamic
#    loader cannot load, so the start fails if the loader ever picks one. On
#    the offscreen platform the program reports its first paint and exits 0;
#    the loader's trace (LD_DEBUG=libs) must show no attempt to open a file
#    in that folder or by a relative name.
#
# Prints one PASS or FAIL line per check; exits 1 when any check fails, 2 on
# bad usage.
set -uo pipefail

if (($# < 1)); then
    echo "usage: check_search_path.sh PROGRAM [BINARY...]" >&2
    exit 2
fi
program=$1
for binary in "$@"; do
    if [[ ! -f $binary ]]; then
        echo "check_search_path: no such file: $binary" >&2
        exit 2
    fi
done
if ! command -v readelf >/dev/null; then
    echo "check_search_path: readelf not found (Debian: apt-get install binutils)" >&2
    exit 2
fi

failures=0
pass() { printf 'PASS  %-26s %s\n' "$1" "$2"; }
fail() {
    printf 'FAIL  %-26s %s\n' "$1" "$2"
    failures=$((failures + 1))
}

for binary in "$@"; do
    search_path=$(LC_ALL=C readelf --dynamic --wide "$binary" | grep -E '\((RPATH|RUNPATH)\)' |
        sed -E 's/.*\((RPATH|RUNPATH)\)[^[]*/\1 /')
    if [[ -z $search_path ]]; then
        pass "no RPATH/RUNPATH" "${binary##*/}"
    else
        fail "no RPATH/RUNPATH" "${binary##*/}: $search_path"
    fi
done

program=$(realpath "$program")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
start_dir=$work/start
mkdir "$start_dir" "$work/trace"
mapfile -t needed < <(LC_ALL=C readelf --dynamic --wide "$program" |
    sed -nE 's/.*\(NEEDED\).*\[(.*)\]$/\1/p')
if ((${#needed[@]} == 0)); then
    fail "decoy libraries" "readelf lists no NEEDED library of $program"
fi
for library in "${needed[@]}"; do
    echo "decoy: not a shared library" >"$start_dir/$library"
done

(
    cd "$start_dir" &&
        env -u LD_LIBRARY_PATH -u LD_PRELOAD -u DISPLAY -u WAYLAND_DISPLAY \
            QT_QPA_PLATFORM=offscreen GALEVANE_REPORT_FIRST_PAINT=1 \
            LD_DEBUG=libs LD_DEBUG_OUTPUT="$work/trace/ld" \
            timeout 60 "$program" >"$work/stdout" 2>"$work/stderr"
)
status=$?
if ((status == 0)) && grep -q '^first-paint-ns [0-9]' "$work/stdout"; then
    pass "start beside decoys" "exit status 0, first paint reported (decoys: ${needed[*]})"
else
    fail "start beside decoys" "exit status $status; the program said: $(head -c 400 "$work/stderr")"
fi

# The loader's trace has one "trying file=PATH" line per file it tries to
# open; every one must be an absolute path outside the start folder.
tried=$(cat "$work"/trace/ld.* 2>/dev/null | sed -nE 's/.*trying file=(.*)$/\1/p')
if [[ -z $tried ]]; then
    fail "loader trace" "LD_DEBUG=libs gave no trace to read"
else
    strays=$(grep -Ev '^/' <<<"$tried"; grep -F "$start_dir/" <<<"$tried")
    if [[ -z $strays ]]; then
        pass "loader trace" "$(grep -c . <<<"$tried") files tried, none in the start folder"
    else
        fail "loader trace" "tried in the start folder: $(sort -u <<<"$strays" | head -5 | paste -sd' ' -)"
    fi
fi

if ((failures)); then
    echo "check_search_path: $failures check(s) failed"
    exit 1
fi
echo "check_search_path: all checks passed"
