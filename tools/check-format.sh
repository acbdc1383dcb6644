#!/bin/sh
# Fails, naming them, when tracked C++ files of src/, server/ or tests/ differ from what clang-format writes
# with the repository's .clang-format. Run by CTest in the native preset.
set -eu
cd "$(dirname "$0")/.."

if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "check-format: not a git checkout, nothing to check" >&2
    exit 77
fi

files=""
for file in $(git ls-files -- 'src/*.cpp' 'src/*.h' 'server/*.cpp' 'server/*.h' 'tests/*.cpp' 'tests/*.h'); do
    # A file deleted in the working tree but not yet in the index has nothing to check.
    if [ -f "$file" ]; then
        files="$files $file"
    fi
done
# One clang-format for every file: it goes on past a file that fails.
# shellcheck disable=SC2086 # one word per file; tracked file names hold no spaces
if ! report=$(clang-format --dry-run --Werror $files 2>&1); then
    echo "check-format: not clang-formatted (fix with clang-format -i):" >&2
    named=$(printf '%s\n' "$report" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/  \1/p' |
        sort -u)
    printf '%s\n' "${named:-$report}" >&2
    exit 1
fi
