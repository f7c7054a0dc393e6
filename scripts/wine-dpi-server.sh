#!/usr/bin/env bash
# Starts or stops the persistent wineserver of a second prefix with another system DPI:
#   wine-dpi-server.sh start|stop <prefix> <dpi>
# Everything Wine starts is detached from the caller's pipes, so that ctest, which runs this as
# a fixture, does not wait for the server.
set -u
action=$1
export WINEPREFIX=$2
export SC_WINE_LOGPIXELS=$3
source "$(dirname "$0")/wine-env.sh"
case "$action" in
start)
    sc_wine_prefix_ensure || exit 1
    # A server of this prefix that is already running makes "-p" a no-op, which is fine.
    "$SC_WINESERVER" -p </dev/null >/dev/null 2>&1
    "$SC_WINE64" wineboot </dev/null >/dev/null 2>&1
    ;;
stop)
    "$SC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    ;;
*)
    echo "usage: $0 start|stop <prefix> <dpi>" >&2
    exit 2
    ;;
esac
exit 0
