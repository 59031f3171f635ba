"""asyncio clients over the narv libraries: await instead of subclassing.

    trader = await TraderClient.connect("tcp://127.0.0.1:17001", "demo", "demo123", timeout=10)
    order = await trader.buy("cu2601", "SHFE", price=71230, qty=1)
    await order.wait()                        # filled, cancelled, or raises OrderRejected
    positions = await trader.query("ReqPosiQuery", narv.NarvPosiQueryRecord())
    async for update in trader.order_returns():
        ...

    md = await MdClient.connect("tcp://127.0.0.1:17002", "demo", "demo123")
    await md.subscribe("cu2601")
    async for quote in md.quotes():
        ...

Callbacks arrive on the libraries' threads and are handed to the event loop of the client. A lost
connection fails every request still waiting with DisconnectedError and clears the ``connected`` event;
the library reconnects by itself and the client logs in again (and, for quotes, subscribes again), then
sets ``connected`` once more. Iterators do not end on a lost connection: pushes resume after the new
login. ``close()`` (or ``async with``) releases the library's object and ends the iterators.

Threads: a client belongs to the event loop that created it; use it from that loop only.
"""

import asyncio
import collections
import itertools
import threading
from typing import AsyncIterator, Dict, List, Optional, Union

from . import _narv
from ._narv import (CNarvSqelMdApi, CNarvSqelTraderApi, NarvInputOrderRecord, NarvLoginReqRecord,
                    NarvOrderActionRecord, NarvOrderRecord, NarvTradeRecord)

__all__ = ["NarvError", "DisconnectedError", "RequestRejected", "OrderRejected", "Order", "TraderClient",
           "MdClient"]

# OrderStatus codes of NarvOrderRecord.
FILLED = "0"
PARTLY_FILLED = "1"
QUEUED = "3"
CANCELLED = "5"
ACCEPTED = "a"
_FINAL_STATES = (FILLED, CANCELLED)


class NarvError(Exception):
    """A request the library refused (result -1 or -3) or the back end answered with an error."""

    def __init__(self, message: str, error_id: int = 0):
        super().__init__(message if not error_id else f"{message} (ErrorID {error_id})")
        self.error_id = error_id
        self.message = message


class RequestRejected(NarvError):
    """The back end answered a request with a non-zero ErrorID."""


class OrderRejected(RequestRejected):
    """The back end refused an order or its cancellation."""


class DisconnectedError(NarvError, ConnectionError):
    """The connection was lost before the answer came, or no connection is up."""


def _check_sent(result: int, name: str) -> None:
    if result == -1:
        raise DisconnectedError(f"{name} was not sent: no connection or session")
    if result != 0:
        raise NarvError(f"{name} is not provided by the library (result {result})", 0)


class _LoopHandOff:
    """Hands callbacks from the library's threads to the event loop, in the order they arrived.

    A burst of callbacks costs one wake-up of the loop, not one each: the loop is woken only when the
    first item lands in an empty batch, and then runs the whole batch.
    """

    def __init__(self, loop: asyncio.AbstractEventLoop):
        self._loop = loop
        self._lock = threading.Lock()
        self._batch: collections.deque = collections.deque()
        self._scheduled = False

    def put(self, handler, args) -> None:
        with self._lock:
            self._batch.append((handler, args))
            if self._scheduled:
                return
            self._scheduled = True
        try:
            self._loop.call_soon_threadsafe(self._run)
        except RuntimeError:  # the loop is closed: nobody is waiting any more
            pass

    def _run(self) -> None:
        with self._lock:
            batch, self._batch = self._batch, collections.deque()
            self._scheduled = False
        for handler, args in batch:
            handler(*args)


class _Forwarder:
    """The callback object registered with the library: every callback goes to the client's loop."""

    def __init__(self, client: "_Client"):
        self._client = client
        self._hand_off = _LoopHandOff(client._loop)

    def __getattr__(self, name: str):
        if not name.startswith("On"):
            raise AttributeError(name)
        handler = getattr(self._client, "_" + name, None) or self._client._on_reply
        hand_off = self._hand_off

        def forward(*args):
            hand_off.put(handler, (name, *args))
        self.__dict__[name] = forward  # found directly from the next callback on
        return forward


