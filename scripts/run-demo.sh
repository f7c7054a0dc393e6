#!/usr/bin/env bash
# Builds the sample suite (build/windows/suite) and opens its start centre under wine64.
# With $DISPLAY set the window opens there and the script waits until it is closed. Without a
# display it opens the window on a private Xvfb, saves a screenshot under build/windows, closes
# the program again and ends.
# Environment: SC_BUILD_DIR, the build folder (default build/windows).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="$(realpath -m "${SC_BUILD_DIR:-$root/build/windows}")"
suite="$build/suite"
shot="$build/start-centre.png"

bash scripts/install-deps.sh windows
cmake --preset windows -B "$build" >/dev/null
targets=(suite)
if cmake --build "$build" --target help | grep -q '^snapwin:'; then
    targets+=(snapwin)
fi
cmake --build "$build" -j2 --target "${targets[@]}"
if [ ! -f "$suite/StartCentre.exe" ]; then
    echo "run-demo.sh: $suite/StartCentre.exe was not built" >&2
    exit 1
fi

export WINEPREFIX="$build/wineprefix"
source scripts/wine-env.sh
source scripts/xvfb.sh
# The main window's caption is the product name from the suite's lame.dll.
title=$(sed -n 's/^[[:space:]]*Name[[:space:]]*=[[:space:]]*//p' "$suite/lame.dll" | tr -d '\r' |
        head -n 1)

if [ -n "${DISPLAY:-}" ]; then
    echo "Opening $suite/StartCentre.exe on $DISPLAY; close its window to end."
    sc_wine_prefix_ensure
    cd "$suite"
    "$SC_WINE64" StartCentre.exe
    exit 0
fi

sc_xvfb_start
app_pid=
cleanup() {
    if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null || true
    fi
    sc_wine_server_stop
    sc_xvfb_stop
}
trap cleanup EXIT
sc_wine_server_start
echo "No display: opening the start centre on Xvfb $DISPLAY for a screenshot."
snapwin="$build/tools/snapshot/snapwin.exe"
# Xvfb's pointer starts in the middle of the screen, where it would hover over a task row.
[ -f "$snapwin" ] && "$SC_WINE64" "$snapwin" --park-pointer </dev/null >/dev/null 2>&1
(cd "$suite" && exec "$SC_WINE64" StartCentre.exe </dev/null >/dev/null 2>&1) &
app_pid=$!

rm -f "$shot"
if [ -f "$snapwin" ]; then
    # snapwin waits for the window and its first complete paint.
    "$SC_WINE64" "$snapwin" "$title" "Z:$shot" 30000 || true
elif command -v import >/dev/null; then
    sleep 8
    import -window root "$shot" || true
else
    echo "No screenshot: neither snapwin.exe nor imagemagick's import is available."
fi
if [ -f "$shot" ]; then
    echo "Screenshot of the start centre: $shot"
else
    echo "run-demo.sh: no screenshot was saved" >&2
fi

# Close the start centre as a user would (WM_CLOSE to its windows), then wait for it.
"$SC_WINE64" taskkill /im StartCentre.exe </dev/null >/dev/null 2>&1 || true
for _ in $(seq 1 50); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$app_pid" 2>/dev/null; then
    echo "The start centre did not close; ending it."
fi
[ -f "$shot" ]
