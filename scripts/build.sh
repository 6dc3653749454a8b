#!/usr/bin/env bash
# Configures build/ and builds the given targets (all of the configuration without any);
# the program folder is build/program. TAVRING_WERROR=ON or OFF sets whether warnings are
# errors (a build folder keeps its choice when it is not set); further cmake options
# (-DBUILD_TESTING=ON) come from TAVRING_CMAKE_OPTIONS.
set -euo pipefail
cd "$(dirname "$0")/.."

options=()
[ -n "${TAVRING_WERROR:-}" ] && options+=(-DTAVRING_WERROR="$TAVRING_WERROR")
# shellcheck disable=SC2086
cmake -S . -B build "${options[@]}" ${TAVRING_CMAKE_OPTIONS:-} >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build -j"$(nproc)" "${targets[@]}"
