#!/bin/bash
# Installs what is missing, builds, checks the format of the C and C++ files
# and the built data sources of both architectures, and runs every test: the
# host tests of the platform-free code and each of its fuzz targets for a few
# seconds, beside the tests of the real data source under Wine and Xvfb in
# each tier this machine can run (scripts/wine-tests.sh), which mostly wait
# for windows and the camera. The 64-bit tier runs everywhere, the 32-bit
# tier where the machine executes 32-bit x86 code (scripts/host-tiers.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/host-tiers.sh

scripts/setup.sh
scripts/build.sh
scripts/check-format.sh
scripts/check-dlls.sh

tiers=(64)
skipped=""
if host_runs_32bit_code; then
    tiers=(32 64)
else
    skipped="32-bit tier: not run: $no_32bit_reason"
fi

host_log=build/native/host-tests.log
{ ctest --test-dir build/native --output-on-failure && scripts/fuzz.sh 4; } >"$host_log" 2>&1 &
host=$!
# Two tiers at once share the machine: three lanes each keep it busy.
((${#tiers[@]} > 1)) && export TZ600A_TEST_LANES=${TZ600A_TEST_LANES:-3}
declare -A tier_pids
for tier in "${tiers[@]}"; do
    scripts/wine-tests.sh "$tier" >"build/win$tier/wine-tests.log" 2>&1 &
    tier_pids[$tier]=$!
done

# A tier passes when its lanes ran tests and none failed.
status=0
summary=()
for tier in "${tiers[@]}"; do
    log=build/win$tier/wine-tests.log
    wait "${tier_pids[$tier]}" && result=0 || result=1
    count=$(grep -h -o "^$tier-bit lane [0-9]*: .* tests failed out of [0-9]*" "$log" |
            awk '{n += $NF} END {print n + 0}')
    left_out=$(grep -h -o "[0-9]* tests of the camera library bridge not run: .*" "$log" || true)
    if ((result == 0 && count > 0)); then
        summary+=("$tier-bit tier: passed, $count tests${left_out:+; $left_out}")
    else
        status=1
        cat "$log"
        summary+=("$tier-bit tier: FAILED, $count tests ran (log: $log)")
    fi
done
[ -n "$skipped" ] && summary=("$skipped" "${summary[@]}")
if ! wait $host; then
    cat "$host_log"
    echo "The host tests or a fuzz target failed (log: $host_log)"
    status=1
fi
grep -h -E "tests passed|^fuzz_" "$host_log" || true
printf '%s\n' "${summary[@]}"
exit $status
