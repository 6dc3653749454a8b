#!/usr/bin/env bash
# Builds and runs every benchmark program in build/bench, offscreen unless a display is set.
# Timings are medians of interleaved pairs; on a busy machine run it twice and compare.
set -euo pipefail
cd "$(dirname "$0")/.."
benchmarks=(bench_files bench_results bench_startup)
TAVRING_CMAKE_OPTIONS="-DBUILD_TESTING=ON ${TAVRING_CMAKE_OPTIONS:-}" \
    scripts/build.sh "${benchmarks[@]}" program_folder
if [ -z "${DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
for bench in "${benchmarks[@]}"; do
    echo "== $bench"
    "build/bench/$bench"
done
