#!/usr/bin/env bash
# Builds the findRow fuzzer with clang (libFuzzer + AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs it for a fixed time.
#
#   tools/fuzz/run-fuzz.sh [seconds]     default 60
#
# The scale sources are compiled straight into the fuzzer, so this needs no
# CMake configuration: only clang++, libclang-rt-14-dev and Qt6Core's
# development files (found through pkg-config).
#
# The committed seeds in tests/fuzz/corpus/ are copied into a temporary
# directory that the fuzzer grows and that is removed afterwards, so a run
# never changes the tree. A crashing input is kept as build/fuzz/crash-*.
# Exits non-zero when the fuzzer finds a failure; the last line printed is a
# one-line summary either way.
set -euo pipefail

seconds=${1:-60}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
    echo "usage: tools/fuzz/run-fuzz.sh [seconds]" >&2
    exit 2
fi

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
out=${GALEVANE_FUZZ_BUILD_DIR:-$root/build/fuzz}
cxx=${CXX_FUZZ:-}
if [[ -z $cxx ]]; then
    for candidate in clang++ clang++-14; do
        if command -v "$candidate" >/dev/null; then
            cxx=$candidate
            break
        fi
    done
fi
if [[ -z $cxx ]]; then
    echo "run-fuzz: clang++ not found (Debian: apt-get install clang libclang-rt-14-dev)" >&2
    exit 2
fi
if ! qt_flags=$(pkg-config --cflags --libs Qt6Core); then
    echo "run-fuzz: Qt6Core not found by pkg-config (Debian: apt-get install qt6-base-dev)" >&2
    exit 2
fi

mkdir -p "$out"
binary=$out/fuzz_findrow
sources=(
    "$root/tools/fuzz/fuzz_findrow.cpp"
    "$root/core/scale/forcetext.cpp"
    "$root/core/scale/scalerow.cpp"
    "$root/core/scale/scaletable.cpp"
)
# Rebuild only when a source or header is newer than the binary.
rebuild=0
[[ -x $binary ]] || rebuild=1
for file in "${sources[@]}" "$root"/core/scale/*.h "${BASH_SOURCE[0]}"; do
    [[ $file -nt $binary ]] && rebuild=1
done
if ((rebuild)); then
    echo "run-fuzz: building $binary with $cxx"
    # Qt's headers insist on position-independent code.
    # shellcheck disable=SC2086 # pkg-config output is a list of flags
    "$cxx" -std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -DQT_NO_CAST_FROM_ASCII -DQT_NO_CAST_TO_ASCII \
        -I"$root" "${sources[@]}" $qt_flags -o "$binary.tmp"
    mv "$binary.tmp" "$binary"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/galevane-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/corpus"
cp "$root"/tests/fuzz/corpus/* "$work/corpus/"
log=$work/fuzz.log

status=0
# A 4 KiB cap is well beyond any text a box holds yet keeps runs fast; the
# per-input timeout catches anything that stops being linear.
UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    "$binary" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$out/" -print_final_stats=1 "$work/corpus" 2>&1 | tee "$log" ||
    status=${PIPESTATUS[0]}

# The log lacks some of these lines when the very first inputs crash.
runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n1)
took=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\2/p' "$log" | tail -n1)
cov=$({ grep -o 'cov: [0-9]*' "$log" || true; } | tail -n1 | awk '{print $2}')
corpus=$(find "$work/corpus" -type f | wc -l)
if ((status == 0)); then
    echo "fuzz.findrow: PASS ${runs:-?} runs in ${took:-?} s, ${cov:-?} edges covered, corpus ${corpus} inputs"
else
    crash=$({ grep -o "Test unit written to [^ ]*" "$log" || true; } | tail -n1 |
        sed 's/Test unit written to //')
    echo "fuzz.findrow: FAIL (fuzzer exit $status) ${crash:+crashing input kept at $crash}"
fi
exit "$status"
