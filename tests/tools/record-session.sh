#!/usr/bin/env bash
# Records one session with the front simulator into a pcap file: the simulator serves the trade and the
# quote service, narv_wirerecord relays both and writes what passes, narv_capture_session drives the
# session through the exported interfaces of both libraries.
#   record-session.sh SIMULATOR RECORDER SESSION OUTPUT.pcap
set -euo pipefail
simulator=$1 recorder=$2 session=$3 output=$4
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Waits until FILE has a first line that matches PATTERN; prints that line.
first_line() {
  local file=$1 pattern=$2 pid=$3
  for _ in $(seq 1 600); do
    if [ -s "$file" ] && head -n 1 "$file" | grep -q "$pattern"; then head -n 1 "$file"; return 0; fi
    kill -0 "$pid" 2>/dev/null || { echo "record-session: $(basename "$file" .out) ended early" >&2; cat "$work"/*.err >&2; return 1; }
    sleep 0.1
  done
  echo "record-session: no start line from $(basename "$file" .out)" >&2
  return 1
}

# A fixed seed and trading day keep the recorded values stable; quotes come often so the session is short.
"$simulator" --seed 7 --trading-day 2026-01-05 --quote-rate 20 >"$work/simulator.out" 2>"$work/simulator.err" &
pids+=($!)
line=$(first_line "$work/simulator.out" '^trade=' "${pids[0]}")
trade=$(sed -E 's/^trade=([^ ]+) quote=.*/\1/' <<<"$line")
quote=$(sed -E 's/.* quote=([^ ]+)$/\1/' <<<"$line")

"$recorder" --output "$output" --forward "$trade" --forward "$quote" --sessions 2 \
  >"$work/recorder.out" 2>"$work/recorder.err" &
recorder_pid=$!
pids+=("$recorder_pid")
line=$(first_line "$work/recorder.out" '^listen=' "$recorder_pid")
relayed_trade=$(sed -E 's/^listen=([^,]+),.*/\1/' <<<"$line")
relayed_quote=$(sed -E 's/^listen=[^,]+,(.*)$/\1/' <<<"$line")

"$session" "tcp://$relayed_trade" "tcp://$relayed_quote"

# The recorder ends by itself once both relayed connections are closed.
for _ in $(seq 1 300); do
  kill -0 "$recorder_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$recorder_pid" 2>/dev/null; then
  echo "record-session: the recorder did not see both connections end" >&2
  exit 1
fi
wait "$recorder_pid"
echo "record-session: wrote $output ($(stat -c %s "$output") bytes)"
