#!/usr/bin/env bash
# Configures and builds into build/ with all cores.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" -- --no-print-directory 2>&1 | grep -vE '^\[ *[0-9]+%\]|^Scanning|^Consolidate|^Automatic MOC|^Built target' || true
test ${PIPESTATUS[0]} -eq 0
