#!/usr/bin/env bash
# The front simulator as scripts drive it: the first line on standard output names both ports, SIGINT and
# SIGTERM end it with status 0, and options it cannot use are refused with a message and status 2.
set -uo pipefail
simulator=$1
example_config=$2
scratch=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# --help documents the line scripts read.
"$simulator" --help >"$scratch/help" || fail "--help exits with $?"
grep -q 'trade=HOST:PORT quote=HOST:PORT' "$scratch/help" || fail "--help does not show the port line"

# Refused options: status 2 and a message on standard error, nothing on standard output.
while IFS= read -r options; do
    # shellcheck disable=SC2086
    "$simulator" $options >"$scratch/out" 2>"$scratch/err"
    status=$?
    [ "$status" -eq 2 ] || fail "'$options' exits with $status, not 2"
    [ -s "$scratch/err" ] || fail "'$options' gives no message"
    [ -s "$scratch/out" ] && fail "'$options' writes to standard output"
done <<'EOF'
--no-such-option
--quote-rate fast
--quote-rate 0
--trade-port 70000
--trading-day 2026/03/02
--account demo
--instrument cu2601:SHFE:71230.5:10
--config /nonexistent/simulator.conf
--fault-services trade,foo
--front-id -1
--front-id 2147483647
EOF

# Started on free ports it prints them, serves, and stops cleanly on either signal; once with the
# example configuration kept next to the simulator.
for signal in TERM INT; do
    fifo=$scratch/out-$signal
    mkfifo "$fifo"
    options=(--quote-rate 50)
    [ "$signal" = INT ] && options=(--config "$example_config")
    "$simulator" "${options[@]}" >"$fifo" 2>"$scratch/err" &
    pid=$!
    exec 3<"$fifo"
    IFS= read -r -t 30 line <&3 || fail "no port line"
    [[ $line =~ ^trade=127\.0\.0\.1:([0-9]+)\ quote=127\.0\.0\.1:([0-9]+)$ ]] || fail "port line '$line'"
    trade=${BASH_REMATCH[1]} quote=${BASH_REMATCH[2]}
    [ "$trade" -gt 0 ] && [ "$quote" -gt 0 ] && [ "$trade" -ne "$quote" ] || fail "ports $trade and $quote"
    for port in "$trade" "$quote"; do
        (exec 4<>"/dev/tcp/127.0.0.1/$port") || fail "nothing listens on $port"
    done
    kill -"$signal" "$pid"
    wait "$pid"
    status=$?
    pid=
    exec 3<&-
    [ "$status" -eq 0 ] || fail "SIG$signal ends it with status $status"
done

# A port that is taken: status 3.
"$simulator" --quote-rate 50 >"$scratch/first" 2>/dev/null &
pid=$!
for _ in $(seq 300); do [ -s "$scratch/first" ] && break; sleep 0.1; done
taken=$(sed -n 's/^trade=[^:]*:\([0-9]*\) .*/\1/p' "$scratch/first")
[ -n "$taken" ] || fail "no port line from the first simulator"
"$simulator" --trade-port "$taken" >/dev/null 2>"$scratch/err"
status=$?
[ "$status" -eq 3 ] || fail "a taken port exits with $status, not 3"
grep -q "trade service on .*:$taken" "$scratch/err" || fail "the error does not name the service and the port: $(cat "$scratch/err")"
kill -TERM "$pid"; wait "$pid"; pid=

echo "command line: ok"
