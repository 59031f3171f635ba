#!/usr/bin/env bash
# Builds the benchmarks in Release, runs them all and writes docs/PERFORMANCE.md: every figure beside
# its floor measured in the same run, their ratio, the targets, and the machine it ran on. The part of
# the report from its "## History" heading on is kept as it is (before/after notes live there).
#
#   tools/run-benchmarks.sh                  # build dir build-bench
#   NARV_BENCH_BUILD_DIR=/tmp/b tools/run-benchmarks.sh
#   NARV_BENCH_REPETITIONS=5 tools/run-benchmarks.sh
#
# The figures are medians over the repetitions. On a machine shared with other work they move from run
# to run; the ratios, taken against floors measured in the same run, move much less.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${NARV_BENCH_BUILD_DIR:-build-bench}
repetitions=${NARV_BENCH_REPETITIONS:-3}
jobs=${NARV_BENCH_JOBS:-2}
report=docs/PERFORMANCE.md
export CCACHE_NOHASHDIR=true

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DNARV_BUILD_BENCH=ON -DNARV_SANITIZE= >/dev/null
cmake --build "$build" -j"$jobs" --target narv_bench_micro narv_bench_loopback

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for bench in narv_bench_micro narv_bench_loopback; do
  echo "== $bench"
  "$build/bench/$bench" --benchmark_repetitions="$repetitions" --benchmark_display_aggregates_only=true \
    --benchmark_out="$results/$bench.json" --benchmark_out_format=json
done
# System calls per round trip, by thread and kind (perf trace; left out where perf cannot trace).
if command -v perf >/dev/null && perf trace -s -o /dev/null true >/dev/null 2>&1; then
  echo "== system calls per order round trip (perf trace)"
  /usr/bin/python3 tools/count-round-trip-syscalls.py "$build/bench/narv_bench_loopback" "$results/syscalls.json" >/dev/null
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
mkdir -p docs
NARV_CPU="$cpu" NARV_CORES="$(nproc)" NARV_KERNEL="$(uname -sr)" NARV_COMPILER="$(c++ --version | head -n1)" \
NARV_COMMIT="$(git rev-parse --short HEAD 2>/dev/null || echo unknown)" NARV_LOAD="$load_before -> $load_after" \
NARV_REPETITIONS="$repetitions" \
python3 - "$results/narv_bench_micro.json" "$results/narv_bench_loopback.json" "$report" "$results/syscalls.json" <<'PY'
import datetime
import json
import os
import sys

micro_path, loopback_path, report_path, syscalls_path = sys.argv[1:5]
repetition_runs = {}  # name -> the individual repetitions

def medians(path):
    """Median aggregate of every benchmark, by its plain name; the repetitions go to repetition_runs."""
    with open(path) as f:
        data = json.load(f)
    runs = {}
    for b in data["benchmarks"]:
        if b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"]).split("/")[0]
        if b.get("run_type") == "iteration":
            repetition_runs.setdefault(name, []).append(b)
            runs.setdefault(name, b)  # a single repetition has no aggregates
            continue
        if b.get("aggregate_name") == "median":
            runs[name] = b
    return runs

runs = {}
runs.update(medians(micro_path))
runs.update(medians(loopback_path))
syscalls = {}
if os.path.exists(syscalls_path):
    with open(syscalls_path) as f:
        syscalls = json.load(f)

def spread(name, key, per_item=False):
    """The lowest and highest of a figure over the repetitions, as text."""
    values = []
    for b in repetition_runs.get(name, []):
        if key in b:
            v = float(b[key])
            values.append(1e9 / v if per_item and v else v)
    if len(values) < 2:
        return "n/a"
    return f"{fmt(min(values))} to {fmt(max(values))}"

def get(name, key):
    b = runs.get(name)
    return None if b is None or key not in b else float(b[key])

def ns_per_item(name):
    """CPU nanoseconds per message of a single-threaded micro-benchmark."""
    rate = get(name, "items_per_second")
    return None if not rate else 1e9 / rate

def fmt(value, digits=1):
    if value is None:
        return "n/a"
    if abs(value) >= 100000:
        return f"{value:,.0f}"
    return f"{value:.{digits}f}"

def ratio(figure, floor):
    if figure is None or floor is None or floor == 0:
        return None
    return figure / floor

targets = []  # (what, figure, floor, ratio, spread, target text, met)

def target(what, figure, floor, r, text, met, figure_spread="n/a"):
    targets.append((what, figure, floor, fmt(r, 2) if r is not None else "n/a", figure_spread, text,
                    "n/a" if met is None else ("yes" if met else "**no**")))

lines = []
out = lines.append

