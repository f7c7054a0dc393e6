#!/usr/bin/env bash
# Builds StartCentre.exe a second time from a copy of the sources at another path, in a fresh
# build folder and without the compiler cache, and compares it byte for byte with the given
# build's executable. Usage: check-reproducible.sh <source folder> <build folder> <StartCentre.exe>
# (the executable inside that build folder)
set -euo pipefail
source_dir="$1"
build_dir="$2"
first="$3"
work="$(mktemp -d "${TMPDIR:-/tmp}/sc-repro-XXXXXX")"
trap 'rm -rf "$work"' EXIT
started=$(date +%s)

mkdir -p "$work/elsewhere/sources"
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf - . |
    tar -C "$work/elsewhere/sources" -xf -
export CCACHE_DISABLE=1
cmake -S "$work/elsewhere/sources" -B "$work/other-build" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$work/elsewhere/sources/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; exit 1; }
cmake --build "$work/other-build" -j2 --target StartCentre >"$work/build.log" 2>&1 ||
    { tail -n 50 "$work/build.log"; exit 1; }
second="$work/other-build/${first#"$build_dir"/}"

sha256sum "$first" "$second"
echo "second build from $work/elsewhere: $(( $(date +%s) - started )) s"
if ! cmp "$first" "$second"; then
    echo "StartCentre.exe differs between the two builds"
    exit 1
fi
echo "StartCentre.exe is byte-identical"
