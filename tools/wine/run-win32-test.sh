#!/bin/sh
# Usage: tools/wine/run-win32-test.sh EXE [ARGS...]
# Runs a Win32 test program under Wine in a fresh copy of the template prefix, on a private display and sound
# server, in a network namespace of its own when possible, with the program's folder as working directory;
# exits with the program's exit code.
here=$(cd "$(dirname "$0")" && pwd)
export PYTHONPATH="$here/../../tests/e2e:$here/..${PYTHONPATH:+:$PYTHONPATH}" PYTHONDONTWRITEBYTECODE=1
exec "$here/isolated.sh" python3 -m harness.run_win32 "$@"
