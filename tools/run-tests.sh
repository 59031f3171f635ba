#!/usr/bin/env bash
# Checks the sources' style, then builds everything and runs the whole suite: plainly, then under
# AddressSanitizer with UndefinedBehaviorSanitizer, then under ThreadSanitizer, then the Windows builds (the
# 64-bit suites under Wine). Set NARV_QUICK=1 to skip the sanitizer runs and fuzzing, NARV_NO_WINDOWS=1 to skip Windows.
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

echo "== style: the house format and the bug-finding checks"
bash tools/check-style.sh

echo "== plain build"
run_suite build

if [ "${NARV_NO_WINDOWS:-0}" != 1 ]; then
  echo "== Windows: 32- and 64-bit cross-builds, the 64-bit suites under Wine"
  windows_start=$SECONDS
  NARV_WINDOWS_TESTS=1 NARV_HOST_SIMULATOR="$PWD/build/tools/FrontSimulator/narv_front_simulator" \
    bash tools/build-windows.sh
  echo "-- Windows stage: $((SECONDS - windows_start)) s"
fi

if [ "${NARV_QUICK:-0}" != 1 ]; then
  echo "== address and undefined-behaviour sanitizers"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    run_suite build-asan -DNARV_SANITIZE=address,undefined -DNARV_BUILD_BENCH=OFF
  echo "== thread sanitizer"
  # ThreadSanitizer cannot map its shadow memory under the kernel's widest address randomisation.
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    setarch "$(uname -m)" -R bash -c "$(declare -f run_suite); jobs=$jobs; run_suite build-tsan -DNARV_SANITIZE=thread -DNARV_BUILD_BENCH=OFF"
fi

if [ "${NARV_QUICK:-0}" != 1 ]; then
  echo "== fuzzing (libFuzzer, clang, address and undefined-behaviour sanitizers)"
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNARV_BUILD_FUZZERS=ON \
    -DNARV_BUILD_TESTS=OFF -DNARV_BUILD_BENCH=OFF -DNARV_SANITIZE=address,undefined >/dev/null
  cmake --build build-fuzz -j"$jobs" --target narv_fuzzers
  seconds=${NARV_FUZZ_SECONDS:-60}
  for fuzzer in build-fuzz/tests/fuzz/fuzz_*; do
    name=$(basename "$fuzzer"); corpus=tests/fuzz/corpus/${name#fuzz_}
    echo "-- $name: replaying $corpus"
    "$fuzzer" -runs=0 "$corpus"
    echo "-- $name: fuzzing for ${seconds}s"
    scratch=$(mktemp -d)
    if ! "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" \
         "$scratch" "$corpus" >"$scratch/log" 2>&1; then
      tail -n 60 "$scratch/log"
      for crash in "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-*; do
        [ -e "$crash" ] && { echo "input:"; xxd "$crash" | head -n 40; }
      done
      exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units)' "$scratch/log" || true
    rm -rf "$scratch"
  done
fi
