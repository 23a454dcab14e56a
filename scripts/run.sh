#!/bin/bash
# The main job: installs what is missing, builds, installs the data source
# and its stand-ins into a Wine prefix, and runs acquire with the simulated
# camera. Arguments are passed to acquire.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh --windows-only

source scripts/wine-env.sh
ensure_wine_prefix
cmake --install build/win32 --prefix "$WINEPREFIX/drive_c" >/dev/null
scripts/under-wine.sh wine "$WINEPREFIX/drive_c/Program Files/Ardenza/acquire/acquire.exe" "$@"