out("# Performance")
out("")
out("Written by `tools/run-benchmarks.sh`; do not edit above the History heading. Every figure stands")
out("beside a floor measured in the same run on the same machine: a plain copy of the same bytes for the")
out("codec, a plain socket peer for the loopback figures. Figures are medians over the repetitions.")
out("")
out("## Machine")
out("")
out(f"- CPU: {os.environ['NARV_CPU']}, {os.environ['NARV_CORES']} cores")
out(f"- Kernel: {os.environ['NARV_KERNEL']}")
out(f"- Compiler: {os.environ['NARV_COMPILER']}, Release build")
out(f"- Commit: {os.environ['NARV_COMMIT']}, run {datetime.datetime.utcnow():%Y-%m-%d %H:%M} UTC, "
    f"{os.environ['NARV_REPETITIONS']} repetitions")
out(f"- Load average (1, 5, 15 min) before -> after the run: {os.environ['NARV_LOAD']}")
out("")

# ---- codec -------------------------------------------------------------------------------------------
quote_copy = ns_per_item("BM_QuoteCopy")
order_copy = ns_per_item("BM_OrderCopy")
frame_copy = ns_per_item("BM_RequestEnvelopeCopy")
codec = [
    ("Quote (ten levels): encode", ns_per_item("BM_QuoteEncode"), quote_copy),
    ("Quote (ten levels): decode", ns_per_item("BM_QuoteDecode"), quote_copy),
    ("Order return: encode", ns_per_item("BM_OrderEncode"), order_copy),
    ("Order return: decode", ns_per_item("BM_OrderDecode"), order_copy),
    ("Order entry: envelope begun, group added, frame length written", ns_per_item("BM_RequestEnvelope"), frame_copy),
]
def copied_bytes(name):
    v = get(name, "bytes_per_message")
    return "n/a" if v is None else f"{v:.0f}"
out("## Codec (CPU time per message)")
out("")
out("Decoding goes into a zeroed record, as the clients do. Floor: `memcpy` of the encoded bytes "
    f"(quote {copied_bytes('BM_QuoteCopy')} B, order return {copied_bytes('BM_OrderCopy')} B, "
    f"order entry frame {copied_bytes('BM_RequestEnvelopeCopy')} B).")
out("")
out("| Operation | ns per message | Floor: copy, ns | Ratio |")
out("|---|---:|---:|---:|")
for what, figure, floor in codec:
    out(f"| {what} | {fmt(figure)} | {fmt(floor)} | {fmt(ratio(figure, floor), 1)} |")
out("")
field_walk = ns_per_item("BM_QuoteFieldWalk")
out(f"The floor of the tagged format itself: a walk over the quote's field headers (id, extension and value")
out(f"length of every field, no value touched) takes {fmt(field_walk)} ns.")
out("")
decode_ratio = ratio(ns_per_item("BM_QuoteDecode"), field_walk)
target("Decoding a ten-level quote", f"{fmt(ns_per_item('BM_QuoteDecode'))} ns", f"{fmt(field_walk)} ns header walk",
       decode_ratio, "at most 1.5", None if decode_ratio is None else decode_ratio <= 1.5,
       spread("BM_QuoteDecode", "items_per_second", per_item=True) + " ns")

# ---- receive path without a socket -------------------------------------------------------------------
out("## Receive path without a socket (CPU time per message)")
out("")
out("A received message handed over as the connection does it, decoded by the client, converted by the API")
out("object and delivered to an application callback that does nothing.")
out("")
out("| Path | ns per message | Heap allocations per message |")
out("|---|---:|---:|")
for what, name in [
    ("Quote push: envelope opened, quote client, market-data API object", "BM_QuoteDispatch"),
    ("Quote push: a read of 64 frames through the framed connection as well", "BM_QuoteReceiveRead"),
    ("Order return on flow 1: envelope opened, trade client, trading API object", "BM_OrderPushDispatch"),
]:
    out(f"| {what} | {fmt(ns_per_item(name))} | {fmt(get(name, 'allocations_per_message'), 3)} |")
out("")

# ---- loopback ----------------------------------------------------------------------------------------
def rate(name):
    return get(name, "items_per_second")

out("## Over loopback, through the shared libraries")
out("")
out("The libraries are loaded as an application loads them and reached through their exported interfaces.")
out("The peers are plain blocking sockets in the benchmark.")
out("")
out("### Streams (messages per second)")
out("")
out("A sender blasts pre-encoded frames (512 per write, 8 writes per iteration). The quotes differ from")
out("one to the next as a market's do: sixteen instruments in turn, prices, quantities, match numbers and")
out("times moving. Floor: a plain reader with the same 1 MiB read size that only walks the frame lengths")
out("of the same stream.")
out("")
out("| Stream | Library, per s | Floor: raw reader, per s | Library / floor | Heap allocations per message |")
out("|---|---:|---:|---:|---:|")
quote_rate, raw_quote_rate = rate("BM_QuoteStream_MdApi"), rate("BM_QuoteStream_RawReader")
push_rate, raw_push_rate = rate("BM_OrderPushStream_TraderApi"), rate("BM_OrderPushStream_RawReader")
out(f"| Quotes to OnDepthQuoteNty | {fmt(quote_rate, 0)} | {fmt(raw_quote_rate, 0)} | "
    f"{fmt(ratio(quote_rate, raw_quote_rate), 2)} | {fmt(get('BM_QuoteStream_MdApi', 'allocations_per_quote'), 4)} |")