class _Pending:
    """An answer being collected: the records of every callback up to isLast."""

    def __init__(self, loop: asyncio.AbstractEventLoop, name: str):
        self.future = loop.create_future()
        self.name = name
        self.rows: List[object] = []


class _Stream:
    """An async iterator over one kind of push, receiving from the moment it was created. Unbounded:
    a push is never dropped, however slow the consumer."""

    def __init__(self, subscribers: "_Subscribers"):
        self._subscribers = subscribers
        self._queue: asyncio.Queue = asyncio.Queue()
        subscribers.queues.append(self._queue)

    def __aiter__(self) -> "_Stream":
        return self

    async def __anext__(self):
        item = await self._queue.get()
        if item is _Subscribers.END:
            self.close()
            raise StopAsyncIteration
        return item

    def close(self) -> None:
        """Stops receiving (also done when the client closes)."""
        if self._queue in self._subscribers.queues:
            self._subscribers.queues.remove(self._queue)


class _Subscribers:
    """The streams of one kind of push."""

    END = object()

    def __init__(self):
        self.queues: List[asyncio.Queue] = []

    def publish(self, item) -> None:
        for queue in self.queues:
            queue.put_nowait(item)

    def close(self) -> None:
        self.publish(self.END)

    def stream(self) -> _Stream:
        return _Stream(self)


class _Client:
    """What the trading and the market-data clients share: connection, login, request ids, answers."""

    def __init__(self, api, front: str, investor: str, password: str, firm: str):
        self._loop = asyncio.get_running_loop()
        self._api = api
        self._login = NarvLoginReqRecord(FirmID=firm, InvestorID=investor, InvestorPassword=password)
        self._request_ids = itertools.count(1)
        self._pending: Dict[int, _Pending] = {}
        self._first_login = self._loop.create_future()
        self.connected = asyncio.Event()
        """Set while a connection is up and logged in."""
        self.disconnected = asyncio.Event()
        """Set while the connection is lost (until the next login)."""
        self.login = None
        """The NarvLoginRspRecord of the last successful login."""
        self._closed = False
        api.RegisterSpi(_Forwarder(self))
        api.RegisterFront(front)

    async def _start(self, timeout: Optional[float]) -> None:
        self._api.Init()
        try:
            await asyncio.wait_for(asyncio.shield(self._first_login), timeout)
        except BaseException:
            self.close()
            raise

    def close(self) -> None:
        """Releases the library's object; waiting requests raise DisconnectedError, iterators end."""
        if self._closed:
            return
        self._closed = True
        self._api.Release()
        self._fail_pending(DisconnectedError("the client was closed"))
        self._end_iterators()

    async def __aenter__(self):
        return self

    async def __aexit__(self, *exc_info) -> None:
        self.close()

    def _end_iterators(self) -> None:
        pass

    def _next_request_id(self) -> int:
        return next(self._request_ids)

    async def _request(self, name: str, record, timeout: Optional[float]) -> list:
        """Sends a request and returns every record of its answer."""
        request_id = self._next_request_id()
        pending = _Pending(self._loop, name)
        self._pending[request_id] = pending
        try:
            _check_sent(getattr(self._api, name)(record, request_id), name)
            return await asyncio.wait_for(pending.future, timeout)
        finally:
            self._pending.pop(request_id, None)

    def _fail_pending(self, error: Exception) -> None:
        for pending in list(self._pending.values()):
            if not pending.future.done():
                pending.future.set_exception(error)
        self._pending.clear()

    # Callbacks, run on the event loop.

    def _on_reply(self, name: str, record=None, rsp_info=None, request_id: int = 0, is_last: bool = True) -> None:
        pending = self._pending.get(request_id)
        if pending is None or pending.future.done():
            return
        if rsp_info is not None and rsp_info.ErrorID != 0:
            pending.future.set_exception(RequestRejected(rsp_info.ErrorMsg, rsp_info.ErrorID))
            return
        if record is not None:
            pending.rows.append(record)
        if is_last:
            pending.future.set_result(pending.rows)

    def _OnConnected(self, name: str) -> None:
        if self._closed:
            return
        request_id = self._next_request_id()
        self._pending[request_id] = _Pending(self._loop, "ReqLogin")
        self._pending[request_id].future.add_done_callback(self._logged_in)
        if self._api.ReqLogin(self._login, request_id) != 0:
            self._pending.pop(request_id).future.cancel()

    def _logged_in(self, future: asyncio.Future) -> None:
        if future.cancelled():
            return
        error = future.exception()
        if error is not None:
            if not self._first_login.done():
                self._first_login.set_exception(error)
            return
        rows = future.result()
        self.login = rows[0] if rows else None
        self.disconnected.clear()
        self.connected.set()
        self._after_login()
        if not self._first_login.done():
            self._first_login.set_result(self.login)

    def _after_login(self) -> None:
        pass

    def _OnDisconnected(self, name: str, reason: int) -> None:
        self.connected.clear()
        self.disconnected.set()
        self._fail_pending(DisconnectedError("the connection was lost"))


