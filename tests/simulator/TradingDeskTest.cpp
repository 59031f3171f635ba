#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SimText.h"
#include "TradingDesk.h"

namespace {

// Every change the desk reports, in order, as (kind, record copy).
struct RecordingSink : ITradeEventSink {
    std::vector<std::string> kinds;
    std::vector<NELOOrderRecord> orders;
    std::vector<NELOTradeRecord> trades;
    std::vector<NELOPosiRecord> positions;
    std::vector<NELOPosiDetailRecord> details;
    std::vector<NELOFundRecord> funds;

    void OnOrderChanged(const std::string&, const NELOOrderRecord& r) override {
        kinds.push_back(std::string("order ") + r.OrderStatus);
        orders.push_back(r);
    }
    void OnTrade(const std::string&, const NELOTradeRecord& r) override {
        kinds.push_back("trade");
        trades.push_back(r);
    }
    void OnPositionChanged(const std::string&, const NELOPosiRecord& r) override {
        kinds.push_back("position");
        positions.push_back(r);
    }
    void OnPositionDetailChanged(const std::string&, const NELOPosiDetailRecord& r) override {
        kinds.push_back("detail");
        details.push_back(r);
    }
    void OnFundChanged(const std::string&, const NELOFundRecord& r) override {
        kinds.push_back("fund");
        funds.push_back(r);
    }
    void Clear() { *this = RecordingSink{}; }
};

class TradingDeskTest : public testing::Test {
protected:
    TradingDeskTest()
        : config_(MakeConfig()),
          market_(config_.instruments, config_.tradingDay, 11, config_.priceLimitRate),
          desk_(config_, market_, sink_, [] { return std::string("10:15:30"); }) {}

    static SimConfig MakeConfig() {
        SimConfig config;
        config.tradingDay = "2026-01-05";
        config.accounts = {{"demo", "demo123", 1000000.0, "Demo"}, {"rich", "pw", 1e12, "Rich"}};
        config.instruments = {{"cu2601", "SHFE", 71230.0, 10.0, 5, 0.10, 0.0001},
                              {"sc2602", "INE", 520.3, 0.1, 1000, 0.15, 0.0}};
        config.maxOrderQty = 1000;
        return config;
    }

    // Every order gets an OrderRef of its own, the first "7".
    NELOInputOrderRecord Order(const char* instrument, char bs, char oc, char priceType, double price,
                               std::int32_t qty) {
        NELOInputOrderRecord r{};
        SimCopy(r.InstrumentID, instrument);
        r.BSFlag = bs;
        r.OCFlag = oc;
        r.PriceType = priceType;
        r.Price = price;
        r.Qty = qty;
        SimCopy(r.OrderRef, std::to_string(nextOrderRef_++));
        return r;
    }

    const SimDepthSnapshot& Book(const char* instrument) { return market_.Snapshot(market_.Find(instrument)); }

    static constexpr std::int64_t kSession = (std::int64_t{1} << 32) | 5;
    SimReply Enter(const NELOInputOrderRecord& request, const char* investor = "demo",
                   NELOOrderRecord* accepted = nullptr, std::int64_t session = kSession) {
        return desk_.EnterOrder(investor, session, request, accepted);
    }

