#!/usr/bin/env bash
# Builds everything and runs the whole suite: plainly, then under AddressSanitizer with
# UndefinedBehaviorSanitizer, then under ThreadSanitizer. Set NARV_QUICK=1 to skip the sanitizer runs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

jobs=$(nproc)
run_suite() {  # build-dir, cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 300
}

echo "== plain build"
run_suite build

if [ "${NARV_QUICK:-0}" != 1 ]; then
  echo "== address and undefined-behaviour sanitizers"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DNARV_SANITIZE=address,undefined -DNARV_BUILD_BENCH=OFF
  echo "== thread sanitizer"
  # ThreadSanitizer cannot map its shadow memory under the kernel's widest address randomisation.
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    setarch "$(uname -m)" -R bash -c "$(declare -f run_suite); jobs=$jobs; run_suite build-tsan -DNARV_SANITIZE=thread -DNARV_BUILD_BENCH=OFF"
fi
