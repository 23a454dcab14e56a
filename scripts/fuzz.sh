#!/bin/bash
# Builds the fuzz targets of the platform-free code (build/fuzz) and runs
# each for SECONDS (60 by default) on its seeds in fuzz/corpus/NAME and on
# what earlier runs found (build/fuzz/corpus/NAME):
#   scripts/fuzz.sh [SECONDS]
# A target that fails stops the run; its input is kept in build/fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTZ600A_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 >/dev/null
cmake --build build/fuzz

export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-16/bin/llvm-symbolizer
export UBSAN_OPTIONS=print_stacktrace=1
mkdir -p build/fuzz/crashes build/fuzz/logs
for seeds in fuzz/corpus/*/; do
    name=$(basename "$seeds")
    log=build/fuzz/logs/$name.log
    mkdir -p "build/fuzz/corpus/$name"
    if ! "build/fuzz/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="build/fuzz/crashes/$name-" \
            "build/fuzz/corpus/$name" "$seeds" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "fuzz_$name failed (log: $log)" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
    echo "fuzz_$name: $runs runs in $seconds s, $coverage"
done
