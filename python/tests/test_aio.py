"""The asyncio layer against the bundled simulator."""
import asyncio

import pytest

import narv
from narv.aio import DisconnectedError, MdClient, OrderRejected, RequestRejected, TraderClient

pytestmark = pytest.mark.asyncio
TIMEOUT = 15


async def test_connect_and_wrong_password(fronts):
    async with await TraderClient.connect(fronts.trade, "demo", "demo123", timeout=TIMEOUT) as trader:
        assert trader.login.InvestorID == "demo" and trader.connected.is_set()
    with pytest.raises(RequestRejected) as refused:
        await TraderClient.connect(fronts.trade, "demo", "wrong", timeout=TIMEOUT)
    assert (refused.value.error_id, refused.value.message) == (1002, "密码错误")


async def test_connect_times_out_without_a_front(start_simulator):
    unused = start_simulator().trade  # a port nothing listens on once that simulator is stopped below
    with pytest.raises(asyncio.TimeoutError):
        await TraderClient.connect(unused.replace("127.0.0.1", "127.0.0.2"), "demo", "demo123", timeout=0.5)


async def test_orders_queries_and_returns(fronts):
    async with await TraderClient.connect(fronts.trade, "demo", "demo123", timeout=TIMEOUT) as trader:
        returns = trader.order_returns()
        instruments = await trader.instruments(exchange="SHFE")
        assert {"cu2601", "au2602"} <= {row.InstrumentID for row in instruments}
        quote = (await trader.query("ReqQuotQuery", narv.NarvQuotQueryRecord(InstrumentID="au2602")))[0]

        filled = await trader.buy("au2602", "SHFE", quote.HighLimit, 2)
        await filled.wait(TIMEOUT)
        assert filled.status == "0" and filled.record.QtyTraded == 2

        resting = await trader.buy("au2602", "SHFE", quote.LowLimit, 1)
        await resting.cancel(TIMEOUT)
        assert resting.status == "5" and resting.record.OrderStatusDesc == "已撤消"

        refused = await trader.buy("nosuch", "SHFE", 1.0, 1)
        with pytest.raises(OrderRejected) as error:
            await refused.wait(TIMEOUT)
        assert error.value.error_id == 2001

        seen = []
        async for item in returns:
            seen.append(item)
            if isinstance(item, narv.NarvOrderRecord) and item.OrderRef == resting.ref and item.OrderStatus == "5":
                break
        assert any(isinstance(item, narv.NarvTradeRecord) and item.OrderSysID == filled.record.OrderSysID
                   for item in seen)
        assert filled.qty_traded == 2  # its fills, which came before the later cancellation

        positions = await trader.positions()
        assert any(p.InstrumentID == "au2602" and p.Qty >= 2 for p in positions)
        assert (await trader.funds()).Currency == "CNY"
        assert {filled.ref, resting.ref} <= {o.OrderRef for o in await trader.orders()
                                              if o.SessionID == trader.login.SessionID}


async def test_quotes_as_an_async_iterator(fronts):
    async with await MdClient.connect(fronts.quote, "demo", "demo123", timeout=TIMEOUT) as md:
        await md.subscribe("cu2601", "IF2601")
        received = set()
        async for quote in md.quotes():
            received.add(quote.InstrumentID)
            if received == {"cu2601", "IF2601"}:
                break


async def test_lost_connection_fails_waiting_requests_and_logs_in_again(start_simulator):
    fronts = start_simulator("--fault-services", "quote", "--fault-connections", "1", "--close-after", "2")
    async with await MdClient.connect(fronts.quote, "demo", "demo123", timeout=TIMEOUT) as md:
        with pytest.raises(DisconnectedError):
            await md.subscribe("cu2601", "au2602", "sc2602", timeout=TIMEOUT)
        quotes = md.quotes()
        await asyncio.wait_for(md.disconnected.wait(), TIMEOUT)
        await asyncio.wait_for(md.connected.wait(), TIMEOUT)
        # Subscribed again after the new login: quotes flow.
        quote = await asyncio.wait_for(quotes.__anext__(), TIMEOUT)
        assert quote.InstrumentID in {"cu2601", "au2602", "sc2602"}


async def test_close_ends_iterators(fronts):
    md = await MdClient.connect(fronts.quote, "demo", "demo123", timeout=TIMEOUT)
    quotes = md.quotes()
    md.close()
    with pytest.raises(StopAsyncIteration):
        await asyncio.wait_for(quotes.__anext__(), TIMEOUT)
