#!/bin/sh
# Fails, naming the lines, when the layering is broken: a portable file (any C++ file of src/ or tests/native/
# outside a win32/ folder) includes a Windows header or anything from a win32/ folder, or a file of src/net/
# includes from src/app/. Run by CTest in the native preset.
set -eu
cd "$(dirname "$0")/.."

status=0
report() {
    if [ -n "$2" ]; then
        printf 'check-layering: %s\n%s\n' "$1" "$2" >&2
        status=1
    fi
}

portable=$(find src tests/native -path '*/win32' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
# shellcheck disable=SC2086 # one word per file; source file names hold no spaces
report "portable files that include Windows headers or from a win32/ folder:" \
    "$(grep -nHiE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*/)?(windows|winsock2|ws2tcpip)\.h[>"]|^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*/)?win32/' $portable || true)"

report "files of src/net/ that include from src/app/:" \
    "$(grep -rnHE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"app/' src/net || true)"

exit $status
