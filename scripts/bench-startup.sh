#!/usr/bin/env bash
# Start-up benchmark: how long the start centre takes from process start to its first complete
# picture, against a bare Win32 window and a themed bare window (the start centre's manifest,
# common controls, visual styles, one push button), all under wine64 on Xvfb. Runs once at the
# system DPI 96 and once at 144 (a prefix of its own whose wineserver reads LogPixels 144), and
# prints the per-round paired ratios of both runs.
# Usage: scripts/bench-startup.sh [build folder (default build/windows)] [rounds (default 21)]
#        [suite folder whose StartCentre.exe is measured (default: the build's suite)]
# Then it breaks the start centre's start-up time down by phase (SC_BENCH_PHASE_ROUNDS traced
# starts, default 11). SC_BENCH_DPIS="96 144" (default) chooses the runs. On a busy shared
# machine the ratios spread widely even under nice; as root, `chrt -f 1 scripts/bench-startup.sh`
# (every process of the run at the lowest real-time priority, about a minute per DPI) brought
# the interquartile range of a ratio from about 0.8 down to about 0.1. Run it more than once.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build/windows}")"
rounds="${2:-21}"
suite="$(realpath -m "${3:-$build/suite}")"
dpis="${SC_BENCH_DPIS:-96 144}"
phase_rounds="${SC_BENCH_PHASE_ROUNDS:-11}"

cd "$root"
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j2 --target suite startup-bench

source "$root/scripts/xvfb.sh"
started_display=
if [ -z "${DISPLAY:-}" ]; then
    sc_xvfb_start
    started_display=1
fi
source "$root/scripts/wine-env.sh"
server_running=
cleanup() {
    # Wine's services are bound to the display: end them with the display this script started.
    if [ -n "$server_running" ] && [ -n "$started_display" ]; then
        sc_wine_server_stop
    fi
    if [ -n "$started_display" ]; then
        sc_xvfb_stop
    fi
}
trap cleanup EXIT

# The prefix for a system DPI: the build's own at 96; the tests' second prefix otherwise
# (wineprefix-<dpi>), so that the first one never sees a DPI other than 96.
prefix_for() {
    if [ "$1" = 96 ]; then echo "$build/wineprefix"; else echo "$build/wineprefix-$1"; fi
}

declare -A summary
for dpi in $dpis; do
    export WINEPREFIX="$(prefix_for "$dpi")"
    export SC_WINE_LOGPIXELS="$dpi"
    sc_wine_prefix_ensure
    # Wine reads the system DPI when its server starts: set it, then start a fresh server.
    timeout 15 "$SC_WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    "$SC_WINE64" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        </dev/null >/dev/null 2>&1
    "$SC_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    sc_wine_server_start
    server_running=1
    echo "== system DPI $dpi ($WINEPREFIX)"
    out="$(mktemp)"
    "$SC_WINE64" "$build/tools/startup-bench/startup-bench.exe" "Z:$suite" "$rounds" \
        | tee "$out"
    "$SC_WINE64" "$build/tools/startup-bench/startup-bench.exe" --phases "$phase_rounds" \
        | tee -a "$out"
    summary[$dpi]="$(grep -E '^(ratio|start centre|bare window|themed bare|phase|rounds run once more)' "$out" || true)"
    rm -f "$out"
    sc_wine_server_stop
    server_running=
done

echo "== summary ($rounds rounds each)"
for dpi in $dpis; do
    echo "-- system DPI $dpi"
    echo "${summary[$dpi]}"
done
if [[ " $dpis " == *" 96 "* && " $dpis " == *" 144 "* ]]; then
    for what in "bare window" "themed bare"; do
        r96="$(echo "${summary[96]}" | awk -v w="$what" 'index($0, "ratio start centre / " w) == 1 {print $(NF - 4)}')"
        r144="$(echo "${summary[144]}" | awk -v w="$what" 'index($0, "ratio start centre / " w) == 1 {print $(NF - 4)}')"
        awk -v a="$r96" -v b="$r144" -v w="$what" \
            'BEGIN { printf "ratio start centre / %s at 144 over the one at 96: %.3f (goal: at most 1.1)\n", w, b / a }'
    done
fi
