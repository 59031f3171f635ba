// The simulated front on the wire: sessions, refusals, flows with replay, list answers over several
// packages and the fault switches, seen by a bare client on loopback.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FrontSimulator.h"
#include "NELOAccountRecords.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOQueryRecords.h"
#include "NELOQuotCatalog.h"
#include "NELOSessionRecords.h"
#include "NELOTradeCatalog.h"
#include "QuoteService.h"
#include "SimReplyCodes.h"
#include "SimText.h"
#include "SimWireClient.h"
#include "TZOFieldDictionary.h"
#include "TradeService.h"

namespace {

constexpr const char* kTradingDay = "2026-03-02";

SimConfig TestConfig() {
    SimConfig config = DefaultSimConfig();
    config.tradingDay = kTradingDay;
    config.quoteRate = 50.0;
    return config;
}

class CServingSimulator {
public:
    explicit CServingSimulator(SimConfig config = TestConfig()) : simulator_(std::move(config)) {
        simulator_.Open();
        simulator_.RunInBackground();
    }
    CFrontSimulator& operator*() { return simulator_; }
    CFrontSimulator* operator->() { return &simulator_; }

private:
    CFrontSimulator simulator_;
};

NELORspInfoRecord StatusOf(const SimWireMessage& message) {
    CAPIPackage package;
    message.Open(package);
    NELORspInfoRecord info{};
    // A reply without a readable RspInfo reads as a refusal no front sends.
    if (TZOReadGroup(package, TZOField::RspInfo.id, kNELORspInfoLayout, &info) != 0) info = NELORspInfoRecord{-1, {}};
    return info;
}

template <class Record>
std::vector<Record> RowsOf(const SimWireMessage& message, std::uint16_t listId, const TZORecordLayout& layout) {
    CAPIPackage package;
    message.Open(package);
    std::vector<Record> rows;
    auto set = package.GetRecordSet(listId);
    while (set && set->NextRecord()) {
        rows.emplace_back();
        EXPECT_EQ(TZODecodeRecord(layout, &rows.back(), set->RecordData(), set->RecordLength()), 0);
    }
    return rows;
}

SimWireMessage Expect(CSimWireClient& client, std::uint16_t serviceNo) {
    SimWireMessage message;
    EXPECT_EQ(client.Next(message), CSimWireClient::Read::Message);
    EXPECT_EQ(message.serviceNo, serviceNo);
    return message;
}

SimWireMessage Login(CSimWireClient& client, const char* investor, const char* password, std::int32_t id = 1) {
    client.Send(116, id, [&](CAPIPackage& p) {
        NELOLoginReqRecord login{};
        SimCopy(login.InvestorID, investor);
        SimCopy(login.InvestorPassword, password);
        TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login);
    });
    return Expect(client, 117);
}

NELOLoginRspRecord GrantOf(const SimWireMessage& reply) {
    CAPIPackage package;
    reply.Open(package);
    NELOLoginRspRecord granted{};
    EXPECT_EQ(TZOReadGroup(package, TZOField::LoginRsp.id, kNELOLoginRspLayout, &granted), 0);
    return granted;
}

// Subscribes flow 1 from `pkgNo` and returns the start the front answered with.
std::int32_t SubscribeAccountFlow(CSimWireClient& client, std::int32_t pkgNo) {
    client.Send(3, 0, [&](CAPIPackage& p) {
        auto list = p.AddRecordSet(TZOField::FlowSubscribeReqList.id);
        const NELOFlowSubscribeRecord row{1, pkgNo};
        TZOAddRecordToSet(*list, kNELOFlowSubscribeLayout, &row);
    });
    const auto rows =
        RowsOf<NELOFlowSubscribeRecord>(Expect(client, 4), TZOField::FlowSubscribeRspList.id, kNELOFlowSubscribeLayout);
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? -2 : rows[0].PkgNo;
}

