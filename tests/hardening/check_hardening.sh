#!/usr/bin/env bash
# Checks that a built executable carries the hardening of cmake/Hardening.cmake.
#
#   tests/hardening/check_hardening.sh [--compile-commands FILE --sources DIR...
#                                       --flag FLAG...] BINARY
#
# Reads the ELF headers with readelf (binutils) and prints one PASS or FAIL
# line per check; exits 1 when any check fails, 2 on bad usage.
#
# Compiler flags that leave no mark in the ELF file are looked for in the
# compile commands CMake wrote (compile_commands.json): every command that
# compiles a source file below one of the --sources folders must carry every
# --flag.
set -uo pipefail

usage() {
    echo "usage: check_hardening.sh [--compile-commands FILE --sources DIR... --flag FLAG...] BINARY" >&2
    exit 2
}
compile_commands=
source_dirs=()
flags=()
while (($# > 1)); do
    case $1 in
    --compile-commands) compile_commands=$2 ;;
    --sources) source_dirs+=("$2") ;;
    --flag) flags+=("$2") ;;
    *) usage ;;
    esac
    shift 2
done
(($# == 1)) || usage
if ((${#flags[@]})) && [[ -z $compile_commands || ${#source_dirs[@]} -eq 0 ]]; then
    usage
fi
if [[ -n $compile_commands && ! -f $compile_commands ]]; then
    echo "check_hardening: no such file: $compile_commands" >&2
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
# A run-time search path would be searched before the system's library
# folders; an empty entry in it means the current folder.
search_path=$(grep -E '\((RPATH|RUNPATH)\)' <<<"$dynamic" | sed -E 's/.*\((RPATH|RUNPATH)\)[^[]*/\1 /')
has_no_search_path() { [[ -z $search_path ]]; }

# One line per compile command of the program's own sources: the source file,
# a tab, the command. CMake writes each field of an entry on a line of its
# own, the command before the file.
program_commands() {
    local file command dir
    awk '
        /^ *"command": / { command = $0 }
        /^ *"file": / {
            file = $0
            sub(/^ *"file": *"/, "", file)
            sub(/",? *$/, "", file)
            print file "\t" command
        }' "$compile_commands" |
        while IFS=$'\t' read -r file command; do
            for dir in "${source_dirs[@]}"; do
                if [[ $file == "${dir%/}"/* ]]; then
                    printf '%s\t%s\n' "$file" "$command"
                    break
                fi
            done
        done
}
command_count=0
if ((${#flags[@]})); then
    commands=$(program_commands)
    command_count=$(grep -c . <<<"$commands")
fi
# Every compile command of the program passes the flag as a word of its own
# (-fcf-protection=branch would not do for -fcf-protection).
compiled_with() {
    local flag=$1 file command word words found missing=0
    ((command_count > 0)) || return 1
    while IFS=$'\t' read -r file command; do
        found=0
        read -ra words <<<"$command"
        for word in "${words[@]}"; do
            [[ $word == "$flag" ]] && found=1
        done
        if ((!found)); then
            echo "      without $flag: $file"
            missing=1
        fi
    done <<<"$commands"
    ((missing == 0))
}

check "PIE" "ELF type DYN with an interpreter" is_pie
check "RELRO" "GNU_RELRO segment" has_relro
check "BIND_NOW" "BIND_NOW / FLAGS_1 NOW in the dynamic section" binds_now
check "stack protector" "__stack_chk_fail imported" has_stack_protector
check "_FORTIFY_SOURCE" "${fortified:-no __*_chk function imported}" has_fortify
check "no RPATH/RUNPATH" "${search_path:-none in the dynamic section}" has_no_search_path
for flag in "${flags[@]}"; do
    check "$flag" "in all ${command_count} compile commands of the program" compiled_with "$flag"
done

if ((failures)); then
    echo "check_hardening: $failures check(s) failed for $binary"
    exit 1
fi
echo "check_hardening: all checks passed for $binary"
