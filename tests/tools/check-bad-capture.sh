#!/usr/bin/env bash
# Damaged messages are reported where they are, by the dump tool and by the dissector, and neither stops
# at them.
#   check-bad-capture.sh MAKE_BAD_CAPTURE NARV_WIREDUMP TSHARK|- NARV.LUA
set -uo pipefail
export LC_ALL=C
make=$1 dump=$2 tshark=$3 lua=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "check-bad-capture: $*" >&2; failures=$((failures + 1)); }

"$make" "$work/bad.pcap" || { echo "check-bad-capture: no capture written" >&2; exit 1; }

"$dump" "$work/bad.pcap" >"$work/dump.txt" 2>"$work/dump.err"
status=$?
[ "$status" -eq 1 ] || fail "dump exit status $status, expected 1 (problems reported)"
while IFS= read -r expected; do
  grep -qF -- "$expected" "$work/dump.txt" || fail "dump lacks: $expected"
done <<'LINES'
ServiceNo 116 (login)  RequestID 1  EndFlag 0
ServiceNo 117 (login reply)
!! NELORspInfoRecord: a field's value runs past its package
ServiceNo 123 (order entry reply)
      InstrumentID (1046) = "cu2601"
!! field id 4242 is not part of NELOInputOrderRecord
      Qty (1048) = 3
!! RspNo (1026): value of 4 bytes, the type has 2
bad frame: length 9000 above 8188
LINES

if [ "$tshark" != "-" ]; then
  run_tshark() { "$tshark" -n -r "$work/bad.pcap" -X "lua_script:$lua" -o tcp.try_heuristic_first:TRUE "$@" 2>>"$work/tshark.err"; }
  count() { run_tshark -Y "$1" | wc -l; }
  [ "$(count 'narv.ServiceNo == 116 && narv.InvestorID == "demo"')" -eq 1 ] || fail "the good login is not dissected"
  [ "$(count 'narv.ServiceNo == 117 && narv.malformed')" -eq 1 ] || fail "the value running past its group is not flagged"
  [ "$(count 'narv.ServiceNo == 123 && narv.unexpected && narv.Qty == 3')" -eq 1 ] || fail "the stray field is not flagged, or the fields after it are lost"
  [ "$(count 'narv.ServiceNo == 119 && narv.malformed')" -eq 1 ] || fail "the wrong-sized number is not flagged"
  [ "$(count 'narv.length == 9000 && narv.malformed')" -eq 1 ] || fail "the oversized frame is not flagged"
  [ "$(count '_ws.lua.error')" -eq 0 ] || fail "the dissector raised a Lua error"
  if grep -qi 'lua' "$work/tshark.err"; then fail "Lua errors: $(cat "$work/tshark.err")"; fi
fi

if [ "$failures" -ne 0 ]; then
  cat "$work/dump.txt" >&2
  exit 1
fi
echo "check-bad-capture: every damage reported"