class Order:
    """One order of this session, updated from its order and trade returns.

    ``record`` is the last NarvOrderRecord, ``trades`` the fills so far; ``wait()`` returns once the order
    is filled or cancelled and raises OrderRejected when the back end refused it.
    """

    def __init__(self, client: "TraderClient", request: NarvInputOrderRecord):
        self._client = client
        self.request = request
        self.record: Optional[NarvOrderRecord] = None
        self.trades: List[NarvTradeRecord] = []
        self.error: Optional[OrderRejected] = None
        self._changed = asyncio.Event()

    @property
    def ref(self) -> str:
        return self.request.OrderRef

    @property
    def status(self) -> str:
        """OrderStatus of the last return ('' before the first)."""
        return self.record.OrderStatus if self.record is not None else ""

    @property
    def qty_traded(self) -> int:
        return sum(trade.Qty for trade in self.trades)

    @property
    def done(self) -> bool:
        return self.error is not None or self.status in _FINAL_STATES

    async def wait(self, timeout: Optional[float] = None) -> "Order":
        """Waits until the order is filled or cancelled; raises OrderRejected, or DisconnectedError when
        the connection is lost meanwhile (wait again once ``connected`` is set)."""
        async def until_done():
            while not self.done:
                self._changed.clear()
                await self._changed.wait()
                if self._client.disconnected.is_set() and not self.done:
                    raise DisconnectedError("the connection was lost; the order's state follows the new login")
        await asyncio.wait_for(until_done(), timeout)
        if self.error is not None:
            raise self.error
        return self

    async def cancel(self, timeout: Optional[float] = None) -> "Order":
        """Asks for the cancellation and waits until the order is done (cancelled, or filled first)."""
        if not self.done:
            await self._client._cancel(self, timeout)
        return await self.wait(timeout)

    def _update(self, record=None, trade=None, error=None) -> None:
        if record is not None:
            self.record = record
        if trade is not None:
            self.trades.append(trade)
        if error is not None:
            self.error = error
        self._changed.set()

    def __repr__(self) -> str:
        return (f"Order(ref={self.ref!r}, instrument={self.request.InstrumentID!r}, status={self.status!r}, "
                f"traded={self.qty_traded}/{self.request.Qty})")


