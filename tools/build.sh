#!/bin/sh
# Installs what is missing and builds the windows preset (Zelvora.exe and its run directory) and the native
# preset; arguments are passed to the native build (e.g. --target zelvora-network).
set -eu
cd "$(dirname "$0")/.."

tools/setup-debian.sh
cmake --preset windows
cmake --build --preset windows -j2
cmake --preset native
cmake --build --preset native -j2 "$@"
