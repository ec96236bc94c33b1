#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (headless, loopback only).
set -euo pipefail
cd "$(dirname "$0")"
echo "Checking the packages ..."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
export VEXILO_LOOPBACK_ONLY=1
cd build
echo "Running the test suites ..."
ctest --output-on-failure --no-tests=error -j"$(nproc)" "$@"
