#!/bin/bash
# Runs a command on a virtual X display with the project's Wine prefix and a
# wineserver started on that display:
#   scripts/under-wine.sh COMMAND [ARGS...]
# Wine's desktop process belongs to the display its wineserver first saw, so
# the server is started here, inside xvfb-run, and stopped at the end. With
# TZ600A_LANE=N the command runs in lane N of a parallel test run: the lane's
# own prefix, on a display of its own. TZ600A_TIER=64 runs it in the 64-bit
# prefix (scripts/wine-env.sh).
set -uo pipefail
cd "$(dirname "$0")/.."

if [ -z "${TZ600A_XVFB:-}" ]; then
    # Lanes starting at once, of both tiers, look for free displays from
    # different numbers.
    exec env TZ600A_XVFB=1 xvfb-run -a -n $((99 + 20 * ${TZ600A_LANE:-0} + ${TZ600A_TIER:-32} / 6)) \
        -s "-screen 0 1024x768x24" "$0" "$@"
fi

source scripts/wine-env.sh
ensure_wine_prefix || exit 1
start_wineserver
"$@"
status=$?
wineserver -k
exit $status
