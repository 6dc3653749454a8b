#!/usr/bin/env bash
# Installs what is missing, builds, lays out the demo program folder and starts tavring on it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/program/tavring
