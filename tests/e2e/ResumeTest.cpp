// A trade connection lost in the middle of a stream of order pushes: the library reconnects, the
// application logs in again, the account flow resumes after the last push seen, and every push of the
// day reaches the application exactly once, in the simulator's order.
#include "APIPackage.h"
#include "EndToEndSupport.h"
#include "NELOQueryRecords.h"
#include "TZOFieldDictionary.h"
#include "TZORecordLayout.h"

namespace {

using namespace e2e;

constexpr std::int32_t kOrderKind = 124;
constexpr std::int32_t kTradeKind = 130;

// The status the trading library reports for a back-end order state.
char ExportedStatus(const NELOOrderRecord& order) {
    switch (order.OrderStatus) {
        case 'F':
            return '0';
        case 'C':
            return '5';
        case 'I':
            return order.Qty == order.QtyLeft ? '3' : '1';
        default:
            return 'a';
    }
}

// The order and trade pushes of the investor's account flow, in sequence order, keyed like the
// recorder's.
std::vector<std::string> JournaledPushes(CFrontSimulator& simulator) {
    return simulator.Call([](CTradeService& service) {
        std::vector<std::string> keys;
        for (const SimFlowEntry& entry : service.AccountFlow("demo").Entries()) {
            CAPIPackage package;
            package.OpenReceived(entry.message.data(), static_cast<std::uint32_t>(entry.message.size()));
            if (entry.kind == kOrderKind) {
                NELOOrderRecord order{};
                EXPECT_EQ(TZOReadGroup(package, TZOField::Order.id, kNELOOrderLayout, &order), 0);
                keys.push_back(CTraderRecorder::OrderPushKey(order.OrderSysID, ExportedStatus(order), order.QtyLeft));
            } else if (entry.kind == kTradeKind) {
                NELOTradeRecord trade{};
                EXPECT_EQ(TZOReadGroup(package, TZOField::Trade.id, kNELOTradeLayout, &trade), 0);
                keys.push_back(CTraderRecorder::TradePushKey(trade.MatchID));
            }
        }
        return keys;
    });
}

TEST(ResumeAfterLostConnection, EveryPushArrivesExactlyOnce) {
    // The first trade connection closes after its 31st message: the seventh order's first push, after
    // the login, flow subscription and quotation replies and the first six orders' replies and pushes.
    // That order's trade and fill pushes are journaled but never sent on this connection, so the replay
    // always carries part of the burst, however many of the later orders reached the front before the
    // close (an application thread slower than the front may not have sent them yet).
    SimConfig config = FastConfig();
    config.faults.trade = true;
    config.faults.quote = false;
    config.faults.connections = 1;
    config.faults.closeAfter = 31;
    CRunningSimulator simulator(config);

    CTraderSession trader(simulator.TradeFront(), [](CNarvSqelTraderApi& api) {
        api.SetAccountFlowResume(1);  // resume after the last push seen
    });
    CTraderRecorder& events = trader.Events();
    ASSERT_TRUE(events.WaitForConnects(1));
    ASSERT_EQ(trader.Login("demo", "demo123", 1).errorId, 0);

    NarvQuotQueryRecord query{};
    std::strncpy(query.InstrumentID, "m2605", sizeof query.InstrumentID - 1);
    ASSERT_EQ(trader.Api().ReqQuotQuery(&query, 2), 0);
    const auto quotes = CEventLog::Records<NarvQuotRecord>(events.Answer(2));
    ASSERT_EQ(quotes.size(), 1u);
    const NarvQuotRecord m = quotes[0];

    // A buy at the upper limit fills at once; one at the lower limit rests.
    auto order = [&](int n, bool fills) {
        const std::string ref = "r" + std::to_string(n);
        return OrderRequest("m2605", "DCE", '0', '0', fills ? m.HighLimit : m.LowLimit, 1, ref.c_str());
    };
    constexpr int kBurst = 30;
    for (int n = 0; n < kBurst; ++n) {
        const NarvInputOrderRecord request = order(n, n % 3 == 0);
        // Orders sent into the dying connection may be lost unseen; the flow still tells what happened.
        trader.Api().ReqInputOrder(&request, 100 + n);
    }

    ASSERT_TRUE(events.WaitForDisconnects(1));
    ASSERT_TRUE(events.WaitForConnects(2)) << "the library connects again by itself";
    ASSERT_EQ(trader.Login("demo", "demo123", 3).errorId, 0);

    // Orders after the resume; the last one fills, so its final push closes the stream.
    constexpr int kAfter = 5;
    for (int n = kBurst; n < kBurst + kAfter; ++n) {
        const NarvInputOrderRecord request = order(n, n % 3 == 0 || n == kBurst + kAfter - 1);
        ASSERT_EQ(trader.Api().ReqInputOrder(&request, 100 + n), 0);
    }
    const std::string lastRef = "r" + std::to_string(kBurst + kAfter - 1);
    ASSERT_TRUE(
        events.WaitForOrder([&](const NarvOrderRecord& o) { return lastRef == o.OrderRef && o.OrderStatus == '0'; }));

    const std::vector<std::string> journaled = JournaledPushes(*simulator);
    const std::vector<std::string> received = events.Pushes();
    EXPECT_EQ(received, journaled);

    // The loss really fell inside the burst: part of it arrived before, part only through the replay.
    const auto orders = events.Orders();
    const std::size_t before = events.OrdersBeforeFirstDisconnect();
    ASSERT_GT(before, 0u);
    std::size_t burstReplayed = 0;
    for (std::size_t i = before; i < orders.size(); ++i) {
        const std::string ref = orders[i].OrderRef;
        if (std::stoi(ref.substr(1)) < kBurst) ++burstReplayed;
    }
    std::string seen;  // references and statuses in arrival order, '|' where the connection was lost
    for (std::size_t i = 0; i < orders.size(); ++i)
        seen += std::string(i == before ? " | " : " ") + orders[i].OrderRef + ":" + orders[i].OrderStatus;
    EXPECT_GT(burstReplayed, 0u) << seen;
}

// The market-data library after its connection is cut: it connects again by itself, and quotes flow
// once the application has logged in and subscribed again.
TEST(QuoteReconnect, QuotesFlowAgainAfterLoginAndSubscription) {
    CRunningSimulator simulator;
    CMdSession md(simulator.QuoteFront());
    CMdRecorder& events = md.Events();
    ASSERT_TRUE(events.WaitForConnects(1));
    ASSERT_EQ(md.Login("demo", "demo123", 1).errorId, 0);
    const char* instruments[] = {"au2602"};
    ASSERT_EQ(md.Api().ReqQuotSubscribe(instruments, 1), 0);
    ASSERT_TRUE(events.WaitForQuotes("au2602", 2));

    simulator->DropConnections(false, true);
    ASSERT_TRUE(events.WaitForDisconnects(1));
    ASSERT_TRUE(events.WaitForConnects(2));
    ASSERT_EQ(md.Login("demo", "demo123", 2).errorId, 0);
    ASSERT_EQ(md.Api().ReqQuotSubscribe(instruments, 1), 0);
    ASSERT_TRUE(events.WaitForSubscriptionReplies(2));
    const auto resubscribed = events.Subscriptions()[1];
    EXPECT_EQ(resubscribed.errorId, 0);
    EXPECT_TRUE(events.WaitForQuotes("au2602", 2, resubscribed.quotesBefore));
}

// A fresh API object chooses where its account flow starts: the whole day's pushes, or new ones only.
TEST(FlowResumeModes, AFreshSessionReplaysTheDayOrOnlyWhatIsNew) {
    CRunningSimulator simulator;
    CTraderSession first(simulator.TradeFront(), [](CNarvSqelTraderApi& api) { api.SetAccountFlowResume(2); });
    ASSERT_TRUE(first.Events().WaitForConnects(1));
    ASSERT_EQ(first.Login("demo", "demo123", 1).errorId, 0);
    NarvQuotQueryRecord query{};
    std::strncpy(query.InstrumentID, "m2605", sizeof query.InstrumentID - 1);
    ASSERT_EQ(first.Api().ReqQuotQuery(&query, 2), 0);
    const auto quotes = CEventLog::Records<NarvQuotRecord>(first.Events().Answer(2));
    ASSERT_EQ(quotes.size(), 1u);
    int requestId = 10;
    // Two that fill and two that rest, then one more by every session below.
    for (double price : {quotes[0].HighLimit, quotes[0].LowLimit, quotes[0].HighLimit, quotes[0].LowLimit}) {
        // A reference of its own each: the resting ones stay working.
        const std::string ref = "day" + std::to_string(requestId);
        const NarvInputOrderRecord order = OrderRequest("m2605", "DCE", '0', '0', price, 1, ref.c_str());
        ASSERT_EQ(first.Api().ReqInputOrder(&order, ++requestId), 0);
    }
    // Each fill is pushed as the order, the trade and the filled order; each rest as the order once.
    ASSERT_TRUE(first.Events().WaitForPushes(8));

    struct Case {
        int resumeMode;  // SetAccountFlowResume
        bool replaysTheDay;
    };
    const Case cases[] = {{0, true}, {1, true}, {2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.resumeMode);
        CTraderSession late(simulator.TradeFront(),
                            [&](CNarvSqelTraderApi& api) { api.SetAccountFlowResume(c.resumeMode); });
        ASSERT_TRUE(late.Events().WaitForConnects(1));
        const std::size_t before = JournaledPushes(*simulator).size();
        ASSERT_EQ(late.Login("demo", "demo123", 1).errorId, 0);

        // Entered on the late session's own connection, so the front sees it after that session's flow
        // subscription, which the library sends on hearing the login reply.
        const std::string ref = "late" + std::to_string(c.resumeMode);
        const NarvInputOrderRecord order = OrderRequest("m2605", "DCE", '0', '0', quotes[0].LowLimit, 1, ref.c_str());
        ASSERT_EQ(late.Api().ReqInputOrder(&order, ++requestId), 0);
        ASSERT_TRUE(late.Events().WaitForOrder([&](const NarvOrderRecord& o) { return ref == o.OrderRef; }));

        const std::vector<std::string> journal = JournaledPushes(*simulator);
        const std::vector<std::string> expected(journal.begin() + (c.replaysTheDay ? 0 : before), journal.end());
        late.Events().WaitForPushes(expected.size());
        EXPECT_EQ(late.Events().Pushes(), expected);
    }
}

}  // namespace
