"""The market-data library through the one-to-one layer, against the bundled simulator."""
import pytest

import narv
from spis import RecordingMdSpi


def logged_in(front, spi):
    api = narv.CNarvSqelMdApi.CreateSqelMdApi(flow_path="")
    api.RegisterSpi(spi)
    api.RegisterFront(front)
    api.Init()
    spi.recorder.wait_for("OnConnected")
    assert api.ReqLogin(narv.NarvLoginReqRecord(InvestorID="demo", InvestorPassword="demo123"), 1) == 0
    _, info, _, _ = spi.recorder.wait_for("OnLoginRsp")
    assert info.ErrorID == 0
    return api


def test_subscribe_and_receive_depth_quotes(fronts):
    spi = RecordingMdSpi()
    api = logged_in(fronts.quote, spi)
    assert api.ReqQuotSubscribe(["cu2601", "au2602", "ignored"], 2) == 0
    subscribed = {spi.recorder.wait_for("OnQuotSubscribeRsp")[0].InstrumentID for _ in range(2)}
    assert subscribed == {"cu2601", "au2602"}
    quote = spi.recorder.wait_for("OnDepthQuoteNty", lambda q: q.InstrumentID == "cu2601")[0]
    assert isinstance(quote, narv.NarvDepthQuoteRecord)
    assert quote.ExchangeID == "SHFE" and quote.AskPrice >= quote.BidPrice > 0 and len(quote.ModifyTime) == 8
    assert api.ReqQuotUnSubscribe(["au2602"]) == 0
    assert spi.recorder.wait_for("OnQuotUnSubscribeRsp")[0].InstrumentID == "au2602"
    api.Release()


@pytest.mark.parametrize("ids, count", [(["cu2601"], 2), (["cu2601"], -1)])
def test_subscription_count_beyond_the_list_is_refused(ids, count):
    api = narv.CNarvSqelMdApi.CreateSqelMdApi()
    with pytest.raises(ValueError):
        api.ReqQuotSubscribe(ids, count)
    api.Release()


def test_release_from_a_quote_callback(fronts):
    class ReleasingSpi(RecordingMdSpi):
        api = None

        def OnDepthQuoteNty(self, quote):
            self.api.Release()  # completes on a thread of its own once this callback returns
            super().OnDepthQuoteNty(quote)

    spi = ReleasingSpi()
    api = spi.api = logged_in(fronts.quote, spi)
    api.ReqQuotSubscribe(["cu2601"])
    spi.recorder.wait_for("OnDepthQuoteNty")
    with pytest.raises(RuntimeError, match="released"):
        api.ReqQuotSubscribe(["cu2601"])


def test_dropping_the_last_reference_inside_a_callback_releases_the_object(fronts):
    class DroppingSpi(RecordingMdSpi):
        api = None

        def OnDepthQuoteNty(self, quote):
            self.api = None  # the object's last reference: it is released from its own callback
            super().OnDepthQuoteNty(quote)

    spi = DroppingSpi()
    spi.api = logged_in(fronts.quote, spi)
    spi.api.ReqQuotSubscribe(["cu2601"])
    spi.recorder.wait_for("OnDepthQuoteNty")
    # Released and detached: a new object's quotes of another instrument arrive, none of the old one's.
    again = logged_in(fronts.quote, spi)
    again.ReqQuotSubscribe(["au2602"])
    spi.recorder.wait_for("OnDepthQuoteNty", lambda quote: quote.InstrumentID == "au2602")
    again.Release()
    assert [quote.InstrumentID for quote, in spi.recorder.recorded("OnDepthQuoteNty")
            if quote.InstrumentID == "cu2601"] == []