out(f"| Order returns to OnOrderNty | {fmt(push_rate, 0)} | {fmt(raw_push_rate, 0)} | "
    f"{fmt(ratio(push_rate, raw_push_rate), 2)} | {fmt(get('BM_OrderPushStream_TraderApi', 'allocations_per_push'), 4)} |")
out("")
quote_ratio = ratio(quote_rate, raw_quote_rate)
target("Quote stream into OnDepthQuoteNty", f"{fmt(quote_rate, 0)}/s", f"{fmt(raw_quote_rate, 0)}/s raw reader",
       quote_ratio, "at least 0.6", None if quote_ratio is None else quote_ratio >= 0.6,
       spread("BM_QuoteStream_MdApi", "items_per_second") + "/s")

trickle = "BM_QuoteTrickle_MdApi"
out("One quote at a time (each written only after the previous one reached the callback, so every read")
out("holds one frame): heap allocations per quote "
    f"{fmt(get(trickle, 'allocations_per_quote'), 3)}; write to callback and back to the writer's thread: median "
    f"{fmt(get(trickle, 'median_us'))} us, 99th percentile {fmt(get(trickle, 'p99_us'))} us.")
out("")

out("### Order round trip (microseconds)")
out("")
out("ReqInputOrder to the start of OnOrderNty against a front that answers each order at once with the")
out("acceptance and the order return in one write, the next order sent either from inside OnOrderNty or")
out("from the application's own thread once it sees the return (it spins, yielding, for it). Floor: a")
out("plain TCP ping-pong of frames of the same sizes "
    f"({fmt(get('BM_OrderRoundTrip_RawPingPong', 'request_bytes'), 0)} B out, "
    f"{fmt(get('BM_OrderRoundTrip_RawPingPong', 'answer_bytes'), 0)} B back) with the same front. "
    "Spread: lowest to highest over the repetitions.")
out("")
out("| Next order sent | | Library | Spread | Floor: raw ping-pong | Spread | Library / floor |")
out("|---|---|---:|---:|---:|---:|---:|")
raw = "BM_OrderRoundTrip_RawPingPong"
for mode, name in [("from OnOrderNty", "BM_OrderRoundTrip_TraderApi"),
                   ("from the application's thread", "BM_OrderRoundTrip_TraderApiFromAppThread")]:
    for label, key, goal in [("median", "median_us", 1.2), ("99th percentile", "p99_us", 2.0)]:
        lib, floor = get(name, key), get(raw, key)
        r = ratio(lib, floor)
        out(f"| {mode} | {label} | {fmt(lib)} | {spread(name, key)} | {fmt(floor)} | {spread(raw, key)} | {fmt(r, 2)} |")
        target(f"Order round trip {mode}, {label}", f"{fmt(lib)} us", f"{fmt(floor)} us ping-pong", r,
               f"at most {goal}", None if r is None else r <= goal, spread(name, key) + " us")
out("")

out("### System calls per order round trip")
out("")
out("Counted with `perf trace -s` over two runs of different lengths; the difference divided by the difference in")
out("round trips, so that start-up and tear-down cancel out. The application's thread is the benchmark's")
out("main thread; its sched_yield is the benchmark spinning for the return, not the library's doing.")
out("")
def syscall_line(per_kind, skip=()):
    kinds = {k: v for k, v in per_kind.items() if k not in skip}
    return sum(kinds.values()), ", ".join(f"{k} {v:g}" for k, v in sorted(kinds.items(), key=lambda kv: -kv[1]))
