// narv_capture_session: one short session against a trade front and a quote front, through the exported
// interfaces of both libraries, so that a capture of it holds the messages the wire tools are tested on:
// login, an order with its returns, an order query, a subscription with depth quotes, logout.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"

namespace {

constexpr auto kStepTimeout = std::chrono::seconds(20);

const char kHelp[] =
    "usage: narv_capture_session TRADE_FRONT QUOTE_FRONT\n"
    "\n"
    "Runs one short session against the two fronts (addresses like tcp://127.0.0.1:7001) with the\n"
    "simulator's demo account: trade login, one market order, an order query, logout; quote login,\n"
    "a subscription to cu2601 until two depth quotes arrived, logout.\n"
    "\n"
    "Exit status: 0 every step was answered; 1 a step was not answered in time; 2 bad command line.\n";

// Counts events of interest; the main thread waits for them with a timeout.
class Progress {
public:
    void Add(const char* what) {
        std::lock_guard<std::mutex> lock(mutex_);
        last_ = what;
        ++count_[Index(what)];
        changed_.notify_all();
    }
    bool WaitFor(const char* what, int times = 1) {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool ok = changed_.wait_for(lock, kStepTimeout, [&] { return count_[Index(what)] >= times; });
        if (!ok) std::cerr << "narv_capture_session: no " << what << " in time (last event: " << last_ << ")\n";
        return ok;
    }

private:
    static int Index(const char* what) {
        static const char* const kEvents[] = {"connected", "login",      "order return", "order query",
                                              "quote",     "subscribed", "logout"};
        for (int i = 0; i < 7; ++i)
            if (!std::strcmp(kEvents[i], what)) return i;
        return 7;
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_[8] = {};
    std::string last_ = "none";
};

class TraderEvents : public CNarvSqelTraderSpi {
public:
    explicit TraderEvents(Progress& progress) : progress_(progress) {}
    void OnConnected() override { progress_.Add("connected"); }
    void OnLoginRsp(const NarvLoginRspRecord*, const NarvRspInfoRecord* info, int, bool) override {
        if (!info || info->ErrorID == 0) progress_.Add("login");
    }
    void OnOrderNty(const NarvOrderRecord*) override { progress_.Add("order return"); }
    void OnOrderQueryRsp(const NarvOrderRecord*, const NarvRspInfoRecord*, int, bool last) override {
        if (last) progress_.Add("order query");
    }
    void OnLogoutRsp(const NarvLogoutRecord*, const NarvRspInfoRecord*, int, bool) override { progress_.Add("logout"); }

private:
    Progress& progress_;
};

class QuoteEvents : public CNarvSqelMdSpi {
public:
    explicit QuoteEvents(Progress& progress) : progress_(progress) {}
    void OnConnected() override { progress_.Add("connected"); }
    void OnLoginRsp(const NarvLoginRspRecord*, const NarvRspInfoRecord* info, int, bool) override {
        if (!info || info->ErrorID == 0) progress_.Add("login");
    }
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord*, const NarvRspInfoRecord*, int, bool) override {
        progress_.Add("subscribed");
    }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord*) override { progress_.Add("quote"); }
    void OnLogoutRsp(const NarvLogoutRecord*, const NarvRspInfoRecord*, int, bool) override { progress_.Add("logout"); }

private:
    Progress& progress_;
};

NarvLoginReqRecord DemoLogin() {
    NarvLoginReqRecord login{};
    std::strcpy(login.FirmID, "9999");
    std::strcpy(login.InvestorID, "demo");
    std::strcpy(login.InvestorPassword, "demo123");
    return login;
}

bool TradeSession(const char* front) {
    Progress progress;
    TraderEvents events(progress);
    CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
    api->RegisterSpi(&events);
    api->RegisterFront(front);
    api->SetAccountFlowResume(2);  // new pushes only
    api->Init();
    bool ok = progress.WaitFor("connected");
    const NarvLoginReqRecord login = DemoLogin();
    ok = ok && api->ReqLogin(&login, 1) == 0 && progress.WaitFor("login");
    NarvInputOrderRecord order{};
    std::strcpy(order.InvestorID, "demo");
    std::strcpy(order.InstrumentID, "cu2601");
    std::strcpy(order.ExchangeID, "SHFE");
    std::strcpy(order.OrderRef, "1");
    order.PriceType = '1';  // market
    order.BSFlag = '0';
    order.OCFlag = '0';
    order.Qty = 1;
    ok = ok && api->ReqInputOrder(&order, 2) == 0 && progress.WaitFor("order return");
    NarvOrderQueryRecord query{};
    ok = ok && api->ReqOrderQuery(&query, 3) == 0 && progress.WaitFor("order query");
    NarvLogoutRecord logout{};
    ok = ok && api->ReqLogout(&logout, 4) == 0 && progress.WaitFor("logout");
    api->Release();
    return ok;
}

bool QuoteSession(const char* front) {
    Progress progress;
    QuoteEvents events(progress);
    CNarvSqelMdApi* api = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
    api->RegisterSpi(&events);
    api->RegisterFront(front);
    api->Init();
    bool ok = progress.WaitFor("connected");
    const NarvLoginReqRecord login = DemoLogin();
    ok = ok && api->ReqLogin(&login, 1) == 0 && progress.WaitFor("login");
    const char* instruments[] = {"cu2601"};
    ok = ok && api->ReqQuotSubscribe(instruments, 1) == 0 && progress.WaitFor("subscribed") &&
         progress.WaitFor("quote", 2);
    NarvLogoutRecord logout{};
    ok = ok && api->ReqLogout(&logout, 2) == 0 && progress.WaitFor("logout");
    api->Release();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))) {
        std::cout << kHelp;
        return 0;
    }
    if (argc != 3) {
        std::cerr << "narv_capture_session: give the trade front and the quote front\n(--help tells more)\n";
        return 2;
    }
    const bool trade = TradeSession(argv[1]);
    const bool quote = QuoteSession(argv[2]);
    return trade && quote ? 0 : 1;
}
