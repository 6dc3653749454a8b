#!/usr/bin/env bash
# Installs what is missing, builds the programs and the results module, lays out the demo
# program folder and starts tavring on it. The tests are not built (scripts/test.sh does).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh tavring ventaro tavring_results program_folder
exec build/program/tavring
