#!/bin/sh
# The run command: installs what is missing, builds the client and the reference network, runs the client under
# Wine (usage below). One run at a time: a second one says so and leaves the first alone.
set -eu
cd "$(dirname "$0")/.."

usage() {
    cat <<'TEXT'
usage: tools/run-client.sh [--for SECONDS]

Installs the missing Debian packages, builds the client and the reference network, starts the network and
its web service, then runs Zelvora.exe under Wine: on $DISPLAY when it is set, otherwise on a private
virtual display, of which screenshots are saved in build/native/run-client/ (screenshot.png a few seconds
after start, screenshot-at-stop.png as it stops). Ctrl-C, or closing the client, stops everything it started.

  --for SECONDS  stop everything SECONDS (a positive number) after the client started
  -h, --help     print this help and do nothing else
TEXT
}

refuse() {
    echo "run-client: $1" >&2
    usage >&2
    exit 2
}

# The flags are read before minutes of set-up and build: a wrong one is said at once.
seconds=""
while [ $# -gt 0 ]; do
    case "$1" in
    -h | --help)
        usage
        exit 0
        ;;
    --for)
        [ $# -ge 2 ] || refuse "--for needs a number of seconds"
        seconds=$2
        shift 2
        ;;
    --for=*)
        seconds=${1#--for=}
        shift
        ;;
    *) refuse "unknown argument: $1" ;;
    esac
done
if [ -n "$seconds" ]; then
    case "$seconds" in
    *[!0-9.]* | *.*.* | . | "") refuse "--for takes a positive number of seconds, not '$seconds'" ;;
    esac
    case "$seconds" in
    *[1-9]*) ;;
    *) refuse "--for takes a positive number of seconds, not '$seconds'" ;;
    esac
fi

tools/setup-debian.sh
export PYTHONPATH="$PWD/tools" PYTHONDONTWRITEBYTECODE=1
# Before the build: a running client must not see its program rebuilt under it, and a display that cannot be
# opened is said at once.
python3 -m launcher.run_client --check-alone
tools/build.sh --target zelvora-network zelvora-web
exec python3 -m launcher.run_client --server ${seconds:+--for "$seconds"}
