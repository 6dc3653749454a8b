#!/usr/bin/env bash
# Configures build/ and builds the given targets (all of the configuration without any);
# the program folder is build/program. TAVRING_WERROR=ON turns warnings into errors;
# further cmake options (-DBUILD_TESTING=ON) come from TAVRING_CMAKE_OPTIONS.
set -euo pipefail
cd "$(dirname "$0")/.."

werror=${TAVRING_WERROR:-OFF}
# shellcheck disable=SC2086
cmake -S . -B build -DTAVRING_WERROR="$werror" ${TAVRING_CMAKE_OPTIONS:-} >/dev/null
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build build -j"$(nproc)" "${targets[@]}"
