#!/bin/bash
# Makes a new Wine prefix, set up as the project's own, and starts its
# wineserver apart from the caller's output (ctest's, for the installer's
# tests); `WINEPREFIX=PREFIX wineserver -k` stops it:
#   scripts/fresh-prefix.sh PREFIX
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export WINEPREFIX="$1"
make_wine_prefix
start_wineserver
