#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need. Safe to run again.
set -euo pipefail

packages=(
  cmake make g++ ccache
  libboost-dev
  libboost-program-options-dev pkgconf
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  tshark  # runs the generated dissector in the wire-tool tests (editcap comes with it)
  xxd     # shows the input of a fuzzer crash in the test log
  python3 # writes the benchmark report (tools/run-benchmarks.sh)
  linux-perf  # counts the benchmark's system calls per round trip (tools/count-round-trip-syscalls.py)
  # the Python package narv (python/): bindings, its tests, and installing it into a virtual environment
  python3-dev python3-pybind11 pybind11-dev python3-pytest python3-pytest-asyncio python3-venv python3-pip
  python3-setuptools
  clang-format-14 clang-tidy-14  # the style and bug-finding checks (tools/check-style.sh)
  # Windows: the MinGW-w64 cross-compilers, Wine for the 64-bit tests, clang-cl and lld-link for the
  # application built in Microsoft's ABI, llvm-dlltool for the Microsoft import libraries
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 clang-14 lld-14 llvm-14
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
