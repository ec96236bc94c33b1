#!/usr/bin/env bash
# Builds the suites labelled "sanitize" (see tests/CMakeLists.txt) and what they start with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang) in build-sanitize/, then runs them
# there. Any report ends its process, so its test fails. Leak reports are suppressed only for
# allocations made by the libraries named in tests/sanitizers/lsan.supp (Qt's, the system's).
# The suites run in a network namespace of their own where the system allows it.
#   scripts/sanitize.sh [ctest arguments...]      VEXILO_JOBS=N sets the parallel jobs
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=${VEXILO_JOBS:-$(nproc)}
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DVEXILO_SANITIZE=ON -DVEXILO_BUILD_BENCH=OFF >/dev/null
targets=$(cd build-sanitize && ctest -N -L sanitize | sed -nE 's/^ *Test +#[0-9]+: +([A-Za-z0-9_]+)$/\1/p')
cmake --build build-sanitize -j"$jobs" --target $targets devicesim vexilo -- --no-print-directory 2>&1 \
  | grep -vE '^\[ *[0-9]+%\]|^Scanning|^Consolidate|^Automatic MOC|^Built target' || true
test ${PIPESTATUS[0]} -eq 0
export QT_QPA_PLATFORM=offscreen
export VEXILO_LOOPBACK_ONLY=1
export ASAN_OPTIONS=detect_leaks=1:malloc_context_size=2:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/sanitizers/ubsan.supp
cd build-sanitize
# .ci/run runs these beside the plain suites, whose simulated matrices and IP cards listen on
# the same fixed loopback addresses and ports. Where the system allows it, these suites get a
# network of their own: a namespace whose loopback no other run shares.
isolated=()
if command -v ip >/dev/null && unshare --net true 2>/dev/null; then
  isolated=(unshare --net sh -c 'ip link set lo up && exec "$@"' isolated)
  echo "Running in a network namespace of its own."
fi
${isolated[@]+"${isolated[@]}"} ctest --output-on-failure --no-tests=error -L sanitize -j"$jobs" "$@"
