#!/bin/bash
# Installs what is missing, builds, and runs every test: the host tests of
# the platform-free code, and the tests of the real data source under Wine
# and Xvfb in parallel lanes (scripts/wine-tests.sh). The host tests run
# beside the Wine tests, which mostly wait for windows and the camera.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

ctest --test-dir build/native --output-on-failure >build/native/test.log 2>&1 &
native=$!
wine=0
scripts/wine-tests.sh || wine=1
host=0
wait $native || host=1
if [ $host -ne 0 ]; then
    cat build/native/test.log
fi
grep -h "tests passed" build/native/test.log | sed "s/^/Host tests: /"
[ $host -eq 0 ] && [ $wine -eq 0 ]
