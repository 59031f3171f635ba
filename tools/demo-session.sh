#!/usr/bin/env bash
# One demo session against a built tree:
#   1. installs both libraries, their headers and their packages into a prefix (cmake --install),
#   2. builds narv_demo against that installation (find_package(narv)),
#   3. starts the front simulator on free loopback ports (tools/with-simulator.sh),
#   4. runs narv_demo against it, and stops the simulator whatever happens.
#
#   bash tools/demo-session.sh BUILD_DIR [narv_demo options...]
#
# Scratch files go to $NARV_DEMO_WORK (default BUILD_DIR/demo): prefix/, demo-build/, simulator.log.
# $NARV_SIMULATOR_OPTIONS adds options to the simulator's command line (its fault switches, for tests).
# $NARV_DEMO_PROGRAM runs another program of examples/ instead of narv_demo (e.g. example_queries); it
# gets the same --trade-front and --quote-front options.
# Exit status: narv_demo's own (0 success, 1 refused, 2 usage, 3 timed out, 4 no connection; see
# narv_demo --help), or 9 when the session could not be set up (install, build or simulator failed).
set -euo pipefail

readonly kSetupFailed=9  # as tools/with-simulator.sh, which runs the simulator

fail_setup() {
    echo "demo-session: $*" >&2
    exit "$kSetupFailed"
}

[ $# -ge 1 ] || fail_setup "usage: demo-session.sh BUILD_DIR [narv_demo options...]"
[ -d "$1" ] || fail_setup "no build directory $1"
build=$(cd "$1" && pwd)
shift
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=${NARV_DEMO_WORK:-$build/demo}
prefix=$work/prefix
demo_build=$work/demo-build
simulator=$build/tools/FrontSimulator/narv_front_simulator
mkdir -p "$work"

[ -x "$simulator" ] || fail_setup "$simulator is not built"

# Runs a quiet setup command; shows its output only when it fails.
quietly() {
    local log=$work/setup.log
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        fail_setup "failed: $*"
    fi
}

echo "== installing the libraries into $prefix"
rm -rf "$prefix"
# The libraries' component only: the tools' component needs every tool built, and the demo needs none.
quietly cmake --install "$build" --prefix "$prefix" --component libraries

echo "== building narv_demo and the examples against that installation"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Built without optimisation: it only waits on the network, and compiles in half the time.
quietly cmake -S "$source_dir/examples" -B "$demo_build" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_PREFIX_PATH="$prefix" "${launcher[@]}"
# Cached objects are shared between build directories (debug information names no directory then).
CCACHE_NOHASHDIR=true quietly cmake --build "$demo_build" -j2

echo "== starting the front simulator"
read -r -a simulator_options <<<"${NARV_SIMULATOR_OPTIONS:-}"
export NARV_SIMULATOR_LOG=$work/simulator.log
# shellcheck disable=SC2016  # the fronts are expanded by the inner shell, once the simulator is up
exec bash "$source_dir/tools/with-simulator.sh" "$simulator" --quote-rate 4 "${simulator_options[@]}" -- \
    bash -c 'exec "$0" --trade-front "$NARV_TRADE_FRONT" --quote-front "$NARV_QUOTE_FRONT" "$@"' \
    "$demo_build/${NARV_DEMO_PROGRAM:-narv_demo}" "$@"
