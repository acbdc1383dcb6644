#!/bin/sh
# Usage: tools/bench/run.sh BENCH [ARGS...]  (BENCH: idle_cpu or talk_latency)
# Runs a benchmark in a network namespace of its own (tools/wine/isolated.sh), with the run command's
# launcher and the end-to-end harness on the module path.
here=$(cd "$(dirname "$0")" && pwd)
bench=$1
shift
export PYTHONPATH="$here/..:$here/../../tests/e2e${PYTHONPATH:+:$PYTHONPATH}" PYTHONDONTWRITEBYTECODE=1
exec "$here/../wine/isolated.sh" python3 "$here/$bench.py" "$@"
