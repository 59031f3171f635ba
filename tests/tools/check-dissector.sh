#!/usr/bin/env bash
# The generated Lua dissector under tshark over a recorded session: the frames are found, named and
# decoded field by field, with the same values the session sent, and nothing is flagged as malformed.
#   check-dissector.sh TSHARK NARV.LUA CAPTURE.pcap
set -uo pipefail
export LC_ALL=C  # byte-wise matching: a broken text must fail a check, not the grep
tshark=$1 lua=$2 capture=$3
fields=$(mktemp) errors=$(mktemp)
trap 'rm -f "$fields" "$errors"' EXIT
# Ephemeral ports may belong to other dissectors; ours finds the connections by their first bytes.
run_tshark() { "$tshark" -n -r "$capture" -X "lua_script:$lua" -o tcp.try_heuristic_first:TRUE "$@" 2>>"$errors"; }

failures=0
fail() { echo "check-dissector: $*" >&2; failures=$((failures + 1)); }

# One line per dissected message (several messages in one segment are split by the aggregator).
run_tshark -Y narv -T fields -E separator=/t -E occurrence=a -E aggregator=';' \
  -e narv.direction -e narv.service -e narv.ServiceNo -e narv.meaning -e narv.InvestorID -e narv.InstrumentID \
  -e narv.ExchangeID -e narv.AskQty5 -e narv.RspDesc -e narv.kind -e narv.sequence -e narv.SessionID \
  -e narv.SysMode >"$fields"
if grep -qi 'lua' "$errors"; then fail "Lua errors: $(cat "$errors")"; fi

# Messages that must be there, as display filters over the decoded fields (names and values both).
expect() {  # description, display filter
  local n
  n=$(run_tshark -Y "$2" | wc -l)
  [ "$n" -ge 1 ] || fail "$1: no frame matches $2"
}
expect "login request with its investor" \
  'narv.ServiceNo == 116 && narv.direction == "C->S" && narv.meaning == "login" && narv.InvestorID == "demo"'
expect "login reply: text decoded from GBK, SessionID named by the login reply" \
  'narv.ServiceNo == 117 && narv.RspDesc == "成功" && narv.SessionID == 4294967297 && narv.TradeDate == "2026-01-05"'
expect "order entry with instrument and exchange" \
  'narv.ServiceNo == 122 && narv.direction == "C->S" && narv.InstrumentID == "cu2601" && narv.ExchangeID == "SHFE" && narv.Qty == 1'
expect "first flow-1 push is an order return with sequence 1" \
  'narv.ServiceNo == 1 && narv.kind == 124 && narv.sequence == 1 && narv.meaning contains "order return"'
expect "order query reply rows are order records" 'narv.ServiceNo == 138 && narv.record == "NELOOrderRecord"'
expect "quote subscription of cu2601" \
  'narv.service == "quote" && narv.ServiceNo == 7 && narv.direction == "C->S" && narv.InstrumentID == "cu2601"'
expect "quote push: AskQty5 and ExchangeID share id 1637 and both are named" \
  'narv.service == "quote" && narv.ServiceNo == 125 && narv.ExchangeID == "SHFE" && narv.AskQty5 >= 0 && narv.Price > 0'

# Nothing malformed, nothing unexpected, no dissector error.
flagged=$(run_tshark -Y 'narv.malformed or narv.unexpected or _ws.malformed or _ws.lua.error' | wc -l)
[ "$flagged" -eq 0 ] || fail "$flagged frame(s) flagged: $(run_tshark -Y 'narv.malformed or narv.unexpected or _ws.malformed or _ws.lua.error' | head -n 5)"

# As many messages as the session had: each ServiceNo value is one message.
count=$(cut -f3 "$fields" | tr ';' '\n' | grep -c .)
[ "$count" -ge 20 ] || fail "only $count messages dissected"

if [ "$failures" -ne 0 ]; then
  echo "--- tshark fields" >&2
  cat "$fields" >&2
  exit 1
fi
echo "check-dissector: $count messages dissected as expected"
