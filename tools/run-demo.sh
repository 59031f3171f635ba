#!/usr/bin/env bash
# The README's main command: installs the Debian packages that are missing, builds both libraries and the
# front simulator, installs the libraries into a prefix inside the build tree, builds the demo against
# that installation, and runs it against the simulator on free loopback ports (tools/demo-session.sh,
# which stops the simulator whatever happens). Exits with the demo's status.
#
#   bash tools/run-demo.sh [narv_demo options...]     (NARV_BUILD_DIR chooses the build directory)
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

build=${NARV_BUILD_DIR:-build}
echo "== building the libraries and the front simulator in $build"
if ! configured=$(cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo 2>&1); then
    echo "$configured" >&2
    exit 1
fi
cmake --build "$build" -j"$(nproc)" --target narvtraderapi narvmduserapi narv_front_simulator
exec bash tools/demo-session.sh "$build" "$@"
