#!/bin/bash
# Installs what is missing, builds, and runs every test: the host tests of
# the platform-free code, then the tests of the real data source under Wine
# and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh

ctest --test-dir build/native --output-on-failure

scripts/under-wine.sh ctest --test-dir build/win32 --output-on-failure
