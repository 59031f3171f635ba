#!/usr/bin/env python3
"""The asyncio layer: log in to both services, print a few quotes, buy one lot, show the position.

    python3 aio_trader.py tcp://127.0.0.1:17001 tcp://127.0.0.1:17002 [instrument exchange]
"""
import asyncio
import sys

from narv.aio import MdClient, TraderClient


async def main(trade_front, quote_front, instrument="cu2601", exchange="SHFE"):
    async with await TraderClient.connect(trade_front, "demo", "demo123", timeout=10) as trader, \
            await MdClient.connect(quote_front, "demo", "demo123", timeout=10) as md:
        print(f"logged in, trading day {trader.login.TradingDay}")
        quotes = md.quotes()
        await md.subscribe(instrument)
        for _ in range(3):
            quote = await asyncio.wait_for(quotes.__anext__(), 10)
            print(f"  {quote.InstrumentID} {quote.ModifyTime} last {quote.Price:g} "
                  f"bid {quote.BidPrice:g} ask {quote.AskPrice:g}")
        # A buy at the day's upper limit trades at once against the best ask.
        order = await trader.buy(instrument, exchange, quote.HighLimit, 1)
        await order.wait(10)
        print(f"order {order.ref}: {order.record.OrderStatusDesc}, traded {order.record.QtyTraded}")
        for position in await trader.positions():
            print(f"  position {position.InstrumentID} {'long' if position.BSFlag == '2' else 'short'} "
                  f"{position.Qty}")


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    asyncio.run(main(*sys.argv[1:5]))
