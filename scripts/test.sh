#!/usr/bin/env bash
# Installs what is missing, builds the programs, the tests and the benchmarks and runs the
# whole test suite with CTest (the benchmarks are only compiled; scripts/bench.sh runs them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
TAVRING_CMAKE_OPTIONS="-DBUILD_TESTING=ON ${TAVRING_CMAKE_OPTIONS:-}" scripts/build.sh
ctest --test-dir build --output-on-failure
