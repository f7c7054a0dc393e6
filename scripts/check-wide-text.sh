#!/usr/bin/env bash
# Fails when a source file names the ANSI form of a Windows text function, type, message or
# macro (SendMessageA, LOGFONTA, TCM_INSERTITEMA, MAKEINTRESOURCEA, ...): the program's text is
# UTF-8 and reaches the platform only through the wide-character forms, converted at the text
# boundary (src/text/utf.h). Prints each offending line and the number of ANSI names found.
# Which names have an ANSI form, the platform headers say: every name they declare in both
# forms (__MINGW_NAME_AW, __MINGW_TYPEDEF_AW and their variants) or define as its A or W form.
# The program's own names that happen to end in "A" (RGBA, TChunkgAMA, ...) are none of these.
# Comment lines are not looked at.
# Usage: check-wide-text.sh <platform header folder> <source folder>...
set -euo pipefail
headers=$1
shift

names=$(mktemp)
trap 'rm -f "$names"' EXIT
{
    grep -RhoE --include='*.h' '__MINGW_(NAME|TYPEDEF)_U?AW(_EXT)?[[:space:]]*\([[:space:]]*[A-Za-z_][A-Za-z_0-9]*' "$headers" |
        sed -E 's/.*\([[:space:]]*//'
    grep -RhE --include='*.h' '^[[:space:]]*#[[:space:]]*define[[:space:]]+[A-Za-z_][A-Za-z_0-9]*[[:space:]]+[A-Za-z_][A-Za-z_0-9]*[AW][[:space:]]*$' "$headers" |
        sed -nE 's/^[[:space:]]*#[[:space:]]*define[[:space:]]+([A-Za-z_0-9]+)[[:space:]]+\1[AW][[:space:]]*$/\1/p'
} | sort -u | sed 's/$/A/' >"$names"
count=$(wc -l <"$names")
if [ "$count" -lt 1000 ]; then
    echo "Only $count names with an ANSI form in $headers: not the platform headers?"
    exit 2
fi

found=$(grep -rnwF -f "$names" --include='*.cpp' --include='*.h' --include='*.c' \
             --include='*.hpp' --include='*.inc' "$@" |
        grep -vP '^[^:]+:[0-9]+:\s*(//|/\*|\*)' || true)
if [ -n "$found" ]; then
    echo "ANSI text functions, types or macros (use the wide form and src/text/utf.h):"
    echo "$found"
    uses=$(cut -d: -f3- <<<"$found" | grep -owF -f "$names" | wc -l)
    echo "$uses ANSI names"
    exit 1
fi
echo "No ANSI names in $* ($count known)"