// A buy of one m2605 lot at the lower limit: it rests, so its pushes are the order and the funds.
void EnterRestingOrder(CSimWireClient& client, std::int32_t id) {
    client.Send(122, id, [](CAPIPackage& p) {
        NELOInputOrderRecord order{};
        SimCopy(order.InvestorID, "demo");
        SimCopy(order.InstrumentID, "m2605");
        SimCopy(order.ExchangeID, "DCE");
        order.BSFlag = 'B';
        order.OCFlag = 'O';
        order.PriceType = 'L';
        order.Price = 2659.0;  // the default m2605's lower limit: 2890 less 8%, on its tick grid
        order.Qty = 1;
        TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
    });
}

TEST(FrontSessions, LoginsAreCheckedAndEveryConnectionHasItsOwnSession) {
    CServingSimulator simulator;
    struct Case {
        const char* investor;
        const char* password;
        SimReply expected;
    };
    const Case cases[] = {
        {"nobody", "demo123", SimReply::UnknownInvestor},
        {"demo", "wrong", SimReply::WrongPassword},
        {"demo", "demo123", SimReply::Ok},
    };
    CSimWireClient client(simulator->TradePort());
    for (const auto& c : cases) {
        const NELORspInfoRecord info = StatusOf(Login(client, c.investor, c.password));
        EXPECT_EQ(info.RspNo, static_cast<std::int16_t>(c.expected)) << c.investor << "/" << c.password;
        EXPECT_STREQ(info.RspDesc, SimReplyDescription(c.expected));
    }

    CSimWireClient other(simulator->TradePort());
    const NELOLoginRspRecord first = GrantOf(Login(client, "demo", "demo123"));
    const NELOLoginRspRecord second = GrantOf(Login(other, "demo", "demo123"));
    EXPECT_STREQ(first.TradeDate, kTradingDay);
    EXPECT_EQ(first.SessionID >> 32, 1) << "the front number is the high half";
    EXPECT_NE(first.SessionID, second.SessionID);
    EXPECT_EQ(GrantOf(Login(client, "demo", "demo123")).SessionID, first.SessionID)
        << "a login again on the same connection keeps its session";
}

TEST(FrontSessions, TheHighestFrontNumberStillGivesPositiveSessionIds) {
    SimConfig config = TestConfig();
    config.frontId = kSimMaxFrontId;
    CServingSimulator simulator(config);
    CSimWireClient trade(simulator->TradePort());
    CSimWireClient quote(simulator->QuotePort());
    const std::int64_t tradeSession = GrantOf(Login(trade, "demo", "demo123")).SessionID;
    const std::int64_t quoteSession = GrantOf(Login(quote, "demo", "demo123")).SessionID;
    EXPECT_EQ(tradeSession >> 32, kSimMaxFrontId);
    EXPECT_EQ(quoteSession >> 32, kSimMaxFrontId + 1) << "quote sessions are numbered apart";
    EXPECT_GT(tradeSession & 0xFFFFFFFF, 0);
}

// Every request of either service is answered by a route of the simulator or refused on purpose; one
// that is neither would be refused by accident.
TEST(FrontSessions, EveryRequestOfBothServicesIsAnsweredOrRefusedOnPurpose) {
    for (const NELOTradeMessageDef& message : kNELOTradeMessages) {
        if (message.direction != NELODirection::ToServer) continue;
        EXPECT_NE(CTradeService::Answers(message.id), CTradeService::Refuses(message.id))
            << "trade " << message.meaning;
    }
    for (const quot::NELOQuotMessageDef& message : quot::kNELOQuotMessages) {
        if (message.direction != NELODirection::ToServer) continue;
        EXPECT_NE(CQuoteService::Answers(message.id), CQuoteService::Refuses(message.id))
            << "quote " << message.meaning;
    }
}

