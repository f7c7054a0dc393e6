#!/usr/bin/env bash
# Soaks the start centre: builds the Windows preset's soak driver and the sample suite, then
# drives the real main and About windows for [cycles] cycles (default 1000) under wine64 on a
# private Xvfb, after a warm-up of 10 cycles. Prints private bytes, live GDI objects, icons,
# image lists, menus and windows after the warm-up and after the loop, and the time per cycle
# of the first and last hundred cycles. Exits non-zero when a handle count is not back at its
# warm-up value, and from 200 cycles on also when private bytes grew by more than 256 KiB or the
# last hundred cycles were more than 10 % slower than the first hundred.
# Environment: SC_BUILD_ROOT as for test-all.sh (default build).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cycles="${1:-1000}"
builds="$(realpath -m "${SC_BUILD_ROOT:-$root/build}")"

if [ ! -f "$builds/windows/build.ninja" ]; then
    cmake --preset windows -B "$builds/windows"
fi
cmake --build "$builds/windows" -j2 --target soak suite

source "$root/scripts/xvfb.sh"
sc_xvfb_start
export WINEPREFIX="$builds/windows/wineprefix"
source "$root/scripts/wine-env.sh"
sc_wine_server_start
status=0
"$builds/windows/wine-run" "$builds/windows/tools/soak/soak.exe" "$cycles" || status=$?
sc_wine_server_stop
sc_xvfb_stop
exit "$status"
