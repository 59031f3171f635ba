// The whole life of an API object, over and over, as an application lives it: created, started,
// connected or not, requests on their way, released, from the application's thread, from another
// thread while callbacks run, and from inside a callback. Once Release has returned no callback may
// come, no thread of the object may be left and (under LeakSanitizer) nothing may be left allocated.
#include <gtest/gtest.h>

#include <dirent.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "NELOQueryRecords.h"
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "TZORecordLayout.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 20s;  // generous: the suite runs under sanitizers on 2 shared cores

// Threads of this process, as the kernel lists them.
int ThreadCount() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
}

// A thread that has been joined may still be listed for a moment while the kernel finishes it.
bool ThreadsSettleAt(int expected) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (ThreadCount() != expected) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// What every application callback does first: count itself, and count itself as late when the
// object it belongs to has already been released.
class CCallbackLedger {
public:
    void Enter() {
        if (released_.load()) ++late_;
        calls_.Add();
    }
    void MarkReleased() { released_.store(true); }
    bool WaitForCalls(int count) { return calls_.WaitFor(static_cast<std::size_t>(count), kPatience); }
    int Calls() const { return static_cast<int>(calls_.Count()); }
    int Late() const { return late_.load(); }

private:
    CEventCounter calls_;
    std::atomic<int> late_{0};
    std::atomic<bool> released_{false};
};

class CTraderApplication final : public CNarvSqelTraderSpi {
public:
    void OnConnected() override { ledger.Enter(); }
    void OnDisconnected(int) override { ledger.Enter(); }
    void OnOrderNty(const NarvOrderRecord*) override {
        ledger.Enter();
        if (onOrder) onOrder();
    }
    void OnOrderQueryRsp(const NarvOrderRecord*, const NarvRspInfoRecord*, int, bool) override {
        ledger.Enter();
        if (onOrder) onOrder();
    }
    void OnAuthenticateRsp(const NarvAuthenticateRspRecord*, const NarvRspInfoRecord*, int, bool) override {
        ledger.Enter();
    }
    void OnSettlementConfirmQueryRsp(const NarvSettlementConfirmRecord*, const NarvRspInfoRecord*, int, bool) override {
        ledger.Enter();
    }
    CCallbackLedger ledger;
    std::function<void()> onOrder;
};

class CMdApplication final : public CNarvSqelMdSpi {
public:
    void OnConnected() override { ledger.Enter(); }
    void OnDisconnected(int) override { ledger.Enter(); }
    void OnDepthQuoteNty(const NarvDepthQuoteRecord*) override {
        ledger.Enter();
        if (onQuote) onQuote();
    }
    void OnQuotSubscribeRsp(const NarvQuotInstrumentRecord*, const NarvRspInfoRecord*, int, bool) override {
        ledger.Enter();
    }
    CCallbackLedger ledger;
    std::function<void()> onQuote;
};

std::string FrontUrl(const CScriptedFront& front) { return "tcp://" + front.Address(); }

// ---- a thousand lives --------------------------------------------------------------------------------

enum class Life { NoFront, RefusingFront, ConnectedWithRequestsInFlight };

Life LifeOf(int cycle) { return static_cast<Life>(cycle % 3); }

// Keeps every application object until the end, so that a late callback lands on a live object and is
// counted instead of crashing the test.
template <class Application>
struct Applications {
    std::vector<std::unique_ptr<Application>> all;
    Application& Next() {
        all.push_back(std::make_unique<Application>());
        return *all.back();
    }
    int Late() const {
        int late = 0;
        for (const auto& application : all) late += application->ledger.Late();
        return late;
    }
};

constexpr int kLives = 1000;

