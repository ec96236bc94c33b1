#!/usr/bin/env bash
# Runs one fuzz target for real: libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh TARGET MINUTES [libFuzzer options...]
# TARGET names a file tests/fuzz/fuzz_TARGET.cpp (replyparser, cardconfig, userconfig,
# clientconfig, templates, ipcardmessages, des). The build lives in build-fuzz/; new inputs
# collect in build-fuzz/corpus/TARGET (the repository's seeds are read, never written). A finding
# is saved in build-fuzz/findings/TARGET/ and fails the run: put it into
# tests/fuzz/reproducers/TARGET/ together with its fix, so that CTest replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ] || ! [[ $2 =~ ^[0-9]+$ ]]; then
  sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
target=$1
minutes=$2
shift 2
if [ ! -f "tests/fuzz/fuzz_$target.cpp" ]; then
  echo "no fuzz target '$target'; there are: $(ls tests/fuzz/fuzz_*.cpp | sed -E 's#.*/fuzz_(.*)\.cpp#\1#' | tr '\n' ' ')" >&2
  exit 2
fi
scripts/install-deps.sh
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DVEXILO_SANITIZE=ON -DVEXILO_FUZZ_ENGINE=libfuzzer -DVEXILO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"${VEXILO_JOBS:-$(nproc)}" --target "fuzz_$target" -- --no-print-directory 2>&1 \
  | grep -vE '^\[ *[0-9]+%\]|^Scanning|^Consolidate|^Automatic MOC|^Built target' || true
test ${PIPESTATUS[0]} -eq 0

# Absolute paths: the targets work in a temporary folder of their own.
corpus=$PWD/build-fuzz/corpus/$target
findings=$PWD/build-fuzz/findings/$target
mkdir -p "$corpus" "$findings"
inputs=("$corpus" "$PWD/tests/fuzz/corpus/$target")
[ -d "tests/fuzz/reproducers/$target" ] && inputs+=("$PWD/tests/fuzz/reproducers/$target")
options=(-print_final_stats=1 -artifact_prefix="$findings/" -timeout=10)
# 0 minutes: no time limit (give -runs=N instead).
[ "$minutes" -gt 0 ] && options+=(-max_total_time=$((minutes * 60)))
[ -f "tests/fuzz/dict/$target.dict" ] && options+=(-dict="$PWD/tests/fuzz/dict/$target.dict")
export QT_QPA_PLATFORM=offscreen
export VEXILO_LOOPBACK_ONLY=1
export ASAN_OPTIONS=detect_leaks=1:malloc_context_size=2
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/sanitizers/ubsan.supp
exec "build-fuzz/fuzz/fuzz_$target" "${options[@]}" "$@" "${inputs[@]}"