TEST(FrontSessions, RefusedServicesAnswerWithANonZeroCode) {
    CServingSimulator simulator;
    CSimWireClient client(simulator->TradePort());
    // Before login every service but the login itself is refused.
    client.Send(143, 5);
    EXPECT_EQ(StatusOf(Expect(client, 144)).RspNo, static_cast<std::int16_t>(SimReply::NotLoggedIn));

    ASSERT_EQ(StatusOf(Login(client, "demo", "demo123")).RspNo, 0);
    // Profit/loss stops, fund transfers, bank binding and numbers the service does not know.
    for (std::uint16_t serviceNo : {154, 167, 196, 999}) {
        client.Send(serviceNo, 7);
        const SimWireMessage reply = Expect(client, static_cast<std::uint16_t>(serviceNo + 1));
        EXPECT_EQ(reply.requestId, 7);
        EXPECT_EQ(StatusOf(reply).RspNo, static_cast<std::int16_t>(SimReply::NotSupported)) << serviceNo;
    }

    CSimWireClient quote(simulator->QuotePort());
    quote.Send(150, 8);  // a history query of the quote service
    EXPECT_EQ(StatusOf(Expect(quote, 151)).RspNo, static_cast<std::int16_t>(SimReply::NotSupported));
}

TEST(FrontSessions, AccountServiceQueriesAreAnsweredWithTheirLists) {
    CServingSimulator simulator;
    CSimWireClient client(simulator->TradePort());
    ASSERT_EQ(StatusOf(Login(client, "demo", "demo123")).RspNo, 0);
    EnterRestingOrder(client, 2);
    ASSERT_EQ(StatusOf(Expect(client, 123)).RspNo, 0);

    struct Case {
        std::uint16_t serviceNo;
        std::uint16_t listId;
        std::size_t rows;
    };
    const Case cases[] = {
        {161, TZOField::BulletinList.id, 0},     {163, TZOField::NoticeList.id, 0},
        {170, TZOField::FundIODetailList.id, 0}, {172, TZOField::ReportList.id, 0},
        {174, TZOField::OrderList.id, 1},        {176, TZOField::TradeList.id, 0},
        {178, TZOField::BulletinList.id, 0},     {180, TZOField::NoticeList.id, 0},
        {198, TZOField::AccountBindList.id, 0},  {200, TZOField::FundList.id, 1},
        {202, TZOField::PosiDetailList.id, 0},
    };
    for (const auto& c : cases) {
        client.Send(c.serviceNo, c.serviceNo);  // empty keys: every instrument, any date
        SimWireMessage reply;
        do {  // the order's pushes may still be on their way
            ASSERT_EQ(client.Next(reply), CSimWireClient::Read::Message);
        } while (reply.serviceNo == 1);
        EXPECT_EQ(reply.serviceNo, c.serviceNo + 1);
        EXPECT_EQ(reply.requestId, c.serviceNo);
        EXPECT_EQ(reply.endFlag, 0);
        EXPECT_EQ(StatusOf(reply).RspNo, 0) << c.serviceNo;
        CAPIPackage package;
        reply.Open(package);
        auto set = package.GetRecordSet(c.listId);
        std::size_t rows = 0;
        while (set && set->NextRecord()) ++rows;
        EXPECT_EQ(rows, c.rows) << c.serviceNo;
    }

    // A history range that leaves out the simulator's day finds nothing.
    client.Send(174, 9, [](CAPIPackage& p) {
        NELOHisKeyRecord key{};
        SimCopy(key.DateFrom, "20260303");
        TZOAddRecord(p, TZOField::HisOrderQueryReq.id, kNELOHisKeyLayout, &key);
    });
    EXPECT_TRUE(RowsOf<NELOOrderRecord>(Expect(client, 175), TZOField::OrderList.id, kNELOOrderLayout).empty());
}