TEST(Lifecycle, TradingApiLivesAThousandTimesWithoutLeavingThreadsOrCallbacksBehind) {
    CScriptedFront front;
    CScriptedFront refusing(false);
    const int baseline = ThreadCount();
    Applications<CTraderApplication> applications;
    NarvOrderQueryRecord orderQuery{};
    NarvAuthenticateReqRecord authenticate{};
    for (int cycle = 0; cycle < kLives; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        CTraderApplication& application = applications.Next();
        CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
        ASSERT_NE(api, nullptr);
        api->RegisterSpi(&application);
        const Life life = LifeOf(cycle);
        if (life == Life::RefusingFront) api->RegisterFront(FrontUrl(refusing).c_str());
        if (life == Life::ConnectedWithRequestsInFlight) api->RegisterFront(FrontUrl(front).c_str());
        api->Init();
        if (life == Life::ConnectedWithRequestsInFlight) {
            ASSERT_TRUE(application.ledger.WaitForCalls(1));  // OnConnected
            EXPECT_EQ(api->ReqOrderQuery(&orderQuery, cycle), 0);
        } else {
            EXPECT_EQ(api->ReqOrderQuery(&orderQuery, cycle), -1);
        }
        // Local answers queued for the library's own thread, still undelivered when Release comes.
        EXPECT_EQ(api->ReqAuthenticate(&authenticate, cycle), 0);
        EXPECT_EQ(api->ReqSettlementConfirmQuery(nullptr, cycle), 0);
        api->Release();
        application.ledger.MarkReleased();
        ASSERT_TRUE(ThreadsSettleAt(baseline)) << ThreadCount() << " threads, " << baseline << " before";
    }
    EXPECT_EQ(applications.Late(), 0) << "callbacks after Release returned";
}

TEST(Lifecycle, MarketDataApiLivesAThousandTimesWithoutLeavingThreadsOrCallbacksBehind) {
    CScriptedFront front;
    CScriptedFront refusing(false);
    const int baseline = ThreadCount();
    Applications<CMdApplication> applications;
    const char* instruments[] = {"cu2601", "au2602"};
    for (int cycle = 0; cycle < kLives; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        CMdApplication& application = applications.Next();
        CNarvSqelMdApi* api = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
        ASSERT_NE(api, nullptr);
        api->RegisterSpi(&application);
        const Life life = LifeOf(cycle);
        if (life == Life::RefusingFront) api->RegisterFront(FrontUrl(refusing).c_str());
        if (life == Life::ConnectedWithRequestsInFlight) api->RegisterFront(FrontUrl(front).c_str());
        api->Init();
        if (life == Life::ConnectedWithRequestsInFlight) {
            ASSERT_TRUE(application.ledger.WaitForCalls(1));  // OnConnected
            NarvLoginReqRecord login{};
            std::strcpy(login.InvestorID, "demo");
            EXPECT_EQ(api->ReqLogin(&login, cycle), 0);
        }
        EXPECT_EQ(api->ReqQuotSubscribe(instruments, 2), 0);
        api->Release();
        application.ledger.MarkReleased();
        ASSERT_TRUE(ThreadsSettleAt(baseline)) << ThreadCount() << " threads, " << baseline << " before";
    }
    EXPECT_EQ(applications.Late(), 0) << "callbacks after Release returned";
}

// ---- releasing while callbacks run --------------------------------------------------------------------

// Pushes without end once the client is connected: flow pushes of orders, or quotes.
std::vector<std::uint8_t> PushBurst(std::uint16_t serviceNo, std::int32_t kind, std::int32_t firstSequence, int count) {
    std::vector<std::uint8_t> burst;
    for (int i = 0; i < count; ++i) {
        const std::vector<std::uint8_t> frame = CScriptedFront::BuildFrame(serviceNo, kind, firstSequence + i);
        burst.insert(burst.end(), frame.begin(), frame.end());
    }
    return burst;
}

constexpr int kReleases = 20;

