#!/bin/sh
# Installs what is missing, builds Zelvora.exe and the reference network, then runs the client under Wine:
# on $DISPLAY when set, otherwise on a private virtual display (a screenshot is saved and its path printed).
# Ctrl-C, or the client's own end, stops everything it started. Options: --for SECONDS stops after that time.
set -eu
cd "$(dirname "$0")/.."

tools/build.sh --target zelvora-network

export PYTHONPATH="$PWD/tests/e2e" PYTHONDONTWRITEBYTECODE=1
exec python3 -m harness.run_client --server build/native/server/zelvora-network "$@"
