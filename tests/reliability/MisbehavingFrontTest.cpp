// Both libraries, as shipped, against fronts that misbehave as real networks do: one that never
// answers a connection request (a firewall, a dead host) and one that accepts and closes at once (a
// proxy with nothing behind it). Failover past the first must take seconds, not the operating system's
// minutes; the second must be tried about once a second, not thousands of times; and the application
// must see every OnDisconnected after its OnConnected.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "support/MisbehavingFronts.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
constexpr auto kPatience = 20s;  // generous: the suite runs under sanitizers on 2 shared cores

// The connection notifications one application saw, in order, with a flag for any that came out of
// turn (a second OnConnected without OnDisconnected between, or OnDisconnected while not connected).
class CConnectionLedger {
public:
    void Connected() { Record(true); }
    void Disconnected() { Record(false); }

    bool WaitFor(bool connected, std::size_t count) {
        return state_.WaitUntil([&] { return (connected ? connects_ : disconnects_) >= count; }, kPatience);
    }
    std::size_t Connects() const {
        return state_.Read([&] { return connects_; });
    }
    std::size_t Disconnects() const {
        return state_.Read([&] { return disconnects_; });
    }
    bool OutOfTurn() const {
        return state_.Read([&] { return outOfTurn_; });
    }

private:
    void Record(bool connected) {
        state_.Note([&] {
            outOfTurn_ = outOfTurn_ || connected == up_;
            up_ = connected;
            ++(connected ? connects_ : disconnects_);
        });
    }
    CWaitable state_;
    bool up_ = false;
    bool outOfTurn_ = false;
    std::size_t connects_ = 0;
    std::size_t disconnects_ = 0;
};

class CTraderApplication final : public CNarvSqelTraderSpi {
public:
    explicit CTraderApplication(CConnectionLedger& ledger) : ledger_(ledger) {}
    void OnConnected() override { ledger_.Connected(); }
    void OnDisconnected(int) override { ledger_.Disconnected(); }

private:
    CConnectionLedger& ledger_;
};

class CMdApplication final : public CNarvSqelMdSpi {
public:
    explicit CMdApplication(CConnectionLedger& ledger) : ledger_(ledger) {}
    void OnConnected() override { ledger_.Connected(); }
    void OnDisconnected(int) override { ledger_.Disconnected(); }

private:
    CConnectionLedger& ledger_;
};

// One API object of either library, started on the given fronts, released when the session ends.
class CApiSession {
public:
    enum class Library { Trading, MarketData };

    CApiSession(Library library, const std::vector<std::string>& fronts) {
        if (library == Library::Trading) {
            auto* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
            traderSpi_ = std::make_unique<CTraderApplication>(ledger);
            api->RegisterSpi(traderSpi_.get());
            Start(api, fronts);
            release_ = [api] { api->Release(); };
        } else {
            auto* api = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
            mdSpi_ = std::make_unique<CMdApplication>(ledger);
            api->RegisterSpi(mdSpi_.get());
            Start(api, fronts);
            release_ = [api] { api->Release(); };
        }
    }
    ~CApiSession() { Release(); }
    CApiSession(const CApiSession&) = delete;
    CApiSession& operator=(const CApiSession&) = delete;

    // After it returns no notification comes.
    void Release() {
        if (release_) std::exchange(release_, {})();
    }

    CConnectionLedger ledger;
    const Clock::time_point started = Clock::now();

private:
    template <typename Api>
    static void Start(Api* api, const std::vector<std::string>& fronts) {
        for (const auto& front : fronts) {
            api->RegisterFront(("tcp://" + front).c_str());
        }
        api->Init();
    }

    std::unique_ptr<CTraderApplication> traderSpi_;
    std::unique_ptr<CMdApplication> mdSpi_;
    std::function<void()> release_;
};

class MisbehavingFront : public ::testing::TestWithParam<CApiSession::Library> {};

// The first front drops the connection request; the second is tried once the attempt has timed out
// (3 seconds) and the pause after a failed attempt (1 second) has passed.
TEST_P(MisbehavingFront, FailoverPastAFrontThatNeverAnswersTakesSeconds) {
    CUnansweringFront silent;
    CScriptedFront good;
    CApiSession session(GetParam(), {silent.Address(), good.Address()});
    ASSERT_TRUE(session.ledger.WaitFor(true, 1));
    const auto failover = Clock::now() - session.started;
    EXPECT_GE(failover, 3900ms) << "the silent front was given up before its time";
    EXPECT_LT(failover, 10s) << "failover is not bounded";
    ASSERT_TRUE(good.WaitForConnection(kPatience));
    session.Release();
    EXPECT_EQ(good.ConnectionCount(), 1);
    EXPECT_EQ(session.ledger.Disconnects(), 0u);
}

// A front that accepts and closes is reconnected about once a second, each time with OnConnected
// then OnDisconnected.
TEST_P(MisbehavingFront, FrontThatAcceptsAndClosesIsTriedAboutOnceASecond) {
    constexpr std::size_t kAccepts = 3;
    CClosingFront closing;
    CApiSession session(GetParam(), {closing.Address()});
    ASSERT_TRUE(closing.WaitForAccepts(kAccepts, kPatience));
    ASSERT_TRUE(session.ledger.WaitFor(false, kAccepts - 1));
    session.Release();
    const auto times = closing.AcceptTimes();
    for (std::size_t i = 1; i < times.size(); ++i) {
        EXPECT_GE(times[i] - times[i - 1], 900ms) << "attempt " << i << " came without the pause";
    }
    EXPECT_FALSE(session.ledger.OutOfTurn());
    EXPECT_LE(session.ledger.Connects(), times.size());
    EXPECT_LE(session.ledger.Connects() - session.ledger.Disconnects(), 1u);
}

// Such a front does not hold the client: after the pause the next front is tried.
TEST_P(MisbehavingFront, FrontThatAcceptsAndClosesGivesWayToTheNextFront) {
    CClosingFront closing;
    CScriptedFront good;
    CApiSession session(GetParam(), {closing.Address(), good.Address()});
    ASSERT_TRUE(good.WaitForConnection(kPatience));
    ASSERT_TRUE(session.ledger.WaitFor(true, 2));
    EXPECT_GE(Clock::now() - session.started, 900ms);
    session.Release();
    EXPECT_EQ(session.ledger.Connects(), 2u);
    EXPECT_EQ(session.ledger.Disconnects(), 1u);
    EXPECT_FALSE(session.ledger.OutOfTurn());
}

INSTANTIATE_TEST_SUITE_P(BothLibraries, MisbehavingFront,
                         ::testing::Values(CApiSession::Library::Trading, CApiSession::Library::MarketData),
                         [](const auto& info) {
                             return info.param == CApiSession::Library::Trading ? "Trading" : "MarketData";
                         });

}  // namespace
