"""The trading library through the one-to-one layer, against the bundled simulator."""
import threading

import pytest

import narv
from spis import RecordingTraderSpi

LOGIN = dict(InvestorID="demo", InvestorPassword="demo123")


def start(front, spi, resume=2):
    api = narv.CNarvSqelTraderApi.CreateSqelTraderApi(flow_path="")
    api.RegisterSpi(spi)
    api.RegisterFront(front)
    api.SetAccountFlowResume(resume)
    api.Init()
    spi.recorder.wait_for("OnConnected")
    return api


def login(api, spi, request_id=1, **fields):
    assert api.ReqLogin(narv.NarvLoginReqRecord(**(fields or LOGIN)), request_id) == 0
    return spi.recorder.wait_for("OnLoginRsp", lambda record, info, rid, last: rid == request_id)


@pytest.fixture
def session(fronts):
    spi = RecordingTraderSpi()
    api = start(fronts.trade, spi)
    record, info, _, _ = login(api, spi)
    assert info.ErrorID == 0
    yield api, spi, record
    api.Release()


def query(api, spi, name, record, request_id):
    """Sends a query and returns its records up to isLast."""
    assert getattr(api, "Req" + name)(record, request_id) == 0
    rows = []
    while True:
        row, info, rid, last = spi.recorder.wait_for(f"On{name}Rsp", lambda *args: args[2] == request_id)
        assert info is None or info.ErrorID == 0, info
        if row is not None:
            rows.append(row)
        if last:
            return rows


def test_login_answers_with_the_session(session):
    api, _, record = session
    assert isinstance(record, narv.NarvLoginRspRecord)
    assert record.InvestorID == "demo" and len(record.TradingDay) == 8
    assert api.GetTradingDay() == record.TradingDay


def test_wrong_password_is_refused_with_a_gbk_text(fronts):
    spi = RecordingTraderSpi()
    api = start(fronts.trade, spi)
    _, info, rid, last = login(api, spi, 7, InvestorID="demo", InvestorPassword="wrong")
    assert (info.ErrorID, info.ErrorMsg, rid, last) == (1002, "密码错误", 7, True)
    api.Release()


def test_gbk_text_goes_through_the_library_and_back(session):
    api, spi, _ = session
    # ReqAuthenticate echoes the identity of its request; "中文产品" is 8 GBK bytes of the 10 kept.
    request = narv.NarvAuthenticateReqRecord(InvestorID="demo", UserProductInfo="中文产品")
    assert api.ReqAuthenticate(request, 51) == 0
    echoed = spi.recorder.wait_for("OnAuthenticateRsp")[0]
    assert echoed.UserProductInfo == "中文产品"
    assert echoed.to_bytes()[27:36] == b"\xd6\xd0\xce\xc4\xb2\xfa\xc6\xb7\0"


def test_requests_before_connection_and_after_release():
    api = narv.CNarvSqelTraderApi.CreateSqelTraderApi()
    assert api.ReqLogin(narv.NarvLoginReqRecord(**LOGIN), 1) == -1
    assert api.ReqLogin(None, 1) == -1
    api.Release()
    api.Release()  # a second Release does nothing
    with pytest.raises(RuntimeError, match="released"):
        api.ReqLogin(None, 1)


def test_queries_return_whole_lists(session):
    api, spi, _ = session
    instruments = query(api, spi, "InstrumentQuery", narv.NarvInstrumentQueryRecord(), 11)
    assert {"cu2601", "au2602", "IF2601"} <= {row.InstrumentID for row in instruments}
    cu = next(row for row in instruments if row.InstrumentID == "cu2601")
    assert (cu.ExchangeID, cu.TradeUnit, cu.MinMovement) == ("SHFE", 5, 10.0)
    funds = query(api, spi, "FundQuery", narv.NarvFundQueryRecord(), 12)
    assert len(funds) == 1 and funds[0].Currency == "CNY"
    quote = query(api, spi, "QuotQuery", narv.NarvQuotQueryRecord(InstrumentID="cu2601"), 13)
    assert quote[0].InstrumentID == "cu2601" and quote[0].HighLimit > quote[0].LowLimit > 0
    currency = query(api, spi, "CurrencyQuery", narv.NarvCurrencyRecord(), 14)  # answered locally
    assert currency[0].CurrencyID == "RMB"


def limits(api, spi, instrument, request_id):
    quote = query(api, spi, "QuotQuery", narv.NarvQuotQueryRecord(InstrumentID=instrument), request_id)[0]
    return quote.HighLimit, quote.LowLimit


def enter(api, spi, ref, price, request_id, instrument="cu2601", exchange="SHFE"):
    order = narv.NarvInputOrderRecord(InvestorID="demo", OrderRef=ref, InstrumentID=instrument,
                                      ExchangeID=exchange, PriceType="2", BSFlag="0", OCFlag="0",
                                      HedgeFlag="1", Price=price, Qty=1)
    assert api.ReqInputOrder(order, request_id) == 0


