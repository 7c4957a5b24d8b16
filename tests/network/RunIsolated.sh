#!/bin/sh
# Runs a test program inside a private network namespace in which only the
# loopback device is up, so no datagram can reach another machine and no
# other test shares its ports. Exits 77 (skipped) where the system does not
# allow such a namespace.
unshare -rn true 2>/dev/null || exit 77
exec unshare -rn sh -c 'ip link set lo up 2>/dev/null || exit 77; exec "$@"' isolated "$@"
