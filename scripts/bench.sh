#!/usr/bin/env bash
# Builds the project and runs every benchmark in build/bench, offscreen unless a display is set.
# Timings are medians of interleaved pairs; on a busy machine run it twice and compare.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if [ -z "${DISPLAY:-}" ]; then
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
for bench in build/bench/bench_*; do
    [ -x "$bench" ] || continue
    echo "== $(basename "$bench")"
    "$bench"
done