def test_order_that_fills_and_one_cancelled(session):
    api, spi, login_record = session
    high, low = limits(api, spi, "cu2601", 20)

    enter(api, spi, "101", high, 21)
    filled = spi.recorder.wait_for("OnOrderNty", lambda o: o.OrderRef == "101" and o.OrderStatus == "0")[0]
    assert (filled.FrontID, filled.SessionID) == (login_record.FrontID, login_record.SessionID)
    assert filled.OrderStatusDesc == "全部成交" and filled.QtyTraded == 1
    trade = spi.recorder.wait_for("OnTradeNty", lambda t: t.OrderSysID == filled.OrderSysID)[0]
    assert (trade.Qty, trade.InstrumentID, trade.BSFlag) == (1, "cu2601", "0")

    enter(api, spi, "102", low, 22)
    resting = spi.recorder.wait_for("OnOrderNty", lambda o: o.OrderRef == "102" and o.OrderStatus == "3")[0]
    cancel = narv.NarvOrderActionRecord(InvestorID="demo", OrderRef="102", FrontID=resting.FrontID,
                                        SessionID=resting.SessionID, ExchangeID="SHFE",
                                        OrderSysID=resting.OrderSysID, InstrumentID="cu2601")
    assert api.ReqOrderCancel(cancel, 23) == 0
    cancelled = spi.recorder.wait_for("OnOrderNty", lambda o: o.OrderRef == "102" and o.OrderStatus == "5")[0]
    assert cancelled.OrderStatusDesc == "已撤消"

    orders = query(api, spi, "OrderQuery", narv.NarvOrderQueryRecord(InstrumentID="cu2601"), 24)
    assert {"101", "102"} <= {o.OrderRef for o in orders if o.SessionID == login_record.SessionID}
    trades = query(api, spi, "TradeQuery", narv.NarvTradeQueryRecord(), 25)
    assert filled.OrderSysID in {t.OrderSysID for t in trades}
    positions = query(api, spi, "PosiQuery", narv.NarvPosiQueryRecord(InstrumentID="cu2601"), 26)
    assert any(p.BSFlag == "2" and p.Qty >= 1 for p in positions)


def test_refused_order_and_cancel_come_back_with_their_records(session):
    api, spi, _ = session
    enter(api, spi, "201", 71230, 31, instrument="nosuch")
    record, info, rid, last = spi.recorder.wait_for("OnInputOrderRsp")
    assert (record.OrderRef, info.ErrorID, rid, last) == ("201", 2001, 31, True)
    cancel = narv.NarvOrderActionRecord(InvestorID="demo", OrderRef="999", ExchangeID="SHFE",
                                        OrderSysID="nosuch", InstrumentID="cu2601")
    assert api.ReqOrderCancel(cancel, 32) == 0
    _, info, rid, _ = spi.recorder.wait_for("OnOrderCancelRsp")
    assert info.ErrorID != 0 and rid == 32


def test_lost_connection_and_new_login(start_simulator):
    # The first trade connection is closed after its login reply; the next one is left alone.
    fronts = start_simulator("--fault-services", "trade", "--fault-connections", "1", "--close-after", "1")
    spi = RecordingTraderSpi()
    api = start(fronts.trade, spi)
    login(api, spi)
    assert spi.recorder.wait_for("OnDisconnected") == (0,)
    spi.recorder.wait_for("OnConnected")
    _, info, _, _ = login(api, spi, 2)
    assert info.ErrorID == 0
    api.Release()


def test_exception_in_a_callback_goes_to_unraisablehook(session, monkeypatch):
    api, spi, _ = session
    reported = []
    monkeypatch.setattr("sys.unraisablehook", reported.append)

    class Failing(RecordingTraderSpi):
        def OnAcknowledgeRsp(self, record, info, request_id, is_last):
            super().OnAcknowledgeRsp(record, info, request_id, is_last)
            raise ValueError("from the callback")
    failing = Failing()
    api.RegisterSpi(failing)
    for request_id in (41, 42):  # the library goes on delivering after the first failure
        assert api.ReqAcknowledge(narv.NarvAcknowledgeRecord(), request_id) == 0
        failing.recorder.wait_for("OnAcknowledgeRsp", lambda *args: args[2] == request_id)
    api.RegisterSpi(spi)  # a callback may still be inside the hook: sync on the next one
    api.ReqAcknowledge(narv.NarvAcknowledgeRecord(), 43)
    spi.recorder.wait_for("OnAcknowledgeRsp")
    assert [type(item.exc_value) for item in reported] == [ValueError, ValueError]
    assert "OnAcknowledgeRsp" in repr(reported[0].object)


def test_a_callback_may_request_and_release(fronts):
    class Chain(RecordingTraderSpi):
        """Answers the login by a query from the callback; the query's answer releases the object."""
        api = None

        def OnLoginRsp(self, record, info, request_id, is_last):
            super().OnLoginRsp(record, info, request_id, is_last)
            self.sent = self.api.ReqFundQuery(narv.NarvFundQueryRecord(), 2)

        def OnFundQueryRsp(self, record, info, request_id, is_last):
            self.api.Release()
            super().OnFundQueryRsp(record, info, request_id, is_last)

    spi = Chain()
    api = spi.api = start(fronts.trade, spi)
    login(api, spi)
    spi.recorder.wait_for("OnFundQueryRsp")
    assert spi.sent == 0
    with pytest.raises(RuntimeError):
        api.Init()


def test_requests_from_many_threads_while_callbacks_run(session):
    api, spi, _ = session
    ids = range(100, 140)

    def send(request_id):
        assert api.ReqSettlementConfirmQuery(narv.NarvSettlementConfirmRecord(), request_id) == 0
    threads = [threading.Thread(target=send, args=(request_id,)) for request_id in ids]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    answered = set()
    while answered != set(ids):
        answered.add(spi.recorder.wait_for("OnSettlementConfirmQueryRsp")[2])
