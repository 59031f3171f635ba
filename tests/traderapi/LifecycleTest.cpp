// Release and Join, from every thread the application may call them on, and the library's state shared
// between application threads, the dispatch thread and the I/O thread (run under ThreadSanitizer too).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "TraderDispatchQueue.h"
#include "TraderFrontSupport.h"

namespace traderapi_test {
namespace {

using Lifecycle = FrontFixture;

// Whether `code` is the generic error `expected`. A Windows DLL carries its own copy of the C++ runtime,
// so an error thrown from it names a generic category that is not this program's object: the category
// is compared by name, not by identity.
bool IsGenericError(const std::error_code& code, std::errc expected) {
    return code.value() == static_cast<int>(expected) && std::string(code.category().name()) == "generic";
}

std::vector<std::uint8_t> OrderPushFrame(std::int32_t sequence) {
    NELOOrderRecord order{};
    std::strcpy(order.InstrumentID, "cu2505");
    return CScriptedFront::BuildFrame(1, 124, sequence, [&](CAPIPackage& p) {
        return TZOAddRecord(p, TZOField::Order.id, kNELOOrderLayout, &order);
    });
}

TEST(Frame, VersionIsKnownBeforeAnyObjectExists) { EXPECT_STREQ(CNarvSqelTraderApi::GetApiVersion(), "6.5.1"); }

// Addresses that end within their six-character scheme have no host behind it and are skipped; the
// scheme itself is never looked at.
TEST(Frame, AddressesWithoutAHostAreSkipped) {
    CScriptedFront front;
    CRecordingSpi spi;
    CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi(nullptr);
    api->RegisterSpi(&spi);
    api->RegisterFront(nullptr);
    api->RegisterFront("");
    api->RegisterFront("tcp:/");
    api->RegisterFront("tcp://");
    api->RegisterFront(("123456" + front.Address()).c_str());
    // Positions 5 and 6 take an address-like argument and do nothing with it.
    const char unused[] = "tcp://127.0.0.1:1";
    api->RegisterExt5(unused);
    api->RegisterExt6(nullptr);
    EXPECT_STREQ(api->GetTradingDay(), "");
    api->Init();
    EXPECT_TRUE(front.WaitForConnection());
    EXPECT_EQ(spi.WaitForPosition(0).position, 0);
    EXPECT_EQ(front.ConnectionCount(), 1);
    EXPECT_EQ(spi.Count(), 1u);
    api->Release();
}

// Two pushes arrive together; the application releases the object while the first is delivered. The
// second is never delivered, and the object is freed once the I/O thread has left it (ASan watches).
TEST_F(Lifecycle, ReleaseInsideAPushCallback) {
    std::promise<void> released;
    spi.OnNextCall(73, [&] {
        api->Release();
        released.set_value();
    });
    std::vector<std::uint8_t> frames = OrderPushFrame(1);
    const std::vector<std::uint8_t> second = OrderPushFrame(2);
    frames.insert(frames.end(), second.begin(), second.end());
    front.SendRaw(frames);
    ASSERT_EQ(released.get_future().wait_for(kWait), std::future_status::ready);
    api = nullptr;
    ASSERT_TRUE(front.WaitForDisconnect()) << "the released object closes its connection";
    ASSERT_TRUE(spi.WaitForCount(1));  // the callback that released has returned
    EXPECT_EQ(spi.Count(), 1u);
}

TEST_F(Lifecycle, ReleaseInsideAReplyCallbackOfAQuery) {
    std::promise<void> released;
    spi.OnNextCall(28, [&] {
        api->Release();
        released.set_value();
    });
    front.Send(138, 5, 0, [](CAPIPackage& p) {
        return AddRows(p, TZOField::OrderList, kNELOOrderLayout, std::vector<NELOOrderRecord>(3));
    });
    ASSERT_EQ(released.get_future().wait_for(kWait), std::future_status::ready);
    api = nullptr;
    ASSERT_TRUE(front.WaitForDisconnect());
    ASSERT_TRUE(spi.WaitForCount(1));  // the callback that released has returned
    EXPECT_EQ(spi.Count(), 1u) << "the rows after the release are not delivered";
}

TEST_F(Lifecycle, ReleaseInsideALocalReply) {
    std::promise<void> released;
    std::promise<void> secondQueued;
    spi.OnNextCall(25, [&] {
        secondQueued.get_future().wait();  // the second reply is queued before the object goes
        api->Release();
        released.set_value();
    });
    EXPECT_EQ(api->ReqExt37(nullptr, 1), 0);
    EXPECT_EQ(api->ReqExt38(nullptr, 2), 0);
    secondQueued.set_value();
    ASSERT_EQ(released.get_future().wait_for(kWait), std::future_status::ready);
    api = nullptr;
    ASSERT_TRUE(front.WaitForDisconnect());
    ASSERT_TRUE(spi.WaitForCount(1));
    EXPECT_EQ(spi.Count(), 1u) << "replies queued behind the release are discarded";
}

// Once Release returns, neither library thread calls the application again, although the front keeps
// sending pushes.
TEST_F(Lifecycle, NoCallbackAfterReleaseReturns) {
    std::atomic<bool> sending{true};
    std::thread pusher([&] {
        for (std::int32_t sequence = 1; sending.load(); ++sequence) {
            front.SendRaw(OrderPushFrame(sequence));
            std::this_thread::yield();
        }
    });
    ASSERT_EQ(spi.WaitForPosition(73).position, 73);
    for (int id = 0; id < 20; ++id) {
        api->ReqExt37(nullptr, id);
    }
    api->Release();
    api = nullptr;
    spi.MarkReleased();
    ASSERT_TRUE(front.WaitForDisconnect());
    sending.store(false);
    pusher.join();
    EXPECT_EQ(spi.LateCalls(), 0);
}

TEST(LifecycleJoin, JoinWithoutAThreadAndFromTheDispatchThreadFail) {
    CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
    try {
        api->Join();
        ADD_FAILURE() << "Join before Init must fail";
    } catch (const std::system_error& error) {
        EXPECT_TRUE(IsGenericError(error.code(), std::errc::invalid_argument)) << error.code();
    }
    CRecordingSpi spi;
    std::promise<std::error_code> joined;
    spi.OnNextCall(25, [&] {
        try {
            api->Join();
            joined.set_value({});
        } catch (const std::system_error& error) {
            joined.set_value(error.code());
        }
    });
    api->RegisterSpi(&spi);
    api->Init();
    api->ReqExt37(nullptr, 1);
    std::future<std::error_code> result = joined.get_future();
    ASSERT_EQ(result.wait_for(kWait), std::future_status::ready);
    const std::error_code joinError = result.get();
    EXPECT_TRUE(IsGenericError(joinError, std::errc::resource_deadlock_would_occur)) << joinError;
    api->Release();
}

// A Join waiting on another thread returns 0 once the queue is shut down, and the shutdown returns only
// after the joiner is done with the queue: the queue is destroyed at once, while the joiner may still be
// on its way out of Join (the sanitizers watch that it touches nothing freed).
TEST(LifecycleJoin, AWaitingJoinReturnsZeroAndTheQueueMayGoAtOnce) {
    for (bool fromDispatchThread : {false, true}) {
        SCOPED_TRACE(fromDispatchThread ? "shut down from a work item" : "shut down from another thread");
        auto queue = std::make_unique<CTraderDispatchQueue>();
        queue->Start();
        std::atomic<int> joinResult{-1};
        std::thread joiner([&joinResult, raw = queue.get()] { joinResult.store(raw->Join()); });
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (queue->WaitingJoiners() == 0 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        ASSERT_EQ(queue->WaitingJoiners(), 1);
        if (fromDispatchThread) {
            std::promise<void> exited;
            queue->Post([&] {
                queue->Shutdown([&] {
                    queue.reset();
                    exited.set_value();
                });
            });
            ASSERT_EQ(exited.get_future().wait_for(kWait), std::future_status::ready);
        } else {
            EXPECT_TRUE(queue->Shutdown());
            queue.reset();
        }
        joiner.join();
        EXPECT_EQ(joinResult.load(), 0);
    }
}

// Application threads log in, read the trading day, enter orders and ask for locally answered records
// while the I/O thread converts login replies and pushes: every shared field is read and written from
// several threads at once.
TEST_F(Lifecycle, SessionFieldsAreSharedSafelyBetweenThreads) {
    constexpr int kThreads = 3;
    constexpr int kRounds = 20;
    std::vector<std::thread> workers;
    std::atomic<std::size_t> textLengths{0};
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                NarvLoginReqRecord login{};
                std::strcpy(login.FirmID, t % 2 == 0 ? "FIRM_A" : "FIRM_B");
                std::strcpy(login.InvestorID, t % 2 == 0 ? "INV_A" : "INV_B");
                api->ReqLogin(&login, 1000 + t * kRounds + round);
                textLengths += std::strlen(api->GetTradingDay());
                NarvInputOrderRecord order{};
                std::strcpy(order.InstrumentID, "cu2505");
                api->ReqInputOrder(&order, 1);
                api->ReqSettlementConfirmQuery(nullptr, 2);
                api->ReqInvestorQuery(nullptr, 3);
                api->SetAccountFlowResume(round % 3);
            }
        });
    }
    // The front answers every login with alternating trading days and follows each with an order push.
    for (int answered = 0; answered < kThreads * kRounds; ++answered) {
        std::unique_ptr<ReceivedMessage> login = Expect(116);
        ASSERT_NE(login, nullptr);
        NELOLoginRspRecord rsp{};
        std::strcpy(rsp.TradeDate, answered % 2 == 0 ? "2025-03-14" : "2025-03-17");
        rsp.SessionID = (std::int64_t{answered} << 32) | 7;
        front.Send(117, login->RequestID, 0,
                   [&](CAPIPackage& p) { return TZOAddRecord(p, TZOField::LoginRsp.id, kNELOLoginRspLayout, &rsp); });
        Push(124, TZOField::Order, kNELOOrderLayout, NELOOrderRecord{});
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_TRUE(spi.WaitForPositionCount(4, kThreads * kRounds));
    const std::string day = api->GetTradingDay();
    EXPECT_TRUE(day == "20250314" || day == "20250317") << day;
}

}  // namespace
}  // namespace traderapi_test
