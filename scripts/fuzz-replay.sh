#!/usr/bin/env bash
# Builds the fuzz preset, replays the seed corpus (every file of the PNG suite and its testpngs
# folder) under AddressSanitizer and UndefinedBehaviorSanitizer, then fuzzes ReadPng for a
# bounded time. Exits non-zero on any finding; reproducers land in <build>/fuzz-run/findings.
#
# Environment: FUZZ_SECONDS (default 60), BUILD_DIR (default build/fuzz),
#              SHARED_DIR (default the shared folder beside the checkout).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build/fuzz}
shared=${SHARED_DIR:-$(cd "$top/.." && pwd)/shared}
seconds=${FUZZ_SECONDS:-60}

"$top/scripts/install-deps.sh" fuzz
cmake --preset fuzz -B "$build" -S "$top" >/dev/null
cmake --build "$build" -j2 --target png_fuzz
fuzzer=$build/fuzz/png_fuzz

# The seeds are copied afresh each time; the corpus the fuzzer grows is kept between runs.
run=$build/fuzz-run
rm -rf "$run/seeds"
mkdir -p "$run/seeds" "$run/corpus" "$run/findings"
find "$shared/pngsuite" -maxdepth 1 -type f -exec cp {} "$run/seeds/" \;
for f in "$shared/pngsuite/testpngs"/*; do
    [ -f "$f" ] && cp "$f" "$run/seeds/testpngs-$(basename "$f")"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
limits=(-rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10)

echo "== Replaying $(ls "$run/seeds" | wc -l) seed files"
"$fuzzer" "${limits[@]}" -artifact_prefix="$run/findings/" -runs=0 "$run/seeds"

echo "== Fuzzing for $seconds s (corpus $run/corpus)"
status=0
"$fuzzer" "${limits[@]}" -max_total_time="$seconds" -dict="$top/fuzz/png.dict" \
    -artifact_prefix="$run/findings/" -print_final_stats=1 "$run/corpus" "$run/seeds" || status=$?

found=$(find "$run/findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' \
    -o -name 'timeout-*' \) -newer "$run/seeds" | sort)
if [ "$status" -ne 0 ] || [ -n "$found" ]; then
    echo "== FINDINGS (fuzzer exit $status):"
    for f in $found; do echo "   $f"; done
    echo "   Reproduce with: $fuzzer $run/findings/<file>"
    exit 1
fi
echo "== Clean: seed replay and $seconds s of fuzzing found nothing"
