#!/usr/bin/env bash
# Builds the native preset and runs the PNG decoder benchmark.
# Usage: bench/run-png-bench.sh [png_bench arguments...]   (e.g. --seconds 1, or a shared folder)
# BUILD_DIR overrides the build folder (default build/native).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build/native}
"$top/scripts/install-deps.sh" native bench
cmake --preset native -B "$build" -S "$top" ${SC_SHARED_DIR:+-DSC_SHARED_DIR="$SC_SHARED_DIR"} >/dev/null
cmake --build "$build" -j2 --target png_bench
exec "$build/bench/png_bench" "$@"
