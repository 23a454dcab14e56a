#!/bin/bash
# Makes a new Wine prefix, set up as the project's own, and runs a Windows
# program in it with its wineserver started apart from the caller's output
# (ctest's, for the installer's tests); a lane of a parallel test run
# (TZ600A_LANE=N) has a prefix of its own:
#   scripts/fresh-prefix.sh PREFIX PROGRAM [ARGS...]
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export WINEPREFIX="$1${TZ600A_LANE:+-lane$TZ600A_LANE}"
shift
make_wine_prefix || exit 1
start_wineserver
wine "$@"
status=$?
wineserver -k
exit $status
