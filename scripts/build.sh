#!/bin/bash
# Builds the Windows programs (build/win32) and the host-side tests of the
# platform-free code (build/native).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build/win32 -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build build/win32

if [ "${1:-}" != "--windows-only" ]; then
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build build/native
fi
