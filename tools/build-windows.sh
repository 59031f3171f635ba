#!/usr/bin/env bash
# Cross-builds both libraries for 32- and 64-bit Windows with MinGW-w64 and checks them without
# running them: build-win32/dist/narv-<version>-win32.zip and build-win64/dist/narv-<version>-win64.zip,
# each with the two DLLs, their import libraries for Microsoft's linker and for MinGW, the exported
# headers and a readme. The build also compiles an application in Microsoft's ABI (clang-cl) and links
# it with lld-link against the Microsoft import libraries, and checks each DLL's export and import
# tables.
#
# NARV_WINDOWS_TESTS=1 also builds the 64-bit test suites and runs them under Wine, with the
# Microsoft-ABI application trading against the front simulator of the Linux build in build/ (or
# $NARV_HOST_SIMULATOR). 32-bit Windows programs cannot run here (no 32-bit Wine), so the 32-bit build
# is built and checked but not run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

jobs=$(nproc)
build_windows() {  # triple, build-dir, cmake options...
  local triple=$1 dir=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$triple.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNARV_BUILD_BENCH=OFF "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}
static_checks() {  # build-dir: the export and import tables, the Microsoft-ABI application's link
  ctest --test-dir "$1" --output-on-failure -L windows-static
}

echo "== Windows, 32-bit (built and checked; not run)"
build_windows i686 build-win32 -DNARV_BUILD_TESTS=OFF
static_checks build-win32

if [ "${NARV_WINDOWS_TESTS:-0}" = 1 ]; then
  simulator=${NARV_HOST_SIMULATOR:-$PWD/build/tools/FrontSimulator/narv_front_simulator}
  [ -x "$simulator" ] || { echo "build-windows: no front simulator at $simulator (build the Linux tree first)" >&2; exit 1; }
  echo "== Windows, 64-bit, with the test suites under Wine"
  build_windows x86_64 build-win64 -DNARV_BUILD_TESTS=ON -DNARV_HOST_SIMULATOR="$simulator"
  # One private Wine prefix, prepared before any ctest run: ctest lists each suite's tests by running
  # its program under Wine, and a first start that has to create the prefix takes longer than the
  # listing may. Its server runs until the end.
  bash tools/windows/wine-run.sh --boot build-win64
  trap 'bash tools/windows/wine-run.sh --stop build-win64' EXIT
  static_checks build-win64
  ctest --test-dir build-win64 --output-on-failure -j"$jobs" --timeout 300 -LE windows-static
else
  echo "== Windows, 64-bit"
  build_windows x86_64 build-win64 -DNARV_BUILD_TESTS=OFF
  static_checks build-win64
fi
ls -l build-win32/dist/*.zip build-win64/dist/*.zip
