#!/usr/bin/env bash
# Counts the instructions of one decode per contender and image under callgrind: a second view
# of the ratios that no other load on the machine moves. Builds the native preset first.
# Usage: bench/callgrind-png-bench.sh [png_bench arguments...]   (e.g. --image rgb --only ours)
# BUILD_DIR overrides the build folder (default build/native); OUT_DIR keeps the profiles
# (default build/native/callgrind), one file per image and contender for callgrind_annotate.
# PNG_BENCH names a png_bench to count instead of building one (e.g. a copy built from main).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$top/build/native}
out=${OUT_DIR:-$build/callgrind}
bench=${PNG_BENCH:-$build/bench/png_bench}
if [ -z "${PNG_BENCH:-}" ]; then
    "$top/scripts/install-deps.sh" native bench
    cmake --preset native -B "$build" -S "$top" ${SC_SHARED_DIR:+-DSC_SHARED_DIR="$SC_SHARED_DIR"} >/dev/null
    cmake --build "$build" -j2 --target png_bench
fi
rm -rf "$out" && mkdir -p "$out"
valgrind --tool=callgrind --callgrind-out-file="$out/png.%p" --dump-before=none --compress-strings=no \
    "$bench" --callgrind "$@" 2>"$out/valgrind.log"
# Each part names "image|contender" in its trigger line and its instruction count in "totals:".
for f in "$out"/png.*.*; do
    part=$(sed -n 's/^desc: Trigger: Client Request: //p' "$f")
    total=$(sed -n 's/^totals: *\([0-9]*\).*/\1/p' "$f")
    [ -n "$part" ] && printf '%s|%s\n' "$part" "$total"
done | awk -F'|' '
    { key = $1 "|" $2; count[key] = $3; if (!($1 in seen)) { seen[$1] = 1; order[n++] = $1 } }
    function ratio(a, b) { return (a > 0 && b > 0) ? sprintf("%.2f", a / b) : "-" }
    END {
        printf "%-22s %12s %12s %12s %12s %12s %13s %12s\n", "Instructions (M)", "ours", "libpng",
               "spng", "stb", "inflate", "ours/inflate", "libpng/ours"
        for (i = 0; i < n; ++i) {
            g = order[i]
            printf "%-22s", g
            split("ours libpng spng stb inflate", names, " ")
            for (j = 1; j <= 5; ++j) {
                v = count[g "|" names[j]]
                printf " %12s", v ? sprintf("%.1f", v / 1e6) : "-"
            }
            printf " %13s %12s\n", ratio(count[g "|ours"], count[g "|inflate"]),
                   ratio(count[g "|libpng"], count[g "|ours"])
        }
    }'
