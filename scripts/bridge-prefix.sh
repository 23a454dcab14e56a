#!/bin/bash
# The Wine prefix of the 64-bit tests that reach the simulated camera through
# the camera library bridge: the tier's prefix with "-bridge" in its name (a
# lane of a parallel run has its own), made once; `start` starts its
# wineserver apart from the caller's output (ctest's), `stop` ends it.
#   scripts/bridge-prefix.sh PREFIX start|stop
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export WINEPREFIX="$1-bridge${TZ600A_LANE:+-lane$TZ600A_LANE}"
case ${2:-} in
start) ensure_wine_prefix && start_wineserver ;;
stop) wineserver -k 2>/dev/null || true ;;
*) echo "usage: $0 PREFIX start|stop" >&2; exit 2 ;;
esac
