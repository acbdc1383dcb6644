#!/bin/sh
# Usage: tools/web/allow-port-443.sh BINARY
# Lets BINARY (zelvora-web) listen on port 443 when it is not run as root: it gets the one capability to bind
# ports below 1024, through sudo setcap. A rebuild drops the capability, so callers run this before every
# start; it does nothing when root, when low ports are open to everyone, or when the binary has it already.
set -eu
binary=$1
if [ "$(id -u)" = 0 ]; then
    exit 0
fi
if [ "$(cat /proc/sys/net/ipv4/ip_unprivileged_port_start 2>/dev/null || echo 1024)" -le 443 ]; then
    exit 0
fi
PATH="$PATH:/usr/sbin:/sbin"
if getcap "$binary" 2>/dev/null | grep -q cap_net_bind_service; then
    exit 0
fi
sudo setcap cap_net_bind_service=+ep "$binary"