TEST(FrontFlows, SequenceNumbersAreGapFreeAndReplayFollowsTheRequestedStart) {
    CServingSimulator simulator;
    CSimWireClient trader(simulator->TradePort());
    ASSERT_EQ(StatusOf(Login(trader, "demo", "demo123")).RspNo, 0);
    for (int id = 1; id <= 3; ++id) {
        EnterRestingOrder(trader, id);
        ASSERT_EQ(StatusOf(Expect(trader, 123)).RspNo, 0);
    }
    auto journalEnd = [&] {
        return simulator->Call([](CTradeService& s) { return s.AccountFlow("demo").LastSequence(); });
    };
    std::uint32_t last = journalEnd();
    ASSERT_GE(last, 3u);

    struct Case {
        const char* what;
        std::int32_t pkgNo;
        std::int32_t start;  // the front's answer; replay follows from start + 1
    };
    // Starts beyond the journal are given relative to its end when the case runs.
    constexpr std::int32_t kEnd = 1000000;
    const Case cases[] = {
        {"from the beginning", 0, 0},
        {"after the last seen", 2, 2},
        {"new pushes only", -1, kEnd},
        {"beyond the end", kEnd + 10, kEnd},
    };
    for (Case c : cases) {
        if (c.pkgNo >= kEnd) c.pkgNo = static_cast<std::int32_t>(last) + (c.pkgNo - kEnd);
        if (c.start == kEnd) c.start = static_cast<std::int32_t>(last);
        SCOPED_TRACE(c.what);
        CSimWireClient client(simulator->TradePort());
        ASSERT_EQ(StatusOf(Login(client, "demo", "demo123")).RspNo, 0);
        EXPECT_EQ(SubscribeAccountFlow(client, c.pkgNo), c.start);
        for (std::uint32_t sequence = static_cast<std::uint32_t>(c.start) + 1; sequence <= last; ++sequence) {
            const SimWireMessage push = Expect(client, 1);
            EXPECT_EQ(static_cast<std::uint32_t>(push.endFlag), sequence);
        }
        // The next push continues the numbering without a gap, on this connection too.
        EnterRestingOrder(trader, 50);
        const SimWireMessage next = Expect(client, 1);
        EXPECT_EQ(static_cast<std::uint32_t>(next.endFlag), last + 1);
        EXPECT_EQ(next.requestId, 124) << "the order comes first";
        // Drain what the order caused, so the next case starts from the same journal.
        ASSERT_EQ(StatusOf(Expect(trader, 123)).RspNo, 0);
        const std::uint32_t now = journalEnd();
        for (std::uint32_t sequence = last + 2; sequence <= now; ++sequence)
            EXPECT_EQ(static_cast<std::uint32_t>(Expect(client, 1).endFlag), sequence);
        last = now;
    }
}

TEST(FrontFlows, MarketFlowCarriesTheStatusOfEveryExchange) {
    CServingSimulator simulator;
    CSimWireClient client(simulator->TradePort());
    ASSERT_EQ(StatusOf(Login(client, "demo", "demo123")).RspNo, 0);
    client.Send(3, 0, [](CAPIPackage& p) {
        auto list = p.AddRecordSet(TZOField::FlowSubscribeReqList.id);
        const NELOFlowSubscribeRecord row{2, 0};
        TZOAddRecordToSet(*list, kNELOFlowSubscribeLayout, &row);
    });
    Expect(client, 4);
    std::vector<std::string> exchanges;
    for (const char* exchange : {"SHFE", "INE", "DCE", "CZCE", "CFFEX"}) {
        const SimWireMessage push = Expect(client, 2);
        EXPECT_EQ(push.requestId, 129);
        EXPECT_EQ(push.endFlag, static_cast<std::int32_t>(exchanges.size() + 1));
        CAPIPackage package;
        push.Open(package);
        NELOMarketStatusRecord status{};
        ASSERT_GE(TZOReadGroup(package, TZOField::MarketStatusNty.id, kNELOMarketStatusLayout, &status), 0);
        EXPECT_STREQ(status.ExchangeID, exchange);
        EXPECT_STREQ(status.MarketStatusDesc, kSimContinuousTradingText);
        exchanges.push_back(status.ExchangeID);
    }
}

