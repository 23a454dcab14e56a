#!/bin/bash
# Runs the tests of one tier under Wine (32 or 64, the build/winNN tree in a
# prefix of its architecture) in lanes at once (4 unless TZ600A_TEST_LANES
# says otherwise): lane N has a Wine prefix and a virtual display of its own
# and runs every N-th test, so that no two tests at a time share a file of a
# prefix; ctest adds the install into the lane's prefix that its tests need.
#   scripts/wine-tests.sh [32|64]
# Lane logs: build/winNN/lane-N.log.
set -uo pipefail
cd "$(dirname "$0")/.."

export TZ600A_TIER=${1:-32}
build=build/win$TZ600A_TIER
lanes=${TZ600A_TEST_LANES:-4}
# The programs' tests are listed once, before the lanes read the lists.
scripts/under-wine.sh ctest --test-dir $build -N >/dev/null || exit 1

pids=()
for ((lane = 0; lane < lanes; ++lane)); do
    (
        # Lane 0 is the tier's own prefix.
        ((lane > 0)) && export TZ600A_LANE=$lane
        scripts/under-wine.sh ctest --test-dir $build --output-on-failure \
            -I "$((lane + 1)),,$lanes" >"$build/lane-$lane.log" 2>&1
    ) &
    pids+=($!)
done
status=0
for ((lane = 0; lane < lanes; ++lane)); do
    if ! wait "${pids[lane]}"; then
        status=1
        echo "== $TZ600A_TIER-bit lane $lane failed; its log without the tests that passed:"
        grep -v -E "Test +#[0-9]+: .* Passed|^ +Start +[0-9]+:" "$build/lane-$lane.log"
    fi
    grep -h "tests passed" "$build/lane-$lane.log" | sed "s/^/$TZ600A_TIER-bit lane $lane: /"
done
exit $status
