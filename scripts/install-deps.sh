#!/usr/bin/env bash
# Installs, with apt-get, what the builds and tests need and this machine lacks.
# Usage: install-deps.sh [windows] [native] [fuzz] [bench]
set -euo pipefail
want=(cmake ninja-build g++ googletest zlib1g-dev pkg-config python3)
for part in "$@"; do
    case "$part" in
        windows) want+=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev libz-mingw-w64-dev wine64
                        fonts-wine xvfb xauth) ;;
        native) want+=(libpng-dev) ;;
        fuzz) want+=(clang libclang-rt-14-dev) ;;
        bench) want+=(libpng-dev libspng-dev libstb-dev valgrind) ;;
        *) echo "install-deps.sh: unknown part '$part'" >&2; exit 2 ;;
    esac
done
missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null; then
            sudo=(sudo)
        else
            echo "install-deps.sh: run as root to install ${missing[*]}" >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