class TraderClient(_Client):
    """The trading library as an asyncio client. Create it with ``await TraderClient.connect(...)``."""

    @classmethod
    async def connect(cls, front: str, investor: str, password: str, firm: str = "",
                      timeout: Optional[float] = 10.0, flow_resume: int = 2) -> "TraderClient":
        """Connects, logs in and subscribes the account flow (2: new returns only, 0: the whole day's).

        Raises RequestRejected (wrong password, ...) or asyncio.TimeoutError.
        """
        api = CNarvSqelTraderApi.CreateSqelTraderApi()
        api.SetAccountFlowResume(flow_resume)
        client = cls(api, front, investor, password, firm)
        await client._start(timeout)
        return client

    def __init__(self, api, front, investor, password, firm):
        super().__init__(api, front, investor, password, firm)
        self._orders: Dict[tuple, Order] = {}
        self._orders_by_exchange_number: Dict[tuple, Order] = {}
        self._orders_by_request: Dict[int, Order] = {}
        self._returns = _Subscribers()
        self._order_refs = itertools.count(1)

    async def query(self, name: str, record, timeout: Optional[float] = 10.0) -> list:
        """Any request by its C++ name, e.g. query("ReqInstrumentQuery", NarvInstrumentQueryRecord());
        returns the records of the whole answer as a list."""
        return await self._request(name, record, timeout)

    async def instruments(self, exchange: str = "", instrument: str = "") -> list:
        return await self.query("ReqInstrumentQuery", _narv.NarvInstrumentQueryRecord(
            ExchangeID=exchange, InstrumentID=instrument))

    async def positions(self) -> list:
        return await self.query("ReqPosiQuery", _narv.NarvPosiQueryRecord())

    async def funds(self):
        rows = await self.query("ReqFundQuery", _narv.NarvFundQueryRecord())
        return rows[0] if rows else None

    async def orders(self) -> list:
        return await self.query("ReqOrderQuery", _narv.NarvOrderQueryRecord())

    async def trades(self) -> list:
        return await self.query("ReqTradeQuery", _narv.NarvTradeQueryRecord())

    async def buy(self, instrument: str, exchange: str, price: float, qty: int, offset: str = "0") -> Order:
        return await self.place(instrument, exchange, "0", price, qty, offset)

    async def sell(self, instrument: str, exchange: str, price: float, qty: int, offset: str = "1") -> Order:
        return await self.place(instrument, exchange, "1", price, qty, offset)

    async def place(self, instrument: str, exchange: str, side: str, price: float, qty: int,
                    offset: str = "0", price_type: str = "2") -> Order:
        """Enters a limit order (side '0' buy, '1' sell; offset '0' open, '1' close, '3' close today)."""
        request = NarvInputOrderRecord(
            InvestorID=self._login.InvestorID, InstrumentID=instrument, ExchangeID=exchange, BSFlag=side,
            OCFlag=offset, HedgeFlag="1", PriceType=price_type, Price=price, Qty=qty,
            OrderRef=str(next(self._order_refs)))
        request_id = self._next_request_id()
        request.RequestID = request_id
        order = Order(self, request)
        key = (self.login.FrontID, self.login.SessionID, request.OrderRef)
        self._orders[key] = order
        self._orders_by_request[request_id] = order
        result = self._api.ReqInputOrder(request, request_id)
        if result != 0:
            del self._orders[key], self._orders_by_request[request_id]
            _check_sent(result, "ReqInputOrder")
        return order

    async def _cancel(self, order: Order, timeout: Optional[float]) -> None:
        record = order.record
        action = NarvOrderActionRecord(
            InvestorID=self._login.InvestorID, OrderRef=order.ref, FrontID=self.login.FrontID,
            SessionID=self.login.SessionID, ExchangeID=order.request.ExchangeID,
            InstrumentID=order.request.InstrumentID, OrderSysID=record.OrderSysID if record else "")
        request_id = self._next_request_id()
        self._orders_by_request[request_id] = order
        _check_sent(self._api.ReqOrderCancel(action, request_id), "ReqOrderCancel")

    def order_returns(self) -> AsyncIterator[Union[NarvOrderRecord, NarvTradeRecord]]:
        """Every order and trade return from this call on, in the order they arrived, until close()."""
        return self._returns.stream()

    def _end_iterators(self) -> None:
        self._returns.close()

    def _own(self, record) -> Optional[Order]:
        """The order of a return: entered by this client (its session numbers and reference)."""
        return self._orders.get((record.FrontID, record.SessionID, record.OrderRef))

    def _OnOrderNty(self, name: str, record) -> None:
        order = self._own(record)
        if order is not None:
            if record.OrderSysID:
                self._orders_by_exchange_number[(record.ExchangeID, record.OrderSysID)] = order
            order._update(record=record)
        self._returns.publish(record)

    def _OnTradeNty(self, name: str, trade) -> None:
        order = self._orders_by_exchange_number.get((trade.ExchangeID, trade.OrderSysID))
        if order is not None:
            order._update(trade=trade)
        self._returns.publish(trade)

    def _OnInputOrderRsp(self, name, record, rsp_info, request_id, is_last) -> None:
        self._order_refused(rsp_info, request_id)

    def _OnOrderCancelRsp(self, name, record, rsp_info, request_id, is_last) -> None:
        self._order_refused(rsp_info, request_id)

    def _order_refused(self, rsp_info, request_id: int) -> None:
        order = self._orders_by_request.get(request_id)
        if order is not None and rsp_info is not None and rsp_info.ErrorID != 0:
            order._update(error=OrderRejected(rsp_info.ErrorMsg, rsp_info.ErrorID))

    def _OnDisconnected(self, name: str, reason: int) -> None:
        super()._OnDisconnected(name, reason)
        for order in self._orders.values():
            order._changed.set()  # waiters re-check; the order's state arrives again after the new login


