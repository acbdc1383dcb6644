#!/bin/sh
# Installs what is missing, builds both presets and runs every test (unit, fuzz, Win32 under Wine, end to end).
# Screenshots and logs of the end-to-end tests land in build/native/e2e-artifacts/<test>/.
set -eu
cd "$(dirname "$0")/.."

tools/build.sh
exec ctest --preset native -j2
