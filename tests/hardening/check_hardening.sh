#!/usr/bin/env bash
# Checks that a built executable carries the hardening of cmake/Hardening.cmake.
#
#   tests/hardening/check_hardening.sh BINARY
#
# Reads the ELF headers with readelf (binutils) and prints one PASS or FAIL
# line per check; exits 1 when any check fails, 2 on bad usage.
set -uo pipefail

if (($# != 1)); then
    echo "usage: check_hardening.sh BINARY" >&2
    exit 2
fi
binary=$1
if [[ ! -f $binary ]]; then
    echo "check_hardening: no such file: $binary" >&2
    exit 2
fi
if ! command -v readelf >/dev/null; then
    echo "check_hardening: readelf not found (Debian: apt-get install binutils)" >&2
    exit 2
fi

header=$(LC_ALL=C readelf --file-header --wide "$binary") || exit 2
segments=$(LC_ALL=C readelf --program-headers --wide "$binary")
dynamic=$(LC_ALL=C readelf --dynamic --wide "$binary")
# Imported functions appear as undefined dynamic symbols, possibly versioned
# (__fprintf_chk@GLIBC_2.3.4).
imports=$(LC_ALL=C readelf --dyn-syms --wide "$binary" |
    awk '$7 == "UND" { sub(/@.*/, "", $8); print $8 }' | sort -u)

failures=0
check() {
    local name=$1 detail=$2
    shift 2
    if "$@"; then
        printf 'PASS  %-28s %s\n' "$name" "$detail"
    else
        printf 'FAIL  %-28s %s\n' "$name" "$detail"
        failures=$((failures + 1))
    fi
}

is_pie() {
    # A position-independent executable is an ELF of type DYN that asks for
    # a program interpreter (a shared library does not).
    grep -Eq '^ *Type: +DYN' <<<"$header" && grep -q 'INTERP' <<<"$segments"
}
has_relro() { grep -q 'GNU_RELRO' <<<"$segments"; }
binds_now() {
    grep -Eq '\(BIND_NOW\)|\(FLAGS\).*BIND_NOW|\(FLAGS_1\).*\bNOW\b' <<<"$dynamic"
}
has_stack_protector() { grep -qx '__stack_chk_fail' <<<"$imports"; }
fortified=$(grep -E '^__[a-z0-9_]+_chk$' <<<"$imports" | grep -vx '__stack_chk_fail' |
    paste -sd' ' -)
has_fortify() { [[ -n $fortified ]]; }

check "PIE" "ELF type DYN with an interpreter" is_pie
check "RELRO" "GNU_RELRO segment" has_relro
check "BIND_NOW" "BIND_NOW / FLAGS_1 NOW in the dynamic section" binds_now
check "stack protector" "__stack_chk_fail imported" has_stack_protector
check "_FORTIFY_SOURCE" "${fortified:-no __*_chk function imported}" has_fortify

if ((failures)); then
    echo "check_hardening: $failures check(s) failed for $binary"
    exit 1
fi
echo "check_hardening: all checks passed for $binary"
