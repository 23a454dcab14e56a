#!/bin/bash
# Installs what building, running and testing need on Debian 12, skipping
# what is already there. Needs root or sudo only when something is missing.
# Both cross compilers and 64-bit Wine are installed on every machine; the
# i386 architecture and 32-bit Wine only where the machine executes 32-bit
# x86 code (scripts/host-tiers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/host-tiers.sh

packages=(
    cmake ninja-build g++ googletest python3
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth nsis
    clang-16 libfuzzer-16-dev libclang-rt-16-dev llvm-16 clang-format-14
)
with_32bit=0
if host_runs_32bit_code; then
    with_32bit=1
    packages+=(wine32:i386)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
if ((with_32bit)) && ! dpkg --print-foreign-architectures | grep -q '^i386$'; then
    $sudo dpkg --add-architecture i386
fi

# A mirror in the middle of a sync serves indexes of the wrong size for a
# while; apt-get update is tried again a few times before giving up.
update_log=$(mktemp)
trap 'rm -f "$update_log"' EXIT
for attempt in 1 2 3 4 5; do
    if $sudo apt-get update -qq >"$update_log" 2>&1 && ! grep -q '^[EW]: Failed to fetch' "$update_log"; then
        break
    fi
    if ((attempt == 5)); then
        echo "apt-get update failed 5 times; the package indexes that could not be read:" >&2
        grep -E '^(E|W):' "$update_log" >&2 || cat "$update_log" >&2
        exit 1
    fi
    echo "apt-get update failed (attempt $attempt of 5); trying again in $((attempt * 10)) s"
    sleep $((attempt * 10))
done
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
