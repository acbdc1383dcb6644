#!/bin/sh
# Installs what is missing, builds Zelvora.exe, the reference network and web service, then runs the client under
# Wine:
# on $DISPLAY when set, otherwise on a private virtual display (a screenshot is saved and its path printed).
# Ctrl-C, or the client's own end, stops everything it started. Options: --for SECONDS stops that long after
# the client started. One run at a time: a second one says so and leaves the first alone.
set -eu
cd "$(dirname "$0")/.."

tools/setup-debian.sh
export PYTHONPATH="$PWD/tools" PYTHONDONTWRITEBYTECODE=1
# Before the build: a running client must not see its program rebuilt under it.
python3 -m launcher.run_client --check-alone
tools/build.sh --target zelvora-network zelvora-web
exec python3 -m launcher.run_client --server "$@"
