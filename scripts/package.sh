#!/usr/bin/env bash
# Builds the Debian package build/tavring_<version>-<release>_<arch>.deb.
# TAVRING_PACKAGE_RELEASE=N sets the Debian revision (default 1), for an upgrade of an installed
# package; TAVRING_WERROR=ON turns warnings into errors.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DTAVRING_WERROR="${TAVRING_WERROR:-OFF}" \
    -DTAVRING_PACKAGE_RELEASE="${TAVRING_PACKAGE_RELEASE:-1}" >/dev/null
cmake --build build --target tavring ventaro -j"$(nproc)"
cd build
cpack -G DEB
