#!/bin/sh
# Installs what is missing, builds both presets and runs every test (unit, fuzz, Win32 under Wine, end to end).
# Screenshots and logs of the end-to-end tests land in build/native/e2e-artifacts/<test>/.
set -eu
cd "$(dirname "$0")/.."

tools/setup-debian.sh
cmake --preset windows
cmake --build --preset windows -j2
cmake --preset native
cmake --build --preset native -j2
exec ctest --preset native -j2
