#!/usr/bin/env bash
# narv_demo fails the way scripts rely on: each case below must end with its exit status and say why.
#
#   bash examples/check-demo-failures.sh NARV_DEMO DEMO_SESSION_SCRIPT BUILD_DIR
set -uo pipefail

demo=$1
session=$2
build=$3
failures=0

# expect STATUS TEXT COMMAND...: runs COMMAND, which must exit with STATUS and print TEXT.
expect() {
    local want=$1 text=$2
    shift 2
    local output status
    output=$("$@" 2>&1)
    status=$?
    if [ "$status" -ne "$want" ] || [[ $output != *"$text"* ]]; then
        echo "FAILED: $* -> status $status (expected $want), output:"
        echo "$output" | tail -n 15
        failures=$((failures + 1))
    else
        echo "ok: $* -> $status"
    fi
}

# Nothing listens on port 1 of the loopback interface: connecting is refused, and the library keeps
# retrying, so only the demo's own bounded wait ends the run.
unreachable=127.0.0.1:1

expect 0 "--trade-front" "$demo" --help
expect 2 "both --trade-front and --quote-front are required" "$demo"
expect 2 "bad front address" "$demo" --trade-front nowhere --quote-front "$unreachable"
expect 2 "bad front address" "$demo" --trade-front udp://127.0.0.1:1 --quote-front "$unreachable"
expect 2 "--timeout takes" "$demo" --trade-front "$unreachable" --quote-front "$unreachable" --timeout 0
expect 2 "unknown option" "$demo" --trade-front "$unreachable" --quote-front "$unreachable" --colour
expect 4 "cannot reach the trade front" "$demo" --trade-front "$unreachable" --quote-front "$unreachable" --timeout 1
# Against the simulator: refusals by the trade front end the run with status 1.
expect 1 "trade login failed" bash "$session" "$build" --password wrong
expect 1 "does not know instrument nosuch1" bash "$session" "$build" --instruments nosuch1
# A front that drops the connection, or stops answering, in the middle of the session.
NARV_SIMULATOR_OPTIONS="--fault-services trade --close-after 3" \
    expect 4 "connection" bash "$session" "$build"
NARV_SIMULATOR_OPTIONS="--fault-services trade --silence-after 3" \
    expect 3 "within 2 s (see --timeout)" bash "$session" "$build" --timeout 2

exit $((failures > 0))
