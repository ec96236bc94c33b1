#!/usr/bin/env bash
# Configures and builds into build/ with all cores. Shows the steps and one progress figure
# (updated in place on a terminal, every tenth otherwise); compiler messages go to build/build.log
# and, when the build fails, its last lines to the terminal.
set -euo pipefail
cd "$(dirname "$0")/.."
echo "Configuring build/ ..."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
log=build/build.log
echo "Building with $(nproc) jobs (messages in $log) ..."
set +e
cmake --build build -j"$(nproc)" -- --no-print-directory 2>&1 | tee "$log" | {
  shown=-10
  while IFS= read -r line; do
    [[ $line =~ ^\[\ *([0-9]+)%\] ]] || continue
    percent=${BASH_REMATCH[1]}
    if [ -t 1 ]; then
      printf '\r  %3d%%' "$percent"
    elif [ "$percent" -ge $((shown + 10)) ]; then
      echo "  $percent%"
      shown=$percent
    fi
  done
  [ -t 1 ] && echo
}
status=${PIPESTATUS[0]}
set -e
if [ "$status" -ne 0 ]; then
  echo "Build failed; the last messages:" >&2
  grep -vE '^\[ *[0-9]+%\]|^Scanning|^Consolidate|^Automatic MOC|^Built target' "$log" | tail -40 >&2
  exit "$status"
fi
warnings=$(grep -c 'warning:' "$log" || true)
echo "Built ($warnings compiler warnings; see $log)."
