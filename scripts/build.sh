#!/usr/bin/env bash
# Configures (once) and builds everything into build/; the program folder is build/program.
# TAVRING_WERROR=ON turns warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."

werror=${TAVRING_WERROR:-OFF}
cmake -S . -B build -DTAVRING_WERROR="$werror" >/dev/null
cmake --build build -j"$(nproc)"
