#!/bin/bash
# Installs what building, running and testing need on Debian 12, skipping
# what is already there. Needs root or sudo only when something is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ googletest python3
    g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
    wine wine32:i386 xvfb xauth nsis
    clang-16 libfuzzer-16-dev libclang-rt-16-dev llvm-16 clang-format-14
)

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
if ! dpkg --print-foreign-architectures | grep -q '^i386$'; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
