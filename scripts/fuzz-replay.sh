#!/usr/bin/env bash
# Builds the fuzz preset and replays the seed corpus (every file of the PNG suite and its
# testpngs folder, and the corpus kept in fuzz/corpus) under AddressSanitizer and
# UndefinedBehaviorSanitizer, then fuzzes ReadPng. Exits non-zero on any finding; reproducers
# land in <build>/fuzz-run/findings.
#
# By default the fuzzing is the deterministic step that CI runs: a fixed seed and a fixed number
# of executions from the seed corpus alone, so a red run reproduces exactly. With
# FUZZ_EXPLORE_SECONDS set it explores instead: a fresh random seed, for that many seconds, from
# the seeds and the corpus grown by earlier explorations (<build>/fuzz-run/corpus).
#
# Environment: FUZZ_RUNS (default 40000) and FUZZ_SEED (default 1) for the CI step;
#              FUZZ_EXPLORE_SECONDS; FUZZ_TIMEOUT (default 10), the seconds one input may take,
#              by the clock: raise it for a run at low priority on a busy machine;
#              BUILD_DIR (default build/fuzz); SHARED_DIR (default the shared folder beside
#              the checkout).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build/fuzz}
shared=${SHARED_DIR:-$(cd "$top/.." && pwd)/shared}
runs=${FUZZ_RUNS:-40000}
seed=${FUZZ_SEED:-1}
explore=${FUZZ_EXPLORE_SECONDS:-}

"$top/scripts/install-deps.sh" fuzz
cmake --preset fuzz -B "$build" -S "$top" >/dev/null
cmake --build "$build" -j2 --target png_fuzz
fuzzer=$build/fuzz/png_fuzz

# The seeds are copied afresh each time.
run=$build/fuzz-run
rm -rf "$run/seeds" "$run/ci-corpus"
mkdir -p "$run/seeds" "$run/ci-corpus" "$run/corpus" "$run/findings"
find "$shared/pngsuite" -maxdepth 1 -type f -exec cp {} "$run/seeds/" \;
for f in "$shared/pngsuite/testpngs"/*; do
    [ -f "$f" ] && cp "$f" "$run/seeds/testpngs-$(basename "$f")"
done
for f in "$top/fuzz/corpus"/*; do
    [ -f "$f" ] && cp "$f" "$run/seeds/kept-$(basename "$f")"
done

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
limits=(-rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout="${FUZZ_TIMEOUT:-10}")
# Without address randomisation, the pointer comparisons the fuzzer records (and mixes into
# its mutations) are the same on every run.
fixed=(setarch "$(uname -m)" -R)

echo "== Replaying $(ls "$run/seeds" | wc -l) seed files"
"${fixed[@]}" "$fuzzer" "${limits[@]}" -artifact_prefix="$run/findings/" -runs=0 "$run/seeds"

status=0
log=$run/fuzz.log
if [ -n "$explore" ]; then
    echo "== Exploring for $explore s (corpus $run/corpus)"
    "$fuzzer" "${limits[@]}" -max_total_time="$explore" -dict="$top/fuzz/png.dict" \
        -artifact_prefix="$run/findings/" -print_final_stats=1 "$run/corpus" "$run/seeds" \
        2>&1 | tee "$log" || status=$?
    what="$explore s of exploration"
else
    echo "== Fuzzing: $runs executions from seed $seed"
    "${fixed[@]}" "$fuzzer" "${limits[@]}" -seed="$seed" -runs="$runs" -reload=0 \
        -dict="$top/fuzz/png.dict" -artifact_prefix="$run/findings/" -print_final_stats=1 \
        "$run/ci-corpus" "$run/seeds" 2>&1 | tee "$log" || status=$?
    what="$runs executions from seed $seed"
fi
grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$log" || true

found=$(find "$run/findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'oom-*' \
    -o -name 'timeout-*' \) -newer "$run/seeds" | sort)
if [ "$status" -ne 0 ] || [ -n "$found" ]; then
    echo "== FINDINGS (fuzzer exit $status):"
    for f in $found; do echo "   $f"; done
    echo "   Reproduce with: $fuzzer $run/findings/<file>"
    echo "   Once mended, keep the file in fuzz/corpus/ (a seed from then on) and add a codec test."
    exit 1
fi
echo "== Clean: seed replay and $what found nothing"
