#!/usr/bin/env bash
# Fails when an executable of the build imports a DLL that Windows itself does not ship: such an
# exe runs under Wine (which brings zlib1.dll and friends) but not on a user's machine.
# Usage: check-imports.sh <objdump> <search root> [executable that must exist...]
set -uo pipefail
objdump=$1
root=$2
shift 2

# System DLLs the suite may use; compared without letter case.
allowed=" kernel32.dll user32.dll gdi32.dll shell32.dll comctl32.dll uxtheme.dll advapi32.dll
          msvcrt.dll comdlg32.dll ole32.dll oleaut32.dll shlwapi.dll ws2_32.dll version.dll
          msimg32.dll windowscodecs.dll oleacc.dll"
allowed=" $(echo $allowed) "

failed=0
for required in "$@"; do
    if [ ! -f "$required" ]; then
        echo "missing executable: $required"
        failed=1
    fi
done

# Build products only: not CMake's probe programs, not the Wine prefixes, not the checker's own
# deliberately wrong probe.
mapfile -t exes < <(find "$root" -mindepth 1 \
    \( -name CMakeFiles -o -name "wineprefix*" -o -name import-probe \) -prune -o \
    -type f -iname '*.exe' -print | sort)
if [ ${#exes[@]} -eq 0 ]; then
    echo "no executables found under $root"
    exit 1
fi

for exe in "${exes[@]}"; do
    if ! dump=$("$objdump" -p "$exe" 2>&1); then
        echo "cannot read $exe: $dump"
        failed=1
        continue
    fi
    dlls=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')
    if [ -z "$dlls" ]; then
        echo "no import table found in $exe"
        failed=1
        continue
    fi
    while IFS= read -r dll; do
        lower=$(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]')
        case "$allowed" in
            *" $lower "*) ;;
            *) echo "$(basename "$exe") imports $dll (not a system DLL): $exe"; failed=1 ;;
        esac
    done <<<"$dlls"
done

echo "checked ${#exes[@]} executables"
exit $failed
