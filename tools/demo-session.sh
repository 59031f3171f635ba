#!/usr/bin/env bash
# One demo session against a built tree:
#   1. installs both libraries, their headers and their packages into a prefix (cmake --install),
#   2. builds narv_demo against that installation (find_package(narv)),
#   3. starts the front simulator on free loopback ports and reads them from its first line,
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

readonly kSetupFailed=9
readonly kStartSeconds=20  # longest wait for the simulator to announce its ports
readonly kStopSeconds=10   # longest wait for it to stop before it is killed

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
simulator_log=$work/simulator.log
read -r -a simulator_options <<<"${NARV_SIMULATOR_OPTIONS:-}"
coproc SIMULATOR { exec "$simulator" --quote-rate 4 "${simulator_options[@]}" 2>"$simulator_log"; }
simulator_pid=$SIMULATOR_PID
# Kept by hand: bash forgets the coprocess's descriptors once it ends.
exec {simulator_out}<&"${SIMULATOR[0]}"

stop_simulator() {
    kill -TERM "$simulator_pid" 2>/dev/null || return 0
    local waited=0
    while kill -0 "$simulator_pid" 2>/dev/null && ((waited < kStopSeconds * 10)); do
        sleep 0.1
        waited=$((waited + 1))
    done
    if kill -0 "$simulator_pid" 2>/dev/null; then
        echo "demo-session: the simulator ignored SIGTERM; killing it" >&2
        kill -KILL "$simulator_pid" 2>/dev/null || true
    fi
    wait "$simulator_pid" 2>/dev/null || true
}
trap stop_simulator EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

ports=""
if ! read -r -t "$kStartSeconds" ports <&"$simulator_out"; then
    cat "$simulator_log" >&2
    fail_setup "the simulator did not announce its ports within ${kStartSeconds}s"
fi
if [[ ! $ports =~ ^trade=([^[:space:]]+)\ quote=([^[:space:]]+)$ ]]; then
    cat "$simulator_log" >&2
    fail_setup "unexpected first line from the simulator: '$ports'"
fi
trade_front=${BASH_REMATCH[1]}
quote_front=${BASH_REMATCH[2]}
echo "   trade service on $trade_front, quote service on $quote_front"

status=0
program=${NARV_DEMO_PROGRAM:-narv_demo}
"$demo_build/$program" --trade-front "$trade_front" --quote-front "$quote_front" "$@" || status=$?
if [ "$status" -ne 0 ]; then
    echo "demo-session: $program exited with status $status; the simulator's log ($simulator_log):" >&2
    tail -n 20 "$simulator_log" >&2 || true
fi
exit "$status"
