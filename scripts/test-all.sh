#!/usr/bin/env bash
# Builds and tests everything, from a fresh Debian 12 machine (run as root) or an existing
# checkout: installs what is missing, then configures, builds and tests the presets native,
# native-asan and windows (the last under wine64 on Xvfb), then replays the fuzz corpus.
# Exits non-zero if anything failed; the last line is the sum of ctest's counts.
# Environment: SC_BUILD_ROOT, the folder for the build folders (default build, so that each
# preset builds in its usual folder build/<preset>).
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
builds="$(realpath -m "${SC_BUILD_ROOT:-$root/build}")"
logs="$builds/test-all-logs"
started=$(date +%s)
passed=0
failed=0
failed_steps=()

elapsed() { echo "$(( $(date +%s) - started )) s"; }

# step <name> <command...>: runs a step with its output shown and kept in $logs/<name>.log.
step() {
    local name=$1
    shift
    echo "== $name ($(elapsed))"
    "$@" 2>&1 | tee "$logs/$name.log"
    local status=${PIPESTATUS[0]}
    if [ "$status" -ne 0 ]; then
        echo "== $name FAILED (exit $status)"
        failed_steps+=("$name")
    fi
    return "$status"
}

# Adds the counts of ctest's summary line ("95% tests passed, 1 tests failed out of 20") in
# a step's log.
count_tests() {
    local line total bad
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$logs/$1.log" |
           tail -n 1)
    if [ -z "$line" ]; then
        if ! grep -q 'No tests were found' "$logs/$1.log"; then
            echo "== $1: no ctest summary found"
            failed_steps+=("$1 (no summary)")
        fi
        return
    fi
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

# build <name>: configures and builds a preset. A failing target does not stop the build of
# the others (ninja -k 0), so that the tests of everything that did build still run.
build() {
    step "$1-configure" cmake --preset "$1" -B "$builds/$1" || return
    step "$1-build" cmake --build "$builds/$1" -j2 -- -k 0
    return 0
}

# native_preset <name>: builds and tests a native preset.
native_preset() {
    build "$1" || return
    step "$1-test" ctest --test-dir "$builds/$1" --output-on-failure --timeout 600 -j2
    count_tests "$1-test"
}

windows_tests() {
    source "$root/scripts/xvfb.sh"
    sc_xvfb_start || { failed_steps+=("Xvfb"); return 1; }
    export WINEPREFIX="$builds/windows/wineprefix"
    source "$root/scripts/wine-env.sh"
    # The prefix and one persistent wineserver with Wine's services, detached from ctest's
    # pipes: each test process then starts in a fraction of a second.
    sc_wine_server_start
    # The second prefix, at a system DPI of 144, with its own server (ctest's fixture would
    # start it too; started here, its prefix is made before the clock of any test runs).
    local dpi_prefix="$builds/windows/wineprefix-144"
    bash "$root/scripts/wine-dpi-server.sh" start "$dpi_prefix" 144
    step windows-test ctest --test-dir "$builds/windows" --output-on-failure --timeout 600
    count_tests windows-test
    bash "$root/scripts/wine-dpi-server.sh" stop "$dpi_prefix" 144
    sc_wine_server_stop
    sc_xvfb_stop
}

mkdir -p "$logs"
step install-deps bash scripts/install-deps.sh windows native fuzz bench || {
    echo "0 passed, 0 failed"
    exit 1
}

native_preset native
native_preset native-asan
if build windows; then
    windows_tests
fi
if [ -f scripts/fuzz-replay.sh ]; then
    step fuzz-replay env BUILD_DIR="$builds/fuzz" bash scripts/fuzz-replay.sh
fi

echo "== Done in $(elapsed); logs in $logs"
if [ ${#failed_steps[@]} -gt 0 ]; then
    echo "== Failed: ${failed_steps[*]}"
fi
echo "$passed passed, $failed failed"
[ ${#failed_steps[@]} -eq 0 ] && [ "$failed" -eq 0 ]
