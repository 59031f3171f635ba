#!/usr/bin/env bash
# Runs a command against the front simulator on free loopback ports, and stops the simulator whatever
# happens:
#
#   bash tools/with-simulator.sh SIMULATOR [simulator options...] -- COMMAND [arguments...]
#
# The command finds the fronts in NARV_TRADE_FRONT and NARV_QUOTE_FRONT (host:port). The
# simulator's log goes to $NARV_SIMULATOR_LOG (default: a temporary file); its last lines are shown
# when the command fails. Exit status: the command's own, or 9 when the simulator could not be started.
set -euo pipefail

readonly kSetupFailed=9
readonly kStartSeconds=20  # longest wait for the simulator to announce its ports
readonly kStopSeconds=10   # longest wait for it to stop before it is killed

fail_setup() {
    echo "with-simulator: $*" >&2
    exit "$kSetupFailed"
}

[ $# -ge 1 ] || fail_setup "usage: with-simulator.sh SIMULATOR [options...] -- COMMAND [arguments...]"
simulator=$1
shift
[ -x "$simulator" ] || fail_setup "$simulator is not built"
simulator_options=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    simulator_options+=("$1")
    shift
done
[ $# -ge 2 ] || fail_setup "no command after --"
shift

simulator_log=${NARV_SIMULATOR_LOG:-}
if [ -z "$simulator_log" ]; then
    simulator_log=$(mktemp)
fi
coproc SIMULATOR { exec "$simulator" "${simulator_options[@]}" 2>"$simulator_log"; }
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
        echo "with-simulator: the simulator ignored SIGTERM; killing it" >&2
        kill -KILL "$simulator_pid" 2>/dev/null || true
    fi
    wait "$simulator_pid" 2>/dev/null || true
}
trap 'stop_simulator; [ -n "${NARV_SIMULATOR_LOG:-}" ] || rm -f "$simulator_log"' EXIT
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
export NARV_TRADE_FRONT=${BASH_REMATCH[1]}
export NARV_QUOTE_FRONT=${BASH_REMATCH[2]}
echo "   trade service on $NARV_TRADE_FRONT, quote service on $NARV_QUOTE_FRONT"

status=0
"$@" || status=$?
if [ "$status" -ne 0 ]; then
    echo "with-simulator: $(basename "${@: -1}") exited with status $status; the simulator's log ($simulator_log):" >&2
    tail -n 20 "$simulator_log" >&2 || true
fi
exit "$status"
