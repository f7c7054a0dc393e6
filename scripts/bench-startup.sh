#!/usr/bin/env bash
# Start-up benchmark: how long the start centre takes from process start to its first complete
# picture, against a bare Win32 window of the same size, both under wine64 on Xvfb.
# Usage: scripts/bench-startup.sh [build folder (default build/windows)] [runs (default 15)]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/windows}")"
runs="${2:-15}"

cd "$root"
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j2 --target suite startup-bench

source "$root/scripts/xvfb.sh"
started_display=
if [ -z "${DISPLAY:-}" ]; then
    sc_xvfb_start
    started_display=1
fi
export WINEPREFIX="$build/wineprefix"
source "$root/scripts/wine-env.sh"
sc_wine_server_start
cleanup() {
    # Wine's services are bound to the display: end them with the display this script started.
    if [ -n "$started_display" ]; then
        sc_wine_server_stop
        sc_xvfb_stop
    fi
}
trap cleanup EXIT

"$SC_WINE64" "$build/tools/startup-bench/startup-bench.exe" "Z:$build/suite" "$runs"
