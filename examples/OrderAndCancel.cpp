// Enters a limit order that rests at the exchange, then cancels it; prints every order return.
//
//   narv_front_simulator --trade-port 7001 --quote-port 7002 &
//   example_order_and_cancel [--trade-front 127.0.0.1:7001]
//
// An accepted order produces no reply, only order returns (OnOrderNty); only a refusal arrives in
// OnInputOrderRsp. A cancel names the order by the exchange's number of it (OrderSysID, in its returns
// once the exchange has queued it) and by the session that entered it (FrontID and SessionID of the login).
#include <cstdio>
#include <string>

#include "ExampleSupport.h"
#include "NarvSqelTraderApi.h"

namespace {

struct OrderState {
    bool loggedIn = false;
    bool refused = false;
    int frontId = 0;
    int sessionId = 0;
    std::string orderSysId;
    char status = 0;  // '3' queued, '5' cancelled, '0' filled, ...
};

class OrderTrader : public CNarvSqelTraderSpi {
public:
    OrderTrader(CNarvSqelTraderApi* api, CDemoState<OrderState>& events) : api_(api), events_(events) {}

    void OnConnected() override { ExampleLogin(api_, 1); }

    void OnLoginRsp(const NarvLoginRspRecord* rsp, const NarvRspInfoRecord* info, int, bool) override {
        const bool refused = ExampleRefused("login", info) || !rsp;
        events_.Update([&](OrderState& s) {
            s.refused = refused;
            s.loggedIn = !refused;
            if (!refused) {
                s.frontId = rsp->FrontID;
                s.sessionId = rsp->SessionID;
            }
        });
    }

    void OnInputOrderRsp(const NarvInputOrderRecord*, const NarvRspInfoRecord* info, int, bool) override {
        if (ExampleRefused("order", info)) events_.Update([](OrderState& s) { s.refused = true; });
    }

    void OnOrderCancelRsp(const NarvOrderActionRecord*, const NarvRspInfoRecord* info, int, bool) override {
        if (ExampleRefused("cancel", info)) events_.Update([](OrderState& s) { s.refused = true; });
    }

    void OnOrderNty(const NarvOrderRecord* order) override {
        std::printf("order %s [%s]: status %c, %d traded, %d left\n", order->OrderRef, order->OrderSysID,
                    order->OrderStatus, order->QtyTraded, order->QtyLeft);
        events_.Update([&](OrderState& s) {
            s.orderSysId = order->OrderSysID;
            s.status = order->OrderStatus;
        });
    }

private:
    CNarvSqelTraderApi* api_;
    CDemoState<OrderState>& events_;
};

int Run(CNarvSqelTraderApi* api, CDemoState<OrderState>& events) {
    if (!events.WaitFor([](const OrderState& s) { return s.loggedIn || s.refused; }, kExampleAnswerWait))
        return kExampleTimedOut;
    if (events.Read([](const OrderState& s) { return s.refused; })) return kExampleRefused;

    // Far below the market, yet within the day's price limits: nobody sells down to it meanwhile.
    if (ExampleLimitBuy(api, "1", "cu2601", "SHFE", 66000, 2) != 0) return kExampleRefused;
    // Queued at the exchange ('3'), or over already (refused, filled '0', cancelled '5').
    auto queuedOrOver = [](const OrderState& s) {
        return s.refused || s.status == '3' || s.status == '0' || s.status == '5';
    };
    if (!events.WaitFor(queuedOrOver, kExampleAnswerWait)) return kExampleTimedOut;
    NarvOrderActionRecord cancel{};
    const bool queued = events.Read([&](const OrderState& s) {
        CopyField(cancel.OrderSysID, s.orderSysId.c_str());
        cancel.FrontID = s.frontId;
        cancel.SessionID = s.sessionId;
        return s.status == '3';
    });
    if (!queued) return kExampleRefused;

    CopyField(cancel.InvestorID, kExampleInvestor);
    CopyField(cancel.ExchangeID, "SHFE");
    CopyField(cancel.InstrumentID, "cu2601");
    CopyField(cancel.OrderRef, "1");
    std::printf("cancelling order 1 [%s]\n", cancel.OrderSysID);
    if (api->ReqOrderCancel(&cancel, 3) != 0) return kExampleRefused;
    if (!events.WaitFor([](const OrderState& s) { return s.refused || s.status == '5'; }, kExampleAnswerWait))
        return kExampleTimedOut;
    return events.Read([](const OrderState& s) { return s.status == '5' ? kExampleDone : kExampleRefused; });
}

}  // namespace

int main(int argc, char** argv) {
    CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
    CDemoState<OrderState> events;
    OrderTrader trader(api, events);
    api->RegisterSpi(&trader);
    api->RegisterFront(ExampleTradeFront(argc, argv).c_str());
    api->SetAccountFlowResume(2);  // order returns from now on; without it none arrive
    api->Init();
    const int status = Run(api, events);
    api->Release();  // no callback runs once this returns: trader and events may go
    std::printf("done, exit status %d\n", status);
    return status;
}
