#!/bin/bash
# Runs the tests of one tier under Wine (32 or 64, the build/winNN tree in a
# prefix of its architecture) in lanes at once (4 unless TZ600A_TEST_LANES
# says otherwise): lane N has a Wine prefix and a virtual display of its own
# and its share of the tests, so that no two tests at a time share a file of
# a prefix; ctest adds the install into the lane's prefix that its tests
# need. The shares are planned from the times the tests took last time
# (ctest's cost data), the longest first, each to the lane with least to do.
#   scripts/wine-tests.sh [32|64]
# Lane logs: build/winNN/lane-N.log. The 64-bit tier's tests of the camera
# library bridge (label "bridge") start 32-bit programs: where the machine
# cannot run them, they are left out, and a line says so and why.
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/host-tiers.sh

export TZ600A_TIER=${1:-32}
build=build/win$TZ600A_TIER
lanes=${TZ600A_TEST_LANES:-4}
leave_out=()
if [ "$TZ600A_TIER" = 64 ] && ! host_runs_32bit_code; then
    leave_out=(-LE bridge)
    bridge_tests=$(scripts/under-wine.sh ctest --test-dir $build -N -L bridge | grep -c "Test *#")
    echo "$TZ600A_TIER-bit tier: $bridge_tests tests of the camera library bridge not run: $no_32bit_reason"
fi
# The programs' tests are listed once, before the lanes read the lists.
listing=$(scripts/under-wine.sh ctest --test-dir $build -N "${leave_out[@]}") ||
    { echo "$listing"; exit 1; }

# Prints one line per lane: the numbers of its tests. A test without a
# recorded time counts as one second.
plan_lanes() {
    awk -v lanes="$lanes" '
        FILENAME != "-" { if ($0 == "---") done = 1; else if (!done) cost[$1] = $3; next }
        /^ *Test +#[0-9]+: / {
            number = $2; sub(/#/, "", number); sub(/:/, "", number)
            tests[++count] = number; seconds[number] = ($3 in cost) ? cost[$3] : 1
        }
        END {
            for (i = 1; i <= count; ++i)
                for (j = i + 1; j <= count; ++j)
                    if (seconds[tests[j]] > seconds[tests[i]]) { t = tests[i]; tests[i] = tests[j]; tests[j] = t }
            for (i = 1; i <= count; ++i) {
                least = 0
                for (lane = 1; lane < lanes; ++lane) if (load[lane] < load[least]) least = lane
                load[least] += seconds[tests[i]]; share[least] = share[least] "," tests[i]
            }
            for (lane = 0; lane < lanes; ++lane) print share[lane]
        }' "$1" - <<<"$listing"
}
costs=$build/Testing/Temporary/CTestCostData.txt
[ -f "$costs" ] || costs=/dev/null
mapfile -t shares < <(plan_lanes "$costs")

pids=()
for ((lane = 0; lane < lanes; ++lane)); do
    (
        # Lane 0 is the tier's own prefix.
        ((lane > 0)) && export TZ600A_LANE=$lane
        # The numbers are those of the whole list: a label filter here would
        # make ctest count them within the filtered list.
        scripts/under-wine.sh ctest --test-dir $build --output-on-failure \
            -I "0,0,0${shares[lane]}" >"$build/lane-$lane.log" 2>&1
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