TEST(ReleaseWhileCallbacksRun, FromAnotherThreadNoCallbackFollowsAndNothingIsLeft) {
    CScriptedFront front;
    const int baseline = ThreadCount();
    for (int round = 0; round < kReleases; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        CTraderApplication trader;
        CMdApplication md;
        CNarvSqelTraderApi* traderApi = CNarvSqelTraderApi::CreateSqelTraderApi("");
        CNarvSqelMdApi* mdApi = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
        const bool tradeRound = round % 2 == 0;
        if (tradeRound) {
            traderApi->RegisterSpi(&trader);
            traderApi->RegisterFront(FrontUrl(front).c_str());
            traderApi->Init();
            ASSERT_TRUE(front.WaitForConnection());
            front.SendRaw(PushBurst(1, 124, 1, 3000));  // order pushes on the account flow
            ASSERT_TRUE(trader.ledger.WaitForCalls(20));
        } else {
            mdApi->RegisterSpi(&md);
            mdApi->RegisterFront(FrontUrl(front).c_str());
            mdApi->Init();
            ASSERT_TRUE(front.WaitForConnection());
            front.SendRaw(PushBurst(125, 0, 0, 3000));  // quote pushes
            ASSERT_TRUE(md.ledger.WaitForCalls(20));
        }
        // Released from a thread of its own while the library's thread is busy calling back.
        std::thread releaser([&] {
            traderApi->Release();
            trader.ledger.MarkReleased();
            mdApi->Release();
            md.ledger.MarkReleased();
        });
        releaser.join();
        EXPECT_EQ(trader.ledger.Late() + md.ledger.Late(), 0);
        ASSERT_TRUE(ThreadsSettleAt(baseline));
        ASSERT_TRUE(front.WaitForDisconnect());
    }
}

// An order query answered with several rows in one message.
std::vector<std::uint8_t> OrderListReply(int rows) {
    return CScriptedFront::BuildFrame(138, 5, 0, [rows](CAPIPackage& package) {
        CTZORecordSet list;
        if (package.AddRecordSet(TZOField::OrderList.id, &list) != 0) return -1;
        NELOOrderRecord order{};
        std::strcpy(order.InstrumentID, "cu2601");
        for (int i = 0; i < rows; ++i)
            if (TZOAddRecordToSet(list, kNELOOrderLayout, &order) != 0) return -1;
        return 0;
    });
}

TEST(ReleaseWhileCallbacksRun, FromInsideACallbackEndsTheObjectThere) {
    CScriptedFront front;
    const int baseline = ThreadCount();
    enum Kind { TradePushes, QuotePushes, TradeListRows };
    for (const Kind kind : {TradePushes, QuotePushes, TradeListRows, TradePushes, QuotePushes, TradeListRows}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        CTraderApplication trader;
        CMdApplication md;
        std::atomic<bool> releasedInCallback{false};
        // Set as the releasing callback's last act: the application objects outlive its return.
        std::atomic<bool> callbackReturned{false};
        if (kind != QuotePushes) {
            CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
            trader.onOrder = [&, api] {
                if (!releasedInCallback.exchange(true)) {
                    api->Release();
                    trader.ledger.MarkReleased();
                }
                callbackReturned.store(true);
            };
            api->RegisterSpi(&trader);
            api->RegisterFront(FrontUrl(front).c_str());
            api->Init();
            ASSERT_TRUE(front.WaitForConnection());
            ASSERT_TRUE(trader.ledger.WaitForCalls(1));  // OnConnected
            front.SendRaw(kind == TradePushes ? PushBurst(1, 124, 1, 50) : OrderListReply(3));
        } else {
            CNarvSqelMdApi* api = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
            md.onQuote = [&, api] {
                if (!releasedInCallback.exchange(true)) {
                    api->Release();
                    md.ledger.MarkReleased();
                }
                callbackReturned.store(true);
            };
            api->RegisterSpi(&md);
            api->RegisterFront(FrontUrl(front).c_str());
            api->Init();
            ASSERT_TRUE(front.WaitForConnection());
            ASSERT_TRUE(md.ledger.WaitForCalls(1));  // OnConnected
            front.SendRaw(PushBurst(125, 0, 0, 50));
        }
        ASSERT_TRUE(front.WaitForDisconnect()) << "the released object kept its connection";
        ASSERT_TRUE(ThreadsSettleAt(baseline)) << "the released object's thread did not end";
        EXPECT_TRUE(releasedInCallback.load());
        ASSERT_TRUE(callbackReturned.load());
        // OnConnected and the one callback that released: not a row or push more.
        EXPECT_EQ(trader.ledger.Calls() + md.ledger.Calls(), 2);
        EXPECT_EQ(trader.ledger.Late() + md.ledger.Late(), 0);
    }
}

}  // namespace
