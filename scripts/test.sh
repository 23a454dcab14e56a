#!/bin/bash
# Installs what is missing, builds, checks the format of the C and C++ files
# and runs every test: the host tests of the platform-free code and each of
# its fuzz targets for a few seconds, beside the tests of the real data
# source under Wine and Xvfb in parallel lanes (scripts/wine-tests.sh),
# which mostly wait for windows and the camera.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh
scripts/check-format.sh

host_log=build/native/host-tests.log
{ ctest --test-dir build/native --output-on-failure && scripts/fuzz.sh 4; } >"$host_log" 2>&1 &
host=$!
wine=0
scripts/wine-tests.sh || wine=1
if ! wait $host; then
    cat "$host_log"
    echo "The host tests or a fuzz target failed (log: $host_log)"
    exit 1
fi
grep -h -E "tests passed|^fuzz_" "$host_log"
exit $wine
