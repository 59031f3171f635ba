#include "DemoTrader.h"

#include "DisplayText.h"
#include "RecordText.h"

namespace {

constexpr const char* kSource = "trade";

bool IsError(const NarvRspInfoRecord* rspInfo) { return rspInfo && rspInfo->ErrorID != 0; }

void Fail(DemoAnswer& answer, const NarvRspInfoRecord& rspInfo) {
    if (answer.errorId != 0) return;  // the first error tells what went wrong
    answer.errorId = rspInfo.ErrorID;
    answer.error = DisplayText(rspInfo.ErrorMsg);
}

}  // namespace

CDemoTrader::CDemoTrader(CDemoConsole& console) : console_(console), api_(CNarvSqelTraderApi::CreateSqelTraderApi("")) {
    api_->RegisterSpi(this);
}

CDemoTrader::~CDemoTrader() { api_->Release(); }

void CDemoTrader::OnConnected() {
    console_.Line(kSource, "connected");
    state_.Update([](DemoTraderState& s) { s.connected = true; });
}

void CDemoTrader::OnDisconnected(int) {
    console_.Line(kSource, "connection lost");
    state_.Update([](DemoTraderState& s) { s.lost = s.connected; });
}

void CDemoTrader::OnLoginRsp(const NarvLoginRspRecord* loginRsp, const NarvRspInfoRecord* rspInfo, int, bool isLast) {
    if (IsError(rspInfo)) {
        console_.Line(kSource, "login refused: " + DescribeRspInfo(*rspInfo));
    } else if (loginRsp) {
        console_.Line(kSource, "logged in as " + FieldText(loginRsp->InvestorID) + ", trading day " +
                                   FieldText(loginRsp->TradingDay) + ", front " + std::to_string(loginRsp->FrontID) +
                                   ", session " + std::to_string(loginRsp->SessionID) + ", system " +
                                   DisplayText(loginRsp->SysName));
    }
    state_.Update([&](DemoTraderState& s) {
        if (IsError(rspInfo)) Fail(s.login, *rspInfo);
        if (loginRsp && !IsError(rspInfo)) {
            s.frontId = loginRsp->FrontID;
            s.sessionId = loginRsp->SessionID;
            ++s.login.rows;
        }
        s.login.done = s.login.done || isLast;
    });
}

void CDemoTrader::OnLogoutRsp(const NarvLogoutRecord*, const NarvRspInfoRecord* rspInfo, int, bool isLast) {
    console_.Line(kSource, IsError(rspInfo) ? "logout refused: " + DescribeRspInfo(*rspInfo) : "logged out");
    state_.Update([&](DemoTraderState& s) {
        if (IsError(rspInfo)) Fail(s.logout, *rspInfo);
        s.logout.done = s.logout.done || isLast;
    });
}

void CDemoTrader::OnInputOrderRsp(const NarvInputOrderRecord* inputOrder, const NarvRspInfoRecord* rspInfo,
                                  int requestId, bool isLast) {
    // Only rejections come here; an accepted order shows up as order pushes.
    std::string what = "order";
    if (inputOrder) what += " " + FieldText(inputOrder->OrderRef) + " (" + FieldText(inputOrder->InstrumentID) + ")";
    console_.Line(kSource, what + " rejected: " + (rspInfo ? DescribeRspInfo(*rspInfo) : "no reason given"));
    Answer(requestId, inputOrder != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnOrderCancelRsp(const NarvOrderActionRecord* orderAction, const NarvRspInfoRecord* rspInfo,
                                   int requestId, bool isLast) {
    std::string what = "cancel";
    if (orderAction) what += " of order " + FieldText(orderAction->OrderRef);
    console_.Line(kSource, what + " rejected: " + (rspInfo ? DescribeRspInfo(*rspInfo) : "no reason given"));
    Answer(requestId, orderAction != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnOrderQueryRsp(const NarvOrderRecord* order, const NarvRspInfoRecord* rspInfo, int requestId,
                                  bool isLast) {
    if (order) console_.Line(kSource, DescribeOrder(*order));
    QueryAnswer(requestId, order != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnTradeQueryRsp(const NarvTradeRecord* trade, const NarvRspInfoRecord* rspInfo, int requestId,
                                  bool isLast) {
    if (trade) console_.Line(kSource, DescribeTrade(*trade));
    QueryAnswer(requestId, trade != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnPosiQueryRsp(const NarvPosiRecord* posi, const NarvRspInfoRecord* rspInfo, int requestId,
                                 bool isLast) {
    if (posi) console_.Line(kSource, DescribePosition(*posi));
    QueryAnswer(requestId, posi != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnFundQueryRsp(const NarvFundRecord* fund, const NarvRspInfoRecord* rspInfo, int requestId,
                                 bool isLast) {
    if (fund) console_.Line(kSource, DescribeFund(*fund));
    QueryAnswer(requestId, fund != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnInstrumentQueryRsp(const NarvInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo,
                                       int requestId, bool isLast) {
    if (instrument) {
        console_.Line(kSource, DescribeInstrument(*instrument));
        DemoInstrument known{FieldText(instrument->ExchangeID), instrument->MinMovement};
        state_.Update([&](DemoTraderState& s) { s.instruments[FieldText(instrument->InstrumentID)] = known; });
    }
    QueryAnswer(requestId, instrument != nullptr, rspInfo, isLast);
}

void CDemoTrader::OnOrderNty(const NarvOrderRecord* order) {
    if (!order) return;
    console_.Line(kSource, "-> " + DescribeOrder(*order));
    if (!IsOwnSession(order->FrontID, order->SessionID)) return;
    state_.Update([&](DemoTraderState& s) {
        DemoOrder& known = s.orders[FieldText(order->OrderRef)];
        known.status = order->OrderStatus;
        known.qtyTraded = order->QtyTraded;
        if (order->OrderSysID[0]) known.orderSysId = FieldText(order->OrderSysID);
    });
}

void CDemoTrader::OnTradeNty(const NarvTradeRecord* trade) {
    if (!trade) return;
    console_.Line(kSource, "-> " + DescribeTrade(*trade));
    // A trade carries no session numbers, so it is kept by the exchange's order number, which is unique.
    state_.Update([&](DemoTraderState& s) { s.tradedQty[FieldText(trade->OrderSysID)] += trade->Qty; });
}

void CDemoTrader::QueryAnswer(int requestId, bool hasRow, const NarvRspInfoRecord* rspInfo, bool isLast) {
    if (IsError(rspInfo)) console_.Line(kSource, "query refused: " + DescribeRspInfo(*rspInfo));
    Answer(requestId, hasRow, rspInfo, isLast);
}

void CDemoTrader::Answer(int requestId, bool hasRow, const NarvRspInfoRecord* rspInfo, bool isLast) {
    state_.Update([&](DemoTraderState& s) {
        DemoAnswer& answer = s.answers[requestId];
        if (hasRow) ++answer.rows;
        if (IsError(rspInfo)) Fail(answer, *rspInfo);
        answer.done = answer.done || isLast;
    });
}

bool CDemoTrader::IsOwnSession(int frontId, int sessionId) {
    return state_.Read([&](const DemoTraderState& s) { return s.frontId == frontId && s.sessionId == sessionId; });
}
