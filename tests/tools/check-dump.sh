#!/usr/bin/env bash
# The dump tool over a recorded session: every message decodes cleanly, fields carry the names their
# messages give them (two rows sharing an id included) and the values the session sent.
#   check-dump.sh NARV_WIREDUMP CAPTURE.pcap
set -uo pipefail
export LC_ALL=C  # byte-wise matching: a broken text must fail a check, not the grep
dump=$1 capture=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT

"$dump" "$capture" >"$out"
status=$?
failures=0
fail() { echo "check-dump: $*" >&2; failures=$((failures + 1)); }
[ "$status" -eq 0 ] || fail "exit status $status, expected 0 (problems: $(grep -c '!!' "$out"))"

# Lines that must appear somewhere in the dump.
while IFS= read -r expected; do
  [ -z "$expected" ] && continue
  grep -qF -- "$expected" "$out" || fail "missing: $expected"
done <<'LINES'
C->S trade?
ServiceNo 116 (login)  RequestID 1  EndFlag 0
      InvestorID (1034) = "demo"
ServiceNo 117 (login reply)  RequestID 1  EndFlag 0 (last)
      RspDesc (1027) = "成功"
      TradeDate (1081) = "2026-01-05"
ServiceNo 3 (flow subscription)  RequestID 0  EndFlag 0
ServiceNo 122 (order entry)  RequestID 2  EndFlag 0
      InstrumentID (1046) = "cu2601"
ServiceNo 1 (flow 1 push (account))  kind 124 (order return)  sequence 1
    Order (1148) NELOOrderRecord
ServiceNo 138 (order query reply)  RequestID 3  EndFlag 0 (last)
    OrderList (1154) list of NELOOrderRecord
      row 1 (NELOOrderRecord)
ServiceNo 118 (logout)  RequestID 4  EndFlag 0
ServiceNo 7 (quote subscription)  RequestID 0  EndFlag 0
ServiceNo 8 (quote subscription reply)  RequestID 0  EndFlag 0 (last)
ServiceNo 125 (quote push)  RequestID 0  EndFlag 0
    Quot (1141) NELOQuotRecord
S->C quote
LINES

# Ids shared by two rows of one record are named by their place in it: SysMode, then SessionID (1638)
# in a login reply; AskQty5, then ExchangeID (1637) in a quote push.
awk '/^#/ { block = "" } { block = block $0 "\n" }
     /SessionID \(1638\) = [0-9]+$/ && block ~ /SysMode \(1638\) = / { login = 1 }
     /ExchangeID \(1637\) = "SHFE"/ && block ~ /ServiceNo 125/ && block ~ /AskQty5 \(1637\) = [0-9]+\n/ { quote = 1 }
     END { exit !(login && quote) }' "$out" || fail "shared ids are not named by their message"

# Every message of both connections, in order of the capture: 2 connections, requests and replies.
messages=$(grep -c '^#' "$out")
[ "$messages" -ge 20 ] || fail "only $messages messages"

# The service of the quote connection is told once a quote-only ServiceNo passes.
grep -q '^#.* S->C quote ' "$out" || fail "the quote connection is not recognised"

# The session's password (narv_capture_session logs in with demo123) is masked unless asked for.
! grep -q 'demo123' "$out" || fail "the password is shown without --show-passwords"
grep -qF 'InvestorPassword (1035) = ******** (hidden' "$out" || fail "the masked password is not marked as hidden"
"$dump" --show-passwords "$capture" | grep -F 'InvestorPassword (1035) = "demo123"' >/dev/null ||
  fail "--show-passwords does not show the password"

# Standard input serves as well as a file.
"$dump" - <"$capture" | cmp -s - "$out" || fail "the capture read from standard input dumps differently"

# The same session saved as pcapng (what dumpcap and tshark write) dumps the same.
if command -v editcap >/dev/null; then
  ng=$(mktemp)
  editcap -F pcapng "$capture" "$ng"
  "$dump" "$ng" | cmp -s - "$out" || fail "the pcapng copy of the capture dumps differently"
  rm -f "$ng"
fi

if [ "$failures" -ne 0 ]; then
  echo "--- dump" >&2
  head -n 200 "$out" >&2
  exit 1
fi
echo "check-dump: $messages messages decoded as expected"