TEST(FrontQueries, AListLargerThanOneMessageIsSplitWithEndFlags) {
    SimConfig config = TestConfig();
    config.instruments.clear();
    for (int n = 1; n <= 150; ++n) {
        SimInstrument instrument;
        instrument.instrumentId = "t" + std::to_string(n);
        instrument.exchangeId = n % 2 ? "SHFE" : "INE";
        instrument.preSettle = 1000.0;
        config.instruments.push_back(instrument);
    }
    CServingSimulator simulator(config);
    CSimWireClient client(simulator->TradePort());
    ASSERT_EQ(StatusOf(Login(client, "demo", "demo123")).RspNo, 0);

    client.Send(145, 3);
    std::vector<std::string> ids;
    std::vector<std::int32_t> endFlags;
    SimWireMessage reply;
    do {
        reply = Expect(client, 146);
        EXPECT_EQ(reply.requestId, 3);
        EXPECT_LE(reply.bytes.size(), kAPIMessageMaxSize);
        EXPECT_EQ(StatusOf(reply).RspNo, 0);
        for (const auto& row : RowsOf<NELOInstrumentRecord>(reply, TZOField::InstrumentList.id, kNELOInstrumentLayout))
            ids.push_back(row.InstrumentID);
        endFlags.push_back(reply.endFlag);
    } while (reply.endFlag != 0 && !::testing::Test::HasFailure());
    ASSERT_GE(endFlags.size(), 2u);
    for (std::size_t i = 0; i + 1 < endFlags.size(); ++i) EXPECT_EQ(endFlags[i], 1);
    ASSERT_EQ(ids.size(), 150u);
    for (int n = 1; n <= 150; ++n) EXPECT_EQ(ids[n - 1], "t" + std::to_string(n));
}

// The fault switches, each on the first connection only.
TEST(FrontFaults, CloseAfterEndsTheConnectionAfterExactlyThatManyMessages) {
    SimConfig config = TestConfig();
    config.faults.connections = 1;
    config.faults.closeAfter = 2;
    CServingSimulator simulator(config);
    CSimWireClient client(simulator->TradePort());
    Login(client, "demo", "demo123", 1);
    client.Send(143, 2);
    Expect(client, 144);
    SimWireMessage message;
    EXPECT_EQ(client.Next(message), CSimWireClient::Read::Closed);

    CSimWireClient next(simulator->TradePort());
    for (int i = 0; i < 3; ++i) Login(next, "demo", "demo123", i);
}

TEST(FrontFaults, OversizedFrameFollowsTheGivenMessage) {
    SimConfig config = TestConfig();
    config.faults.oversizedAfter = 1;
    CServingSimulator simulator(config);
    CSimWireClient client(simulator->TradePort());
    Login(client, "demo", "demo123");
    SimWireMessage message;
    ASSERT_EQ(client.Next(message), CSimWireClient::Read::Message);
    EXPECT_GT(client.LastDeclaredLength(), kAPIMessageMaxSize);
}

TEST(FrontFaults, SplitWritesStillCarryWholeMessages) {
    SimConfig config = TestConfig();
    config.faults.splitWrites = 3;
    CServingSimulator simulator(config);
    CSimWireClient client(simulator->TradePort());
    EXPECT_STREQ(GrantOf(Login(client, "demo", "demo123")).TradeDate, kTradingDay);
    client.Send(145, 2);
    EXPECT_EQ(
        RowsOf<NELOInstrumentRecord>(Expect(client, 146), TZOField::InstrumentList.id, kNELOInstrumentLayout).size(),
        TestConfig().instruments.size());
}

TEST(FrontFaults, HeartbeatsKeepAnIdleConnectionAliveUntilSilenced) {
    SimConfig config = TestConfig();
    config.heartbeatSeconds = 1;
    config.faults.connections = 1;
    config.faults.silenceAfter = 1;
    CServingSimulator simulator(config);

    // The first connection falls silent after its login reply: not even a heartbeat follows.
    CSimWireClient silenced(simulator->TradePort());
    Login(silenced, "demo", "demo123");
    SimWireMessage message;
    EXPECT_EQ(silenced.Next(message, true, std::chrono::milliseconds(2500)), CSimWireClient::Read::TimedOut);

    CSimWireClient healthy(simulator->TradePort());
    Login(healthy, "demo", "demo123");
    ASSERT_EQ(healthy.Next(message, true), CSimWireClient::Read::Message);
    EXPECT_EQ(message.serviceNo, 0) << "an idle connection hears a heartbeat";
}