class MdClient(_Client):
    """The market-data library as an asyncio client. Create it with ``await MdClient.connect(...)``."""

    @classmethod
    async def connect(cls, front: str, investor: str, password: str, firm: str = "",
                      timeout: Optional[float] = 10.0) -> "MdClient":
        """Connects and logs in; raises RequestRejected or asyncio.TimeoutError."""
        client = cls(CNarvSqelMdApi.CreateSqelMdApi(), front, investor, password, firm)
        await client._start(timeout)
        return client

    def __init__(self, api, front, investor, password, firm):
        super().__init__(api, front, investor, password, firm)
        self._instruments: List[str] = []
        self._quotes = _Subscribers()
        self._subscriptions: Dict[str, asyncio.Future] = {}

    async def subscribe(self, *instruments: str, timeout: Optional[float] = 10.0) -> None:
        """Subscribes the instruments and waits for every answer; subscribed again after a reconnection."""
        for instrument in instruments:
            if instrument not in self._instruments:
                self._instruments.append(instrument)
        await asyncio.wait_for(self._send_subscriptions(list(instruments)), timeout)

    async def _send_subscriptions(self, instruments: List[str]) -> None:
        waits = [self._subscription_answer(instrument) for instrument in instruments]
        self._api.ReqQuotSubscribe(instruments)
        await asyncio.gather(*waits)

    def _subscription_answer(self, instrument: str) -> asyncio.Future:
        future = self._subscriptions.get(instrument)
        if future is None or future.done():
            future = self._subscriptions[instrument] = self._loop.create_future()
        return future

    def quotes(self) -> AsyncIterator[_narv.NarvDepthQuoteRecord]:
        """Every depth quote from this call on, in the order they arrived, until close()."""
        return self._quotes.stream()

    def _end_iterators(self) -> None:
        self._quotes.close()

    def _after_login(self) -> None:
        if self._instruments:
            for instrument in self._instruments:
                self._subscription_answer(instrument)
            self._api.ReqQuotSubscribe(self._instruments)

    def _OnQuotSubscribeRsp(self, name, record, rsp_info, request_id, is_last) -> None:
        future = self._subscriptions.get(record.InstrumentID) if record is not None else None
        if future is None or future.done():
            return
        if rsp_info is not None and rsp_info.ErrorID != 0:
            future.set_exception(RequestRejected(rsp_info.ErrorMsg, rsp_info.ErrorID))
        else:
            future.set_result(record)

    def _OnDepthQuoteNty(self, name: str, quote) -> None:
        self._quotes.publish(quote)

    def _OnDisconnected(self, name: str, reason: int) -> None:
        super()._OnDisconnected(name, reason)
        for future in self._subscriptions.values():
            if not future.done():
                future.set_exception(DisconnectedError("the connection was lost"))
