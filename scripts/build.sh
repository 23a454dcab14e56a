#!/bin/bash
# Builds the Windows programs for both architectures, 32-bit in build/win32
# and 64-bit in build/win64 (the cross compilers run on any host), and the
# host-side tests of the platform-free code (build/native).
set -euo pipefail
cd "$(dirname "$0")/.."

for arch in 32 64; do
    toolchain=cmake/mingw-i686.cmake
    options=()
    if [ $arch = 64 ]; then
        toolchain=cmake/mingw-x86_64.cmake
        # The 64-bit installer carries the 32-bit build's files too.
        options=(-DTZ600A_WIN32_BIN_DIR="$PWD/build/win32/bin")
    fi
    cmake -S . -B build/win$arch -G Ninja -DCMAKE_BUILD_TYPE=Release \
          -DCMAKE_TOOLCHAIN_FILE=$toolchain "${options[@]}" >/dev/null
    cmake --build build/win$arch
done

if [ "${1:-}" != "--windows-only" ]; then
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build build/native
fi
