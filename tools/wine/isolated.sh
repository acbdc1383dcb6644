#!/bin/sh
# Usage: tools/wine/isolated.sh COMMAND [ARGS...] | tools/wine/isolated.sh --check
# Runs the command in a network namespace of its own with only loopback up, so that the fixed UDP ports of
# the client never collide between tests running at the same time. X and PulseAudio use filesystem sockets
# and keep working. Without the privilege for it, runs the command as it is (--check then exits 1).
can_isolate() {
    [ "$(id -u)" = 0 ] && unshare -n ip link set lo up 2>/dev/null
}
if [ "$1" = --check ]; then
    can_isolate
    exit
fi
if [ -z "$ZELVORA_ISOLATED" ] && can_isolate; then
    ZELVORA_ISOLATED=1 exec unshare -n -- sh -c 'ip link set lo up && exec "$@"' isolated "$@"
fi
exec "$@"