if syscalls:
    out("| Run | Thread | Calls per round trip | By kind |")
    out("|---|---|---:|---|")
    for name, label in [(raw, "raw ping-pong"), ("BM_OrderRoundTrip_TraderApi", "library, next order from OnOrderNty"),
                        ("BM_OrderRoundTrip_TraderApiFromAppThread", "library, next order from the application's thread")]:
        for role, per_kind in sorted(syscalls.get(name, {}).items()):
            total, kinds = syscall_line(per_kind)
            out(f"| {label} | {role} | {total:.2f} | {kinds} |")
    out("")
    floor_calls = syscall_line(syscalls.get(raw, {}).get("application thread", {}))[0]
    for name, mode in [("BM_OrderRoundTrip_TraderApi", "from OnOrderNty"),
                       ("BM_OrderRoundTrip_TraderApiFromAppThread", "from the application's thread")]:
        roles = syscalls.get(name, {})
        library = syscall_line(roles.get("library threads", {}))[0] + \
            syscall_line(roles.get("application thread", {}), skip=("sched_yield",))[0]
        target(f"System calls per round trip on the library's side, next order {mode}", f"{library:.2f}",
               f"{floor_calls:.2f} ping-pong", ratio(library, floor_calls), "at most 3", library <= 3.0)
else:
    out("Not counted: perf cannot trace system calls here.")
    out("")

out("### Heap allocations in steady state")
out("")
out("Counted by a replaced global operator new in the benchmark executable, which the shared libraries")
out("use too; the benchmark's own peer and sender threads are not counted. Floor: 0.")
out("")
out("| Per | Allocations |")
out("|---|---:|")
alloc_quote = get("BM_QuoteStream_MdApi", "allocations_per_quote")
alloc_trickle = get(trickle, "allocations_per_quote")
alloc_push = get("BM_OrderPushStream_TraderApi", "allocations_per_push")
alloc_rtt = get("BM_OrderRoundTrip_TraderApi", "allocations_per_round_trip")
alloc_req = get("BM_OrderRequests_TraderApi", "allocations_per_request")
alloc_cancel = get("BM_CancelRequests_TraderApi", "allocations_per_request")
alloc_query = get("BM_QueryRequests_TraderApi", "allocations_per_request")
alloc_app_rtt = get("BM_OrderRoundTrip_TraderApiFromAppThread", "allocations_per_round_trip")
out(f"| Received quote, streamed | {fmt(alloc_quote, 4)} |")
out(f"| Received quote, one per read | {fmt(alloc_trickle, 3)} |")
out(f"| Received order return, streamed | {fmt(alloc_push, 4)} |")
out(f"| Order round trip (request sent from the callback, reply and order return received) | {fmt(alloc_rtt, 3)} |")
out(f"| Order round trip (request sent from the application's thread, reply and order return received) | {fmt(alloc_app_rtt, 3)} |")
out(f"| Order entry sent from the application's thread | {fmt(alloc_req, 3)} |")
out(f"| Order cancel sent from the application's thread | {fmt(alloc_cancel, 3)} |")
out(f"| Order query sent from the application's thread | {fmt(alloc_query, 3)} |")
out("")
req_rate = rate("BM_OrderRequests_TraderApi")
out(f"Order entries from the application's thread, until the front has read them: {fmt(req_rate, 0)} per second.")
out("")
# "None per message": fewer than one in ten thousand messages (a run lasts seconds, so anything per read,
# per write or per message shows far above that).
quote_allocs = [v for v in (alloc_quote, alloc_trickle) if v is not None]
worst_quote = max(quote_allocs) if quote_allocs else None
target("Heap allocations per received quote (worse of streamed and one per read)", fmt(worst_quote, 4), "0", None,
       "0", None if worst_quote is None else worst_quote < 0.0001)
push_allocs = [v for v in (alloc_push,) if v is not None]
target("Heap allocations per received order return", fmt(alloc_push, 4), "0", None, "0",
       None if not push_allocs else push_allocs[0] < 0.0001)
request_allocs = [v for v in (alloc_rtt, alloc_app_rtt, alloc_req, alloc_cancel, alloc_query) if v is not None]
worst_request = max(request_allocs) if request_allocs else None
target("Heap allocations per request sent (order entry, cancel, query; round trips with their reply and return)",
       fmt(worst_request, 4), "0", None, "0", None if worst_request is None else worst_request < 0.0001)

summary = ["## Targets", "", "Spread: the figure's lowest to highest over the repetitions.", "",
           "| Target | Figure | Floor | Ratio | Spread | Goal | Met |", "|---|---:|---:|---:|---:|---|---|"]
for what, figure, floor, r, figure_spread, text, met in targets:
    summary.append(f"| {what} | {figure} | {floor} | {r} | {figure_spread} | {text} | {met} |")
summary.append("")
machine_end = lines.index("## Codec (CPU time per message)")
lines[machine_end:machine_end] = summary

history = "## History\n\n(before/after figures of the changes made for speed)\n"
if os.path.exists(report_path):
    with open(report_path) as f:
        previous = f.read()
    at = previous.find("## History")
    if at >= 0:
        history = previous[at:]
with open(report_path, "w") as f:
    f.write("\n".join(lines) + "\n" + history.rstrip("\n") + "\n")
print(f"wrote {report_path}")
PY
