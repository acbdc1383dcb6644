#!/bin/sh
# The test command: installs what is missing, builds both presets and runs every test (usage below).
set -eu
cd "$(dirname "$0")/.."

usage() {
    cat <<'TEXT'
usage: tools/run-tests.sh

Installs the missing Debian packages, builds the windows and native presets and runs every test with
ctest --preset native -j2: unit, fuzz, Win32 under Wine, end to end, formatting. Screenshots and logs of the
end-to-end tests land in build/native/e2e-artifacts/<test>/. To run some tests only, once built:
ctest --preset native -R REGEX.

  -h, --help  print this help and do nothing else
TEXT
}

case "${1-}" in
-h | --help)
    usage
    exit 0
    ;;
"") ;;
*)
    echo "run-tests: unknown argument: $1" >&2
    usage >&2
    exit 2
    ;;
esac

tools/build.sh
exec ctest --preset native -j2
