#!/usr/bin/env python3
"""Quotes per second delivered by the market-data library into a Python callback and into an
asyncio iterator (narv.aio), beside the library's C++ figure measured in the same run.

    PYTHONPATH=build/python /usr/bin/python3 bench/python_quotes.py [BUILD_DIR] [QUOTES]

Each figure counts QUOTES identical quotes written by bench's quote source as fast as they are read.
"""
import asyncio
import json
import subprocess
import sys
import threading
import time
from pathlib import Path

import narv
from narv import aio

BUILD = Path(sys.argv[1] if len(sys.argv) > 1 else "build")
QUOTES = int(sys.argv[2]) if len(sys.argv) > 2 else 200_000


def quote_source():
    process = subprocess.Popen([str(BUILD / "bench/narv_bench_quote_source"), str(QUOTES)],
                               stdout=subprocess.PIPE, text=True)
    return process, process.stdout.readline().strip()


def into_callback() -> float:
    source, front = quote_source()
    done = threading.Event()

    class Counter(narv.CNarvSqelMdSpi):
        count = 0
        start = 0.0

        def OnDepthQuoteNty(self, quote):
            if self.count == 0:
                self.start = time.perf_counter()
            self.count += 1
            if self.count == QUOTES:
                done.set()

    api = narv.CNarvSqelMdApi.CreateSqelMdApi()
    counter = Counter()
    api.RegisterSpi(counter)
    api.RegisterFront(front)
    api.Init()
    done.wait(300)
    elapsed = time.perf_counter() - counter.start
    api.Release()
    source.wait()
    return (QUOTES - 1) / elapsed


async def into_async_iterator() -> float:
    source, front = quote_source()
    # The quote source needs no login: the client is driven below its connect() for the measurement.
    client = aio.MdClient(narv.CNarvSqelMdApi.CreateSqelMdApi(), front, "", "", "")
    client._OnConnected = lambda name: None
    quotes = client.quotes()
    client._api.Init()
    count, start = 0, 0.0
    async for _ in quotes:
        if count == 0:
            start = time.perf_counter()
        count += 1
        if count == QUOTES:
            break
    elapsed = time.perf_counter() - start
    client.close()
    source.wait()
    return (QUOTES - 1) / elapsed


def cpp_figure() -> float:
    output = subprocess.run([str(BUILD / "bench/narv_bench_loopback"), "--benchmark_filter=^BM_QuoteStream_MdApi/",
                             "--benchmark_format=json"], capture_output=True, text=True, check=True).stdout
    return json.loads(output)["benchmarks"][0]["items_per_second"]


def main() -> None:
    figures = [("C++ callback (narv_bench_loopback BM_QuoteStream_MdApi)", cpp_figure()),
               ("Python callback (CNarvSqelMdSpi.OnDepthQuoteNty)", into_callback()),
               ("asyncio iterator (narv.aio.MdClient.quotes)", asyncio.run(into_async_iterator()))]
    print("| consumer | quotes per second |\n|---|---|")
    for name, rate in figures:
        print(f"| {name} | {rate:,.0f} |")


if __name__ == "__main__":
    main()