TEST(FrontFaults, SwitchesCanBeThrownWhileServing) {
    CServingSimulator simulator;
    CSimWireClient trade(simulator->TradePort());
    CSimWireClient quote(simulator->QuotePort());
    Login(trade, "demo", "demo123");
    simulator->DropConnections(true, false);
    SimWireMessage message;
    EXPECT_EQ(trade.Next(message), CSimWireClient::Read::Closed);

    SimFaults faults;
    faults.closeAfter = 1;
    simulator->SetFaults(faults);
    CSimWireClient next(simulator->TradePort());
    Login(next, "demo", "demo123");
    EXPECT_EQ(next.Next(message), CSimWireClient::Read::Closed);

    // The quote connection was left alone by both.
    quote.Send(116, 1, [](CAPIPackage& p) {
        NELOLoginReqRecord login{};
        SimCopy(login.InvestorID, "demo");
        SimCopy(login.InvestorPassword, "demo123");
        TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login);
    });
    EXPECT_EQ(StatusOf(Expect(quote, 117)).RspNo, 0);
}

TEST(FrontQuotes, SubscribersReceiveTenLevelsOfTheWalkingMarket) {
    CServingSimulator simulator;
    CSimWireClient quote(simulator->QuotePort());
    ASSERT_EQ(StatusOf(Login(quote, "demo", "demo123")).RspNo, 0);
    quote.Send(7, 0, [](CAPIPackage& p) {
        NELOQueryKeyRecord key{};  // InvestorID and InstrumentID, as the subscription key
        SimCopy(key.InstrumentID, "cu2601");
        TZOAddRecord(p, TZOField::QuotSubscribeReq.id, kNELOQueryKeyLayout, &key);
    });
    EXPECT_EQ(StatusOf(Expect(quote, 8)).RspNo, 0);
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        // The quote record of the trade service has the same fields as the quote push.
        CAPIPackage package;
        const SimWireMessage push = Expect(quote, 125);
        push.Open(package);
        NELOQuotRecord q{};
        ASSERT_GE(TZOReadGroup(package, TZOField::Quot.id, kNELOQuotLayout, &q), 0);
        EXPECT_STREQ(q.InstrumentID, "cu2601");
        EXPECT_STREQ(q.ExchangeID, "SHFE");
        EXPECT_STREQ(q.TradeDate, kTradingDay);
        const double bids[] = {q.BidPrice,  q.BidPrice2, q.BidPrice3, q.BidPrice4, q.BidPrice5,
                               q.BidPrice6, q.BidPrice7, q.BidPrice8, q.BidPrice9, q.BidPrice10};
        const double asks[] = {q.AskPrice,  q.AskPrice2, q.AskPrice3, q.AskPrice4, q.AskPrice5,
                               q.AskPrice6, q.AskPrice7, q.AskPrice8, q.AskPrice9, q.AskPrice10};
        const std::int32_t bidQty[] = {q.BidQty,  q.BidQty2, q.BidQty3, q.BidQty4, q.BidQty5,
                                       q.BidQty6, q.BidQty7, q.BidQty8, q.BidQty9, q.BidQty10};
        const std::int32_t askQty[] = {q.AskQty,  q.AskQty2, q.AskQty3, q.AskQty4, q.AskQty5,
                                       q.AskQty6, q.AskQty7, q.AskQty8, q.AskQty9, q.AskQty10};
        for (int level = 0; level < 10; ++level) {
            EXPECT_GT(bidQty[level], 0) << "level " << level + 1;
            EXPECT_GT(askQty[level], 0) << "level " << level + 1;
            EXPECT_NEAR(asks[level] - bids[level], 10.0 * (2 * level + 2), 1e-6) << "one tick apart per level";
        }
        EXPECT_GE(bids[9], q.LowLimit);
        EXPECT_LE(asks[9], q.HighLimit);
    }
}

TEST(FrontControl, ACallAfterStopFailsInsteadOfWaitingForever) {
    CFrontSimulator simulator(TestConfig());
    simulator.Open();
    simulator.RunInBackground();
    EXPECT_EQ(simulator.Call([](CTradeService& s) { return s.SessionCount(); }), 0u);
    simulator.Stop();
    EXPECT_THROW(simulator.Call([](CTradeService& s) { return s.SessionCount(); }), std::runtime_error);
}

}  // namespace
