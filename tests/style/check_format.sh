#!/usr/bin/env bash
# Checks that every C++ file of the tree is laid out as .clang-format says.
#   check_format.sh <source root>
set -euo pipefail
root=$1
cd "$root"
mapfile -t files < <(find app core qt win32 assets tests tools \
    -name build -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "check_format: run clang-format -i on the files above" >&2
    exit 1
fi
echo "check_format: ${#files[@]} files follow .clang-format"
