// A session that survives a lost connection: logs in again after every OnConnected, and finds its order
// returns resumed where they stopped, none lost and none repeated.
//
//   narv_front_simulator --trade-port 7001 --close-after 4 --fault-connections 1 --fault-services trade &
//   example_survive_lost_connection [--trade-front 127.0.0.1:7001]
//
// (the simulator's fault options close the first trade connection after its fourth message). The example
// enters an order, waits for the connection to be lost and come back (up to two minutes), enters a second
// order and checks that no return arrived twice. After OnDisconnected the library reconnects by itself,
// from the first registered front; the application must log in again, and on the same trading day the
// library then resumes the order flow after the last return it delivered.
#include <chrono>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "ExampleSupport.h"
#include "NarvSqelTraderApi.h"

namespace {

struct SessionState {
    int logins = 0;
    int losses = 0;
    bool refused = false;
    bool repeated = false;
    std::map<std::string, char> statusByOrderRef;
    std::set<std::string> returnsSeen;  // order, status and quantity traded of every return
};

class ResilientTrader : public CNarvSqelTraderSpi {
public:
    ResilientTrader(CNarvSqelTraderApi* api, CDemoState<SessionState>& events) : api_(api), events_(events) {}

    // After every connection, the first as every later one.
    void OnConnected() override {
        std::puts("connected: logging in");
        ExampleLogin(api_, 1);
    }

    // Requests return -1 until the next OnConnected; what was asked and not answered must be asked again.
    void OnDisconnected(int) override {
        std::puts("connection lost: the library reconnects by itself");
        events_.Update([](SessionState& s) { ++s.losses; });
    }

    void OnLoginRsp(const NarvLoginRspRecord* rsp, const NarvRspInfoRecord* info, int, bool) override {
        const bool refused = ExampleRefused("login", info);
        if (!refused && rsp) std::printf("logged in, trading day %s, session %d\n", rsp->TradingDay, rsp->SessionID);
        events_.Update([&](SessionState& s) {
            s.refused = s.refused || refused;
            if (!refused) ++s.logins;
        });
    }

    void OnInputOrderRsp(const NarvInputOrderRecord*, const NarvRspInfoRecord* info, int, bool) override {
        if (ExampleRefused("order", info)) events_.Update([](SessionState& s) { s.refused = true; });
    }

    void OnOrderNty(const NarvOrderRecord* order) override {
        std::printf("order %s: status %c\n", order->OrderRef, order->OrderStatus);
        const std::string key =
            std::string(order->OrderRef) + "/" + order->OrderStatus + "/" + std::to_string(order->QtyTraded);
        events_.Update([&](SessionState& s) {
            s.statusByOrderRef[order->OrderRef] = order->OrderStatus;
            if (!s.returnsSeen.insert(key).second) s.repeated = true;
        });
    }

private:
    CNarvSqelTraderApi* api_;
    CDemoState<SessionState>& events_;
};

// Enters a resting order and waits until the exchange has queued it.
int EnterAndAwaitQueued(CNarvSqelTraderApi* api, CDemoState<SessionState>& events, const char* orderRef,
                        int requestId) {
    // Far below the market, yet within the day's price limits: it rests.
    if (ExampleLimitBuy(api, orderRef, "cu2601", "SHFE", 66000, requestId) != 0) return kExampleRefused;
    auto queued = [&](const SessionState& s) {
        const auto order = s.statusByOrderRef.find(orderRef);
        return s.refused || (order != s.statusByOrderRef.end() && order->second == '3');
    };
    if (!events.WaitFor(queued, kExampleAnswerWait)) return kExampleTimedOut;
    return events.Read([](const SessionState& s) { return s.refused ? kExampleRefused : kExampleDone; });
}

int Run(CNarvSqelTraderApi* api, CDemoState<SessionState>& events) {
    if (!events.WaitFor([](const SessionState& s) { return s.logins > 0 || s.refused; }, kExampleAnswerWait))
        return kExampleTimedOut;
    int status = EnterAndAwaitQueued(api, events, "1", 2);
    if (status != kExampleDone) return status;

    std::puts("waiting for the connection to be lost and logged in again");
    constexpr std::chrono::seconds kLossWait{120};
    auto backAgain = [](const SessionState& s) { return s.refused || (s.losses > 0 && s.logins > s.losses); };
    if (!events.WaitFor(backAgain, kLossWait)) return kExampleTimedOut;
    status = EnterAndAwaitQueued(api, events, "2", 3);
    if (status != kExampleDone) return status;
    return events.Read([](const SessionState& s) {
        if (s.repeated) std::puts("an order return arrived twice");
        return s.repeated ? kExampleRefused : kExampleDone;
    });
}

}  // namespace

int main(int argc, char** argv) {
    CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
    CDemoState<SessionState> events;
    ResilientTrader trader(api, events);
    api->RegisterSpi(&trader);
    api->RegisterFront(ExampleTradeFront(argc, argv).c_str());
    api->SetAccountFlowResume(2);  // new returns at the first login; later logins of the day resume
    api->Init();
    const int status = Run(api, events);
    api->Release();  // no callback runs once this returns: trader and events may go
    std::printf("done, exit status %d\n", status);
    return status;
}
