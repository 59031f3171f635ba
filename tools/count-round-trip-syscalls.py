#!/usr/bin/env python3
"""System calls per order round trip, by thread and by kind, counted with `perf trace -s`.

perf reads the kernel's system-call tracepoints without stopping the threads (strace stops each one at
every call, which slows the library's thread enough to change which reads find data). Runs each
round-trip benchmark of the loopback benchmark twice under perf, with two numbers of
round trips, and divides the difference of the counts by the difference of the round trips: start-up,
connection and tear-down are the same in both runs and cancel out. Threads are told apart by what they
do: the front's thread is the one that accepts, the benchmark's main thread is the application's
thread, and every other thread belongs to the library. The application thread's sched_yield is the
benchmark waiting for the return (it spins), not the library's doing, and is reported apart.

    tools/count-round-trip-syscalls.py BENCH_BINARY OUTPUT_JSON
"""
import collections
import json
import os
import re
import subprocess
import sys
import tempfile

BENCHMARKS = ["BM_OrderRoundTrip_RawPingPong", "BM_OrderRoundTrip_TraderApi",
              "BM_OrderRoundTrip_TraderApiFromAppThread"]
COUNTS = (2000, 6000)
THREAD = re.compile(r"^\s*\S+ \((\d+)\), \d+ events")
CALL = re.compile(r"^\s+([a-z_0-9]+)\s+(\d+)\s+\d+\s")


def trace(binary, benchmark, round_trips):
    """{role: Counter(syscall -> calls)} of one run."""
    with tempfile.TemporaryDirectory() as scratch:
        log = os.path.join(scratch, "trace")
        env = dict(os.environ, NARV_BENCH_ROUND_TRIPS=str(round_trips))
        subprocess.run(["perf", "trace", "-s", "-o", log, binary, f"--benchmark_filter=^{benchmark}/",
                        "--benchmark_repetitions=1"], env=env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        per_thread = collections.defaultdict(collections.Counter)
        main = None
        thread = None
        with open(log) as f:
            for line in f:
                started = THREAD.match(line)
                if started:
                    thread = int(started.group(1))
                    continue
                call = CALL.match(line)
                if call and thread is not None:
                    per_thread[thread][call.group(1)] += int(call.group(2))
        for tid, calls in per_thread.items():
            if calls["execve"]:
                main = tid
    roles = collections.defaultdict(collections.Counter)
    for pid, calls in per_thread.items():
        if pid == main:
            role = "application thread"
        elif calls["accept"] or calls["accept4"]:
            role = "front"
        else:
            role = "library threads"
        roles[role].update(calls)
    return roles


def main():
    binary, output = sys.argv[1:3]
    result = {}
    for benchmark in BENCHMARKS:
        low, high = (trace(binary, benchmark, n) for n in COUNTS)
        span = COUNTS[1] - COUNTS[0]
        per_role = {}
        for role in set(low) | set(high):
            names = set(low[role]) | set(high[role])
            per_kind = {n: (high[role][n] - low[role][n]) / span for n in names}
            per_role[role] = {n: round(v, 2) for n, v in sorted(per_kind.items()) if abs(v) >= 0.01}
        result[benchmark] = per_role
    with open(output, "w") as f:
        json.dump(result, f, indent=1)
    print(json.dumps(result, indent=1))


if __name__ == "__main__":
    main()
