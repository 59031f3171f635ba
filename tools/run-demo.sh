#!/usr/bin/env bash
# Builds the libraries, the front simulator and the demo, then runs the demo against the simulator
# on loopback.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
if [ ! -x build/examples/narv_demo ] || [ ! -x build/tools/narv_front_simulator ]; then
  echo "the demo and the front simulator are not part of this build yet" >&2
  exit 1
fi
exec bash tools/demo-session.sh build