    SimConfig config_;
    CMarketSimulator market_;
    RecordingSink sink_;
    CTradingDesk desk_;
    int nextOrderRef_ = 7;
};

TEST_F(TradingDeskTest, LoginAndPasswordChecks) {
    EXPECT_EQ(desk_.CheckLogin("demo", "demo123"), SimReply::Ok);
    EXPECT_EQ(desk_.CheckLogin("demo", "wrong"), SimReply::WrongPassword);
    EXPECT_EQ(desk_.CheckLogin("nobody", "demo123"), SimReply::UnknownInvestor);
    EXPECT_EQ(desk_.ChangePassword("demo", "wrong", "new"), SimReply::WrongOldPassword);
    EXPECT_EQ(desk_.ChangePassword("demo", "demo123", ""), SimReply::BadNewPassword);
    EXPECT_EQ(desk_.ChangePassword("demo", "demo123", "new"), SimReply::Ok);
    EXPECT_EQ(desk_.CheckLogin("demo", "new"), SimReply::Ok);
    EXPECT_EQ(desk_.CheckLogin("demo", "demo123"), SimReply::WrongPassword);
}

TEST_F(TradingDeskTest, RejectsInvalidOrdersWithoutAnyEvent) {
    const SimDepthSnapshot& cu = Book("cu2601");
    auto withInvestor = Order("cu2601", 'B', 'O', 'L', cu.asks[0].price, 1);
    SimCopy(withInvestor.InvestorID, "someone");
    auto withExchange = Order("cu2601", 'B', 'O', 'L', cu.asks[0].price, 1);
    SimCopy(withExchange.ExchangeID, "DCE");
    const struct {
        const char* what;
        NELOInputOrderRecord order;
        SimReply expected;
    } cases[] = {
        {"unknown instrument", Order("xx9999", 'B', 'O', 'L', 100, 1), SimReply::UnknownInstrument},
        {"another investor", withInvestor, SimReply::InvestorMismatch},
        {"another exchange", withExchange, SimReply::WrongExchange},
        {"unknown direction", Order("cu2601", 'X', 'O', 'L', cu.asks[0].price, 1), SimReply::BadOrderFlags},
        {"unknown offset", Order("cu2601", 'B', 'Z', 'L', cu.asks[0].price, 1), SimReply::BadOrderFlags},
        {"unknown price type", Order("cu2601", 'B', 'O', 'Q', cu.asks[0].price, 1), SimReply::BadOrderFlags},
        {"zero quantity", Order("cu2601", 'B', 'O', 'L', cu.asks[0].price, 0), SimReply::BadQuantity},
        {"negative quantity", Order("cu2601", 'B', 'O', 'L', cu.asks[0].price, -3), SimReply::BadQuantity},
        {"above the largest order", Order("cu2601", 'B', 'O', 'L', cu.asks[0].price, 1001), SimReply::BadQuantity},
        {"off the tick grid", Order("cu2601", 'B', 'O', 'L', cu.asks[0].price + 5, 1), SimReply::BadPrice},
        {"above the daily limit", Order("cu2601", 'B', 'O', 'L', cu.highLimit + 10, 1), SimReply::BadPrice},
        {"below the daily limit", Order("cu2601", 'S', 'O', 'L', cu.lowLimit - 10, 1), SimReply::BadPrice},
        {"not enough funds", Order("cu2601", 'B', 'O', 'L', cu.asks[0].price, 300), SimReply::InsufficientFunds},
        {"nothing to close", Order("cu2601", 'S', 'C', 'L', cu.bids[0].price, 1), SimReply::InsufficientPosition},
    };
    for (const auto& c : cases) EXPECT_EQ(Enter(c.order), c.expected) << c.what;
    EXPECT_TRUE(sink_.kinds.empty());
    EXPECT_TRUE(desk_.Orders("demo", {}).empty());
}

TEST_F(TradingDeskTest, MarketableLimitOrderFillsAndUpdatesPositionAndFunds) {
    const SimDepthSnapshot& cu = Book("cu2601");
    const double ask = cu.asks[0].price;
    ASSERT_GE(cu.asks[0].qty, 1);
    NELOOrderRecord accepted{};
    ASSERT_EQ(Enter(Order("cu2601", 'B', 'O', 'L', ask, 1), "demo", &accepted), SimReply::Ok);
    EXPECT_EQ(accepted.OrderStatus, 'I');
    EXPECT_EQ(accepted.SessionID, (std::int64_t{1} << 32) | 5);
    EXPECT_STREQ(accepted.ExchangeID, "SHFE");
    EXPECT_EQ(sink_.kinds, (std::vector<std::string>{"order I", "trade", "order F", "position", "detail", "fund"}));

    EXPECT_EQ(sink_.trades[0].Price, ask);
    EXPECT_EQ(sink_.orders[1].QtyLeft, 0);
    EXPECT_EQ(sink_.positions[0].Qty, 1);
    EXPECT_EQ(sink_.positions[0].BSFlag, 'B');
    EXPECT_DOUBLE_EQ(sink_.positions[0].Margin, ask * 5 * 0.10);
    EXPECT_EQ(sink_.details[0].QtyLeft, 1);
    const NELOFundRecord& fund = sink_.funds[0];
    EXPECT_DOUBLE_EQ(fund.Fee, ask * 5 * 0.0001);
    EXPECT_DOUBLE_EQ(fund.Margin, ask * 5 * 0.10);
    EXPECT_NEAR(fund.FreeBalance, fund.FloatBalance - fund.Margin, 1e-6);

    // Queries answer from the same state.
    ASSERT_EQ(desk_.Orders("demo", {}).size(), 1u);
    EXPECT_EQ(desk_.Orders("demo", {}).at(0).OrderStatus, 'F');
    EXPECT_EQ(desk_.Trades("demo", {"cu2601", ""}).size(), 1u);
    EXPECT_TRUE(desk_.Trades("demo", {"", "INE"}).empty());
    EXPECT_EQ(desk_.Positions("demo", {}).size(), 1u);
    EXPECT_EQ(desk_.PositionDetails("demo", {}).size(), 1u);
    EXPECT_TRUE(desk_.Orders("rich", {}).empty());
}

TEST_F(TradingDeskTest, OrderLargerThanTheLevelFillsPartlyAndKeepsWorking) {
    const SimDepthSnapshot& sc = Book("sc2602");
    const double ask = sc.asks[0].price;
    const std::int32_t available = sc.asks[0].qty;
    ASSERT_EQ(Enter(Order("sc2602", 'B', 'O', 'L', ask, available + 3), "rich"), SimReply::Ok);
    ASSERT_EQ(sink_.trades.size(), 1u);
    EXPECT_EQ(sink_.trades[0].Qty, available);
    const NELOOrderRecord& last = sink_.orders.back();
    EXPECT_EQ(last.OrderStatus, 'I');
    EXPECT_EQ(last.QtyLeft, 3);
    EXPECT_GT(sink_.funds.back().FrozenMargin, 0.0);

    // The rest trades once the market offers it again at that price.
    for (int step = 0; step < 200 && desk_.Orders("rich", {}).at(0).OrderStatus == 'I'; ++step) {
        market_.Step("10:16:00");
        desk_.MatchWorkingOrders();
    }
    const NELOOrderRecord done = desk_.Orders("rich", {}).at(0);
    EXPECT_EQ(done.OrderStatus, 'F');
    EXPECT_EQ(done.QtyLeft, 0);
    EXPECT_DOUBLE_EQ(desk_.Fund("rich").FrozenMargin, 0.0);
    std::int32_t traded = 0;
    for (const auto& trade : desk_.Trades("rich", {})) traded += trade.Qty;
    EXPECT_EQ(traded, available + 3);
}

TEST_F(TradingDeskTest, WorkingOrderIsCancelledOnceAndReleasesItsFunds) {
    const SimDepthSnapshot& cu = Book("cu2601");
    NELOOrderRecord accepted{};
    ASSERT_EQ(Enter(Order("cu2601", 'B', 'O', 'L', cu.bids[9].price, 2), "demo", &accepted), SimReply::Ok);
    EXPECT_EQ(sink_.kinds, (std::vector<std::string>{"order I", "fund"})) << "the entry is pushed once";
    EXPECT_GT(sink_.funds.back().FrozenMargin, 0.0);
    sink_.Clear();

    NELOOrderCancelRecord byRef{};
    SimCopy(byRef.OrderRef, "7");
    byRef.SessionID = accepted.SessionID + 1;  // another session's order reference
    EXPECT_EQ(desk_.CancelOrder("demo", byRef), SimReply::OrderNotFound);
    NELOOrderCancelRecord other{};
    SimCopy(other.OrderSysID, "999999");
    EXPECT_EQ(desk_.CancelOrder("demo", other), SimReply::OrderNotFound);
    SimCopy(other.InvestorID, "rich");
    EXPECT_EQ(desk_.CancelOrder("demo", other), SimReply::InvestorMismatch);
    EXPECT_TRUE(sink_.kinds.empty());

    byRef.SessionID = accepted.SessionID;
    EXPECT_EQ(desk_.CancelOrder("demo", byRef), SimReply::Ok);
    EXPECT_EQ(sink_.kinds, (std::vector<std::string>{"order C", "fund"}));
    EXPECT_EQ(sink_.orders[0].QtyLeft, 2);
    EXPECT_DOUBLE_EQ(sink_.funds[0].FrozenMargin, 0.0);
    EXPECT_DOUBLE_EQ(sink_.funds[0].FreeBalance, 1000000.0);

    NELOOrderCancelRecord bySysId{};
    SimCopy(bySysId.OrderSysID, SimText(accepted.OrderSysID));
    EXPECT_EQ(desk_.CancelOrder("demo", bySysId), SimReply::OrderFinished);
}

// An OrderRef names one working order of a session: a second one is refused without any event, while
// another session, a finished order's reference and orders without a reference are free.
TEST_F(TradingDeskTest, SecondWorkingOrderWithTheSameReferenceInASessionIsRefused) {
    const SimDepthSnapshot& cu = Book("cu2601");
    const auto resting = [&](const char* reference) {
        auto order = Order("cu2601", 'B', 'O', 'L', cu.bids[9].price, 1);
        SimCopy(order.OrderRef, reference);
        return order;
    };
    NELOOrderRecord first{};
    ASSERT_EQ(Enter(resting("42"), "demo", &first), SimReply::Ok);
    sink_.Clear();
    EXPECT_EQ(Enter(resting("42")), SimReply::DuplicateOrderRef);
    EXPECT_TRUE(sink_.kinds.empty());
    EXPECT_EQ(desk_.Orders("demo", {}).size(), 1u);

    EXPECT_EQ(Enter(resting("42"), "demo", nullptr, kSession + 1), SimReply::Ok) << "another session";
    EXPECT_EQ(Enter(resting(""), "demo"), SimReply::Ok);
    EXPECT_EQ(Enter(resting(""), "demo"), SimReply::Ok) << "no reference, nothing to repeat";

    NELOOrderCancelRecord cancel{};
    SimCopy(cancel.OrderSysID, SimText(first.OrderSysID));
    ASSERT_EQ(desk_.CancelOrder("demo", cancel), SimReply::Ok);
    NELOOrderRecord again{};
    EXPECT_EQ(Enter(resting("42"), "demo", &again), SimReply::Ok) << "the first one has ended";

    // A cancel by reference reaches the latest order with it.
    NELOOrderCancelRecord byRef{};
    SimCopy(byRef.OrderRef, "42");
    byRef.SessionID = kSession;
    ASSERT_EQ(desk_.CancelOrder("demo", byRef), SimReply::Ok);
    EXPECT_EQ(SimText(sink_.orders.back().OrderSysID), SimText(again.OrderSysID));
}

TEST_F(TradingDeskTest, MarketOrderTakesTheBookAndCancelsWhatIsLeft) {
    const SimDepthSnapshot& cu = Book("cu2601");
    std::int32_t offered = 0;
    for (const auto& level : cu.asks) offered += level.qty;
    ASSERT_EQ(Enter(Order("cu2601", 'B', 'O', 'M', 0.0, offered + 10), "rich"), SimReply::Ok);
    EXPECT_EQ(sink_.trades.size(), static_cast<std::size_t>(kSimDepthLevels));
    const NELOOrderRecord& last = sink_.orders.back();
    EXPECT_EQ(last.OrderStatus, 'C');
    EXPECT_EQ(last.QtyLeft, 10);
    EXPECT_EQ(desk_.Positions("rich", {}).at(0).Qty, offered);
}

TEST_F(TradingDeskTest, ClosingTakesTheOldestLotAndBooksTheResult) {
    const SimDepthSnapshot& cu = Book("cu2601");
    // Two lots at most, over the first two levels: every level offers at least one.
    ASSERT_EQ(Enter(Order("cu2601", 'B', 'O', 'L', cu.asks[1].price, 2)), SimReply::Ok);
    const double oldest = sink_.trades.at(0).Price;
    // More than held, counting what a working close already claims.
    ASSERT_EQ(Enter(Order("cu2601", 'S', 'C', 'L', cu.highLimit, 1)), SimReply::Ok);
    EXPECT_EQ(desk_.Positions("demo", {}).at(0).QtyFrozen, 1);
    EXPECT_EQ(Enter(Order("cu2601", 'S', 'T', 'L', cu.highLimit, 2)), SimReply::InsufficientPosition);
    sink_.Clear();

    const double bid = cu.bids[0].price;
    ASSERT_EQ(Enter(Order("cu2601", 'S', 'T', 'L', bid, 1)), SimReply::Ok);
    EXPECT_EQ(sink_.kinds, (std::vector<std::string>{"order I", "trade", "order F", "position", "detail", "fund"}));
    EXPECT_EQ(sink_.positions[0].Qty, 1);
    std::int32_t left = 0;
    for (const auto& detail : desk_.PositionDetails("demo", {})) left += detail.QtyLeft;
    EXPECT_EQ(left, 1);
    const double expected = (bid - oldest) * 5;
    EXPECT_DOUBLE_EQ(sink_.details[0].ClosedPL, expected);
    EXPECT_DOUBLE_EQ(desk_.Fund("demo").ClosedPL, expected);
}

}  // namespace
