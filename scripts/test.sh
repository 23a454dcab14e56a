#!/bin/bash
# Installs what is missing, builds, and runs every test: the host tests of
# the platform-free code, each of its fuzz targets for a few seconds, then
# the tests of the real data source under Wine and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

ctest --test-dir build/native --output-on-failure
scripts/fuzz.sh 4

scripts/under-wine.sh ctest --test-dir build/win32 --output-on-failure
