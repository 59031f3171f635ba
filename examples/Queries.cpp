// Logs in and asks for the account: funds, positions, orders, trades and one instrument's terms.
//
//   narv_front_simulator --trade-port 7001 --quote-port 7002 &
//   example_queries [--trade-front 127.0.0.1:7001]
//
// A query is answered by one callback per record, the last with isLast true; an answer without records
// is a single callback with a null record. Query records leave the investor empty: the session's is used.
#include <cstdio>
#include <set>

#include "ExampleSupport.h"
#include "NarvSqelTraderApi.h"

namespace {

struct QueryState {
    bool loggedIn = false;
    bool refused = false;
    std::set<int> answered;  // request ids whose last callback has arrived
};

class QueryTrader : public CNarvSqelTraderSpi {
public:
    QueryTrader(CNarvSqelTraderApi* api, CDemoState<QueryState>& events) : api_(api), events_(events) {}

    void OnConnected() override { ExampleLogin(api_, 1); }

    void OnLoginRsp(const NarvLoginRspRecord* rsp, const NarvRspInfoRecord* info, int, bool) override {
        const bool refused = ExampleRefused("login", info);
        if (!refused && rsp) std::printf("logged in, trading day %s\n", rsp->TradingDay);
        events_.Update([&](QueryState& s) {
            s.refused = refused;
            s.loggedIn = !refused;
        });
    }

    void OnFundQueryRsp(const NarvFundRecord* fund, const NarvRspInfoRecord* info, int id, bool last) override {
        if (fund)
            std::printf("funds: balance %.2f, available %.2f, margin %.2f\n", fund->FloatBalance, fund->FreeBalance,
                        fund->Margin);
        Answered("funds", fund != nullptr, info, id, last);
    }

    void OnPosiQueryRsp(const NarvPosiRecord* posi, const NarvRspInfoRecord* info, int id, bool last) override {
        if (posi)
            std::printf("position: %s %s %d lots\n", posi->InstrumentID, posi->BSFlag == '2' ? "long" : "short",
                        posi->Qty);
        Answered("positions", posi != nullptr, info, id, last);
    }

    void OnOrderQueryRsp(const NarvOrderRecord* order, const NarvRspInfoRecord* info, int id, bool last) override {
        if (order)
            std::printf("order: %s [%s] %s %d @ %.2f, status %c\n", order->OrderRef, order->OrderSysID,
                        order->InstrumentID, order->Qty, order->Price, order->OrderStatus);
        Answered("orders", order != nullptr, info, id, last);
    }

    void OnTradeQueryRsp(const NarvTradeRecord* trade, const NarvRspInfoRecord* info, int id, bool last) override {
        if (trade)
            std::printf("trade: order %s %s %d @ %.2f\n", trade->OrderRef, trade->InstrumentID, trade->Qty,
                        trade->Price);
        Answered("trades", trade != nullptr, info, id, last);
    }

    void OnInstrumentQueryRsp(const NarvInstrumentRecord* instrument, const NarvRspInfoRecord* info, int id,
                              bool last) override {
        if (instrument)
            std::printf("instrument: %s on %s, tick %g, %d per lot\n", instrument->InstrumentID, instrument->ExchangeID,
                        instrument->MinMovement, instrument->TradeUnit);
        Answered("instrument", instrument != nullptr, info, id, last);
    }

private:
    void Answered(const char* what, bool hasRecord, const NarvRspInfoRecord* info, int requestId, bool last) {
        const bool refused = ExampleRefused(what, info);
        if (!hasRecord && !refused) std::printf("%s: none\n", what);
        if (!last && !refused) return;
        events_.Update([&](QueryState& s) {
            s.refused = s.refused || refused;
            s.answered.insert(requestId);
        });
    }

    CNarvSqelTraderApi* api_;
    CDemoState<QueryState>& events_;
};

// Sends one query and waits for its last callback.
template <class Send>
int Ask(CDemoState<QueryState>& events, int requestId, Send send) {
    if (send(requestId) != 0) return kExampleRefused;
    if (!events.WaitFor([&](const QueryState& s) { return s.answered.count(requestId) > 0; }, kExampleAnswerWait))
        return kExampleTimedOut;
    return events.Read([](const QueryState& s) { return s.refused ? kExampleRefused : kExampleDone; });
}

int Run(CNarvSqelTraderApi* api, CDemoState<QueryState>& events) {
    if (!events.WaitFor([](const QueryState& s) { return s.loggedIn || s.refused; }, kExampleAnswerWait))
        return kExampleTimedOut;
    if (events.Read([](const QueryState& s) { return s.refused; })) return kExampleRefused;

    NarvFundQueryRecord funds{};
    NarvPosiQueryRecord positions{};
    NarvOrderQueryRecord orders{};
    NarvTradeQueryRecord trades{};
    NarvInstrumentQueryRecord instrument{};
    CopyField(instrument.InstrumentID, "cu2601");
    int status = Ask(events, 2, [&](int id) { return api->ReqFundQuery(&funds, id); });
    if (status == kExampleDone) status = Ask(events, 3, [&](int id) { return api->ReqPosiQuery(&positions, id); });
    if (status == kExampleDone) status = Ask(events, 4, [&](int id) { return api->ReqOrderQuery(&orders, id); });
    if (status == kExampleDone) status = Ask(events, 5, [&](int id) { return api->ReqTradeQuery(&trades, id); });
    if (status == kExampleDone)
        status = Ask(events, 6, [&](int id) { return api->ReqInstrumentQuery(&instrument, id); });
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
    CDemoState<QueryState> events;
    QueryTrader trader(api, events);
    api->RegisterSpi(&trader);
    api->RegisterFront(ExampleTradeFront(argc, argv).c_str());
    api->Init();
    const int status = Run(api, events);
    api->Release();  // no callback runs once this returns: trader and events may go
    std::printf("done, exit status %d\n", status);
    return status;
}
