// A whole trading day through both libraries: sessions, quotes, orders with fills and cancels, queries,
// logout, with the back end's refusals reaching the application as code and GBK text.
#include <algorithm>
#include <set>

#include "EndToEndSupport.h"

namespace {

using namespace e2e;

// Texts of the back end, in GBK as they reach the application.
constexpr const char* kUnknownInvestorText = "\xcd\xb6\xd7\xca\xd5\xdf\xb2\xbb\xb4\xe6\xd4\xda";  // 投资者不存在
constexpr const char* kWrongPasswordText = "\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3";                    // 密码错误
constexpr const char* kWrongOldPasswordText = "\xd4\xad\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3";         // 原密码错误
constexpr const char* kNotLoggedInText = "\xce\xb4\xb5\xc7\xc2\xbc";                              // 未登录
constexpr const char* kUnknownInstrumentText = "\xba\xcf\xd4\xbc\xb2\xbb\xb4\xe6\xd4\xda";        // 合约不存在
constexpr const char* kBadQuantityText = "\xce\xaf\xcd\xd0\xca\xfd\xc1\xbf\xb4\xed\xce\xf3";      // 委托数量错误
constexpr const char* kBadPriceText = "\xce\xaf\xcd\xd0\xbc\xdb\xb8\xf1\xb4\xed\xce\xf3";         // 委托价格错误
constexpr const char* kNoFundsText = "\xbf\xc9\xd3\xc3\xd7\xca\xbd\xf0\xb2\xbb\xd7\xe3";          // 可用资金不足
constexpr const char* kNoPositionText = "\xbf\xc9\xc6\xbd\xb2\xd6\xce\xbb\xb2\xbb\xd7\xe3";       // 可平仓位不足
constexpr const char* kOrderNotFoundText = "\xb1\xa8\xb5\xa5\xb2\xbb\xb4\xe6\xd4\xda";            // 报单不存在
constexpr const char* kOrderFinishedText = "\xb1\xa8\xb5\xa5\xd2\xd1\xcd\xea\xb3\xc9";            // 报单已完成
constexpr const char* kFilledText = "\xc8\xab\xb2\xbf\xb3\xc9\xbd\xbb";                           // 全部成交
constexpr const char* kPartlyFilledText = "\xb2\xbf\xb7\xd6\xb3\xc9\xbd\xbb";                     // 部分成交
constexpr const char* kQueuedText = "\xd2\xd1\xb1\xa8\xc8\xeb";                                   // 已报入
constexpr const char* kCancelledText = "\xd2\xd1\xb3\xb7\xcf\xfb";                                // 已撤消

// The demo account's funds would not carry an order larger than the whole book.
SimConfig WealthyConfig() {
    SimConfig config = FastConfig();
    config.accounts[0].funds = 50000000.0;
    return config;
}

class TradingDayTest : public ::testing::Test {
protected:
    TradingDayTest()
        : simulator_(WealthyConfig()), trader_(simulator_.TradeFront(), [](CNarvSqelTraderApi& api) {
              api.SetAccountFlowResume(0);  // replay the account flow from its beginning
          }) {}

    void SetUp() override {
        ASSERT_TRUE(trader_.Events().WaitForConnects(1));
        const ReplyRow login = trader_.Login("demo", "demo123", 1);
        ASSERT_EQ(login.errorId, 0) << login.errorMsg;
    }

    // The latest quotation of one instrument through the trading library.
    NarvQuotRecord Quotation(const char* instrument) {
        NarvQuotQueryRecord query{};
        std::strncpy(query.InstrumentID, instrument, sizeof query.InstrumentID - 1);
        const int id = NextId();
        EXPECT_EQ(trader_.Api().ReqQuotQuery(&query, id), 0);
        const auto rows = CEventLog::Records<NarvQuotRecord>(trader_.Events().Answer(id));
        EXPECT_EQ(rows.size(), 1u);
        return rows.empty() ? NarvQuotRecord{} : rows[0];
    }

    // Enters an order and waits for its first push; returns the back end's order number.
    std::string Enter(const NarvInputOrderRecord& order) {
        const int id = NextId();
        EXPECT_EQ(trader_.Api().ReqInputOrder(&order, id), 0);
        const std::string ref = order.OrderRef;
        EXPECT_TRUE(trader_.Events().WaitForOrder([&](const NarvOrderRecord& o) { return ref == o.OrderRef; }))
            << "refused: " << (trader_.Events().Replies(id).empty() ? "" : trader_.Events().Replies(id)[0].errorMsg);
        for (const auto& o : trader_.Events().Orders())
            if (ref == o.OrderRef) return o.OrderSysID;
        return "";
    }

    bool WaitForStatus(const std::string& orderSysId, char status) {
        return trader_.Events().WaitForOrder(
            [&](const NarvOrderRecord& o) { return orderSysId == o.OrderSysID && o.OrderStatus == status; });
    }

    std::vector<NarvOrderRecord> PushesOf(const std::string& orderSysId) {
        std::vector<NarvOrderRecord> pushes;
        for (const auto& o : trader_.Events().Orders())
            if (orderSysId == o.OrderSysID) pushes.push_back(o);
        return pushes;
    }

    int Traded(const std::string& orderSysId) {
        int qty = 0;
        for (const auto& t : trader_.Events().Trades())
            if (orderSysId == t.OrderSysID) qty += t.Qty;
        return qty;
    }

    template <class Query, class Request>
    std::vector<ReplyRow> Ask(Request request, const Query& query) {
        const int id = NextId();
        EXPECT_EQ((trader_.Api().*request)(&query, id), 0);
        return trader_.Events().Answer(id);
    }

    int NextId() { return ++requestId_; }

    CRunningSimulator simulator_;
    CTraderSession trader_;
    int requestId_ = 100;
};

// Every answer of a list query: the last flag on the final row only, the outcome a success.
void ExpectOneAnswer(const std::vector<ReplyRow>& rows) {
    ASSERT_FALSE(rows.empty());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].isLast, i + 1 == rows.size()) << "row " << i;
        EXPECT_EQ(rows[i].errorId, 0) << rows[i].errorMsg;
    }
}

TEST_F(TradingDayTest, SessionOfTheDayComesBackInTheLoginReply) {
    // A second login of the same session repeats the day and the session numbers.
    const ReplyRow login = trader_.Login("demo", "demo123", 2);
    ASSERT_TRUE(login.hasRecord);
    const auto record = login.As<NarvLoginRspRecord>();
    EXPECT_STREQ(record.TradingDay, kTradingDayDigits);
    EXPECT_STREQ(record.InvestorID, "demo");
    EXPECT_STREQ(record.FirmID, "9999");
    EXPECT_EQ(record.FrontID, 1);
    EXPECT_GT(record.SessionID, 0);
    EXPECT_STREQ(trader_.Api().GetTradingDay(), kTradingDayDigits);
}

TEST_F(TradingDayTest, RefusedLoginsCarryTheBackEndsCodeAndText) {
    struct Case {
        const char* investor;
        const char* password;
        const char* text;
    };
    const Case cases[] = {
        {"nobody", "demo123", kUnknownInvestorText},
        {"demo", "wrong", kWrongPasswordText},
    };
    int id = 10;
    for (const auto& c : cases) {
        const ReplyRow login = trader_.Login(c.investor, c.password, ++id);
        EXPECT_NE(login.errorId, 0) << c.investor;
        EXPECT_EQ(login.errorMsg, c.text) << c.investor;
    }
}

TEST_F(TradingDayTest, FillsCancelsQueriesAndLogout) {
    // The market-data library watches the same instrument through the day.
    CMdSession md(simulator_.QuoteFront());
    ASSERT_TRUE(md.Events().WaitForConnects(1));
    ASSERT_EQ(md.Login("demo", "demo123", 1).errorId, 0);
    const char* watched[] = {"m2605"};
    ASSERT_EQ(md.Api().ReqQuotSubscribe(watched, 1), 0);
    ASSERT_TRUE(md.Events().WaitForQuotes("m2605", 1));
    const NarvDepthQuoteRecord opening = md.Events().Quotes().front();

    const NarvQuotRecord m = Quotation("m2605");
    ASSERT_STREQ(m.InstrumentID, "m2605");
    ASSERT_GT(m.HighLimit, m.AskPrice);
    ASSERT_LT(m.LowLimit, m.BidPrice);
    EXPECT_EQ(opening.HighLimit, m.HighLimit) << "both services quote the same market";
    EXPECT_EQ(opening.LowLimit, m.LowLimit);

    // A buy at the upper limit crosses every ask level of the book: one lot fills at once.
    const std::string filled = Enter(OrderRequest("m2605", "DCE", '0', '0', m.HighLimit, 1, "1"));
    ASSERT_TRUE(WaitForStatus(filled, '0'));
    {
        const auto pushes = PushesOf(filled);
        EXPECT_EQ(pushes.front().OrderStatus, '3');
        EXPECT_STREQ(pushes.front().OrderStatusDesc, kQueuedText);
        EXPECT_STREQ(pushes.back().OrderStatusDesc, kFilledText);
        EXPECT_EQ(pushes.back().QtyLeft, 0);
        EXPECT_EQ(pushes.back().QtyTraded, 1);
        EXPECT_STREQ(pushes.back().TradingDay, kTradingDayDigits);
        EXPECT_EQ(Traded(filled), 1);
    }

    // More than the whole book can hold: trades part at once and the rest over the next quotes.
    const std::string large = Enter(OrderRequest("m2605", "DCE", '0', '0', m.HighLimit, 999, "2"));
    ASSERT_TRUE(WaitForStatus(large, '0'));
    {
        const auto pushes = PushesOf(large);
        const auto partly =
            std::find_if(pushes.begin(), pushes.end(), [](const NarvOrderRecord& o) { return o.OrderStatus == '1'; });
        ASSERT_NE(partly, pushes.end());
        EXPECT_GT(partly->QtyTraded, 0);
        EXPECT_EQ(partly->QtyTraded + partly->QtyLeft, 999);
        EXPECT_STREQ(partly->OrderStatusDesc, kPartlyFilledText);
        EXPECT_EQ(Traded(large), 999);
    }

    // A buy at the lower limit never meets an ask: it works until cancelled.
    const std::string resting = Enter(OrderRequest("m2605", "DCE", '0', '0', m.LowLimit, 2, "3"));
    NarvOrderActionRecord cancel{};
    std::strncpy(cancel.InvestorID, "demo", sizeof cancel.InvestorID - 1);
    std::strncpy(cancel.ExchangeID, "DCE", sizeof cancel.ExchangeID - 1);
    std::strncpy(cancel.InstrumentID, "m2605", sizeof cancel.InstrumentID - 1);
    std::strncpy(cancel.OrderSysID, resting.c_str(), sizeof cancel.OrderSysID - 1);
    ASSERT_EQ(trader_.Api().ReqOrderCancel(&cancel, NextId()), 0);
    ASSERT_TRUE(WaitForStatus(resting, '5'));
    EXPECT_STREQ(PushesOf(resting).back().OrderStatusDesc, kCancelledText);
    EXPECT_EQ(PushesOf(resting).back().QtyLeft, 2);
    EXPECT_EQ(Traded(resting), 0);

    // The same by the application's own reference and the session that entered the order.
    const ReplyRow session = trader_.Events().Replies(1).back();
    const auto login = session.As<NarvLoginRspRecord>();
    const std::string byRef = Enter(OrderRequest("m2605", "DCE", '0', '0', m.LowLimit, 3, "5"));
    NarvOrderActionRecord cancelByRef{};
    std::strncpy(cancelByRef.InvestorID, "demo", sizeof cancelByRef.InvestorID - 1);
    std::strncpy(cancelByRef.OrderRef, "5", sizeof cancelByRef.OrderRef - 1);
    cancelByRef.FrontID = login.FrontID;
    cancelByRef.SessionID = login.SessionID;
    ASSERT_EQ(trader_.Api().ReqOrderCancel(&cancelByRef, NextId()), 0);
    ASSERT_TRUE(WaitForStatus(byRef, '5'));

    // Cancels the back end refuses.
    struct CancelCase {
        std::string orderSysId;
        const char* text;
    };
    const CancelCase refusals[] = {
        {resting, kOrderFinishedText}, {filled, kOrderFinishedText}, {"999999999999", kOrderNotFoundText}};
    for (const auto& c : refusals) {
        std::strncpy(cancel.OrderSysID, c.orderSysId.c_str(), sizeof cancel.OrderSysID - 1);
        const int id = NextId();
        ASSERT_EQ(trader_.Api().ReqOrderCancel(&cancel, id), 0);
        const auto rows = trader_.Events().Answer(id);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_NE(rows[0].errorId, 0) << c.orderSysId;
        EXPECT_EQ(rows[0].errorMsg, c.text) << c.orderSysId;
    }

    // One lot closed at the market, the rest of the long position at the lower limit: it meets every bid.
    NarvInputOrderRecord marketClose = OrderRequest("m2605", "DCE", '1', '1', 0.0, 1, "6");
    marketClose.PriceType = '1';
    const std::string atMarket = Enter(marketClose);
    ASSERT_TRUE(WaitForStatus(atMarket, '0'));
    EXPECT_EQ(PushesOf(atMarket).back().PriceType, '1');
    EXPECT_EQ(Traded(atMarket), 1);
    const std::string close = Enter(OrderRequest("m2605", "DCE", '1', '1', m.LowLimit, 999, "4"));
    ASSERT_TRUE(WaitForStatus(close, '0'));
    EXPECT_EQ(Traded(close), 999);
    // The day's volume in the quotes counts the 2000 lots traded here.
    EXPECT_TRUE(md.Events().WaitForQuote([&](const NarvDepthQuoteRecord& q) {
        return std::string(q.InstrumentID) == "m2605" && q.QtyTotal >= opening.QtyTotal + 2000;
    }));

    // The day as the queries tell it.
    const auto orders = Ask(&CNarvSqelTraderApi::ReqOrderQuery, NarvOrderQueryRecord{});
    ExpectOneAnswer(orders);
    std::vector<std::string> orderIds;
    for (const auto& o : CEventLog::Records<NarvOrderRecord>(orders)) orderIds.push_back(o.OrderSysID);
    EXPECT_EQ(orderIds, (std::vector<std::string>{filled, large, resting, byRef, atMarket, close}));

    const auto trades = Ask(&CNarvSqelTraderApi::ReqTradeQuery, NarvTradeQueryRecord{});
    ExpectOneAnswer(trades);
    EXPECT_EQ(CEventLog::Records<NarvTradeRecord>(trades).size(), trader_.Events().Trades().size());

    const auto positions = Ask(&CNarvSqelTraderApi::ReqPosiQuery, NarvPosiQueryRecord{});
    ExpectOneAnswer(positions);
    const auto posiRows = CEventLog::Records<NarvPosiRecord>(positions);
    ASSERT_EQ(posiRows.size(), 1u);
    EXPECT_STREQ(posiRows[0].InstrumentID, "m2605");
    EXPECT_EQ(posiRows[0].BSFlag, '2');
    EXPECT_EQ(posiRows[0].Qty, 0);
    EXPECT_EQ(posiRows[0].OpenVolume, 1000);
    EXPECT_EQ(posiRows[0].CloseVolume, 1000);

    const auto details = Ask(&CNarvSqelTraderApi::ReqPosiDetailQuery, NarvPosiDetailQueryRecord{});
    ExpectOneAnswer(details);
    for (const auto& d : CEventLog::Records<NarvPosiDetailRecord>(details)) EXPECT_EQ(d.QtyLeft, 0);

    const auto funds = Ask(&CNarvSqelTraderApi::ReqFundQuery, NarvFundQueryRecord{});
    ExpectOneAnswer(funds);
    const auto fundRows = CEventLog::Records<NarvFundRecord>(funds);
    ASSERT_EQ(fundRows.size(), 1u);
    EXPECT_EQ(fundRows[0].LastBalance, 50000000.0);
    EXPECT_GT(fundRows[0].Fee, 0.0);
    EXPECT_EQ(fundRows[0].Margin, 0.0);
    EXPECT_EQ(fundRows[0].FrozenMargin, 0.0);
    EXPECT_NEAR(fundRows[0].FreeBalance, fundRows[0].FloatBalance, 1e-6);

    // Reference data: every instrument, exchange and product of the configuration.
    const auto instruments = Ask(&CNarvSqelTraderApi::ReqInstrumentQuery, NarvInstrumentQueryRecord{});
    ExpectOneAnswer(instruments);
    std::set<std::string> exchanges;
    for (const auto& i : CEventLog::Records<NarvInstrumentRecord>(instruments)) exchanges.insert(i.ExchangeID);
    EXPECT_EQ(CEventLog::Records<NarvInstrumentRecord>(instruments).size(), 6u);
    EXPECT_TRUE(exchanges.count("SHFE") && exchanges.count("INE")) << "SHFE and INE among the exchanges";

    const auto exchangeRows = Ask(&CNarvSqelTraderApi::ReqExchangeQuery, NarvExchangeQueryRecord{});
    ExpectOneAnswer(exchangeRows);
    EXPECT_EQ(CEventLog::Records<NarvExchangeRecord>(exchangeRows).size(), exchanges.size());

    NarvProductQueryRecord futures{};
    futures.ProductClass = '1';
    ExpectOneAnswer(Ask(&CNarvSqelTraderApi::ReqProductQuery, futures));

    NarvInvestorFeeRateQueryRecord feeKey{};
    std::strncpy(feeKey.InstrumentID, "m2605", sizeof feeKey.InstrumentID - 1);
    const auto fees = Ask(&CNarvSqelTraderApi::ReqInvestorFeeRateQuery, feeKey);
    ExpectOneAnswer(fees);
    ASSERT_EQ(CEventLog::Records<NarvInvestorFeeRateRecord>(fees).size(), 1u);
    EXPECT_STREQ(CEventLog::Records<NarvInvestorFeeRateRecord>(fees)[0].InstrumentID, "m2605");

    ExpectOneAnswer(Ask(&CNarvSqelTraderApi::ReqInvestorMarginRateQuery, NarvInvestorMarginRateQueryRecord{}));
    ExpectOneAnswer(Ask(&CNarvSqelTraderApi::ReqExchangeMarginRateQuery, NarvExchangeMarginRateQueryRecord{}));

    // The end of the day.
    NarvLogoutRecord logout{};
    const int logoutId = NextId();
    ASSERT_EQ(trader_.Api().ReqLogout(&logout, logoutId), 0);
    const auto logoutRows = trader_.Events().Answer(logoutId);
    ASSERT_EQ(logoutRows.size(), 1u);
    EXPECT_EQ(logoutRows[0].errorId, 0);
    EXPECT_STREQ(logoutRows[0].As<NarvLogoutRecord>().InvestorID, "demo");

    NarvLogoutRecord mdLogout{};
    ASSERT_EQ(md.Api().ReqLogout(&mdLogout, 2), 0);
    const auto mdLogoutRows = md.Events().Answer(2);
    ASSERT_EQ(mdLogoutRows.size(), 1u);
    EXPECT_EQ(mdLogoutRows[0].errorId, 0);

    // Once logged out the back end answers nothing but a login.
    const auto after = Ask(&CNarvSqelTraderApi::ReqFundQuery, NarvFundQueryRecord{});
    ASSERT_EQ(after.size(), 1u);
    EXPECT_FALSE(after[0].hasRecord);
    EXPECT_EQ(after[0].errorMsg, kNotLoggedInText);
}

TEST_F(TradingDayTest, OrdersTheBackEndRefusesComeBackWithCodeAndText) {
    const NarvQuotRecord m = Quotation("m2605");
    const NarvQuotRecord index = Quotation("IF2601");
    struct Case {
        const char* what;
        NarvInputOrderRecord order;
        const char* text;
    };
    const Case cases[] = {
        {"unknown instrument", OrderRequest("zz9999", "DCE", '0', '0', 100.0, 1, "11"), kUnknownInstrumentText},
        {"no quantity", OrderRequest("m2605", "DCE", '0', '0', m.AskPrice, 0, "12"), kBadQuantityText},
        {"above the order limit", OrderRequest("m2605", "DCE", '0', '0', m.AskPrice, 1001, "13"), kBadQuantityText},
        {"off the tick grid", OrderRequest("m2605", "DCE", '0', '0', m.AskPrice + 0.5, 1, "14"), kBadPriceText},
        {"above the daily limit", OrderRequest("m2605", "DCE", '0', '0', m.HighLimit + 1, 1, "15"), kBadPriceText},
        {"beyond the funds", OrderRequest("IF2601", "CFFEX", '0', '0', index.HighLimit, 1000, "16"), kNoFundsText},
        {"close without position", OrderRequest("m2605", "DCE", '1', '1', m.BidPrice, 1, "17"), kNoPositionText},
    };
    for (const auto& c : cases) {
        const int id = NextId();
        ASSERT_EQ(trader_.Api().ReqInputOrder(&c.order, id), 0) << c.what;
        const auto rows = trader_.Events().Answer(id);
        ASSERT_EQ(rows.size(), 1u) << c.what;
        EXPECT_NE(rows[0].errorId, 0) << c.what;
        EXPECT_EQ(rows[0].errorMsg, c.text) << c.what;
        ASSERT_TRUE(rows[0].hasRecord) << c.what;
        EXPECT_STREQ(rows[0].As<NarvInputOrderRecord>().OrderRef, c.order.OrderRef) << c.what;
    }
    EXPECT_TRUE(trader_.Events().Orders().empty()) << "a refused order has no life to push";
}

TEST_F(TradingDayTest, PasswordChangeTakesEffectForTheNextLogin) {
    NarvChangePasswordRecord change{};
    std::strncpy(change.OldPassword, "wrong", sizeof change.OldPassword - 1);
    std::strncpy(change.NewPassword, "fresh456", sizeof change.NewPassword - 1);
    ASSERT_EQ(trader_.Api().ReqChangePassword(&change, 20), 0);
    auto rows = trader_.Events().Answer(20);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].errorMsg, kWrongOldPasswordText);

    std::strncpy(change.OldPassword, "demo123", sizeof change.OldPassword - 1);
    ASSERT_EQ(trader_.Api().ReqChangePassword(&change, 21), 0);
    rows = trader_.Events().Answer(21);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].errorId, 0) << rows[0].errorMsg;
    EXPECT_STREQ(rows[0].As<NarvChangePasswordRecord>().NewPassword, "fresh456");

    EXPECT_EQ(trader_.Login("demo", "demo123", 22).errorMsg, kWrongPasswordText);
    EXPECT_EQ(trader_.Login("demo", "fresh456", 23).errorId, 0);
}

// The market-data library on the same simulator: ten-level quotes at the configured pace, five of them
// exported, subscriptions and their end.
TEST(MarketDataDay, QuotesFollowTheSubscriptions) {
    CRunningSimulator simulator;
    CMdSession md(simulator.QuoteFront());
    ASSERT_TRUE(md.Events().WaitForConnects(1));

    EXPECT_EQ(md.Login("demo", "wrong", 1).errorMsg, kWrongPasswordText);
    const ReplyRow login = md.Login("demo", "demo123", 2);
    ASSERT_EQ(login.errorId, 0) << login.errorMsg;
    EXPECT_STREQ(md.Api().GetTradingDay(), kTradingDayDigits);

    const char* wanted[] = {"cu2601", "sc2602", "zz9999"};
    ASSERT_EQ(md.Api().ReqQuotSubscribe(wanted, 3), 0);
    ASSERT_TRUE(md.Events().WaitForSubscriptionReplies(3));
    const auto replies = md.Events().Subscriptions();
    EXPECT_EQ(replies[0].instrumentId, "cu2601");
    EXPECT_EQ(replies[0].errorId, 0);
    EXPECT_EQ(replies[1].instrumentId, "sc2602");
    EXPECT_EQ(replies[1].errorId, 0);
    EXPECT_EQ(replies[2].instrumentId, "zz9999");
    EXPECT_EQ(replies[2].errorMsg, kUnknownInstrumentText);

    ASSERT_TRUE(md.Events().WaitForQuotes("cu2601", 5));
    ASSERT_TRUE(md.Events().WaitForQuotes("sc2602", 5));
    for (const auto& q : md.Events().Quotes()) {
        SCOPED_TRACE(q.InstrumentID);
        EXPECT_STREQ(q.TradingDay, kTradingDayDigits);
        EXPECT_STREQ(q.ExchangeID, std::string(q.InstrumentID) == "cu2601" ? "SHFE" : "INE");
        const double bids[] = {q.BidPrice, q.BidPrice2, q.BidPrice3, q.BidPrice4, q.BidPrice5};
        const double asks[] = {q.AskPrice, q.AskPrice2, q.AskPrice3, q.AskPrice4, q.AskPrice5};
        const int bidQty[] = {q.BidQty, q.BidQty2, q.BidQty3, q.BidQty4, q.BidQty5};
        const int askQty[] = {q.AskQty, q.AskQty2, q.AskQty3, q.AskQty4, q.AskQty5};
        EXPECT_LT(q.BidPrice, q.AskPrice);
        for (int level = 0; level < 5; ++level) {
            EXPECT_GT(bidQty[level], 0) << "level " << level + 1;
            EXPECT_GT(askQty[level], 0) << "level " << level + 1;
            if (level > 0) {
                EXPECT_LT(bids[level], bids[level - 1]) << "level " << level + 1;
                EXPECT_GT(asks[level], asks[level - 1]) << "level " << level + 1;
            }
        }
        EXPECT_GE(q.BidPrice5, q.LowLimit);
        EXPECT_LE(q.AskPrice5, q.HighLimit);
        EXPECT_EQ(std::strlen(q.ModifyTime), 8u);
    }

    const char* dropped[] = {"sc2602"};
    ASSERT_EQ(md.Api().ReqQuotUnSubscribe(dropped, 1), 0);
    ASSERT_TRUE(md.Events().WaitForSubscriptionReplies(4));
    const auto unsubscribed = md.Events().Subscriptions()[3];
    EXPECT_FALSE(unsubscribed.subscribe);
    EXPECT_EQ(unsubscribed.errorId, 0);
    // Quotes travel the same connection as the reply: none of sc2602 may follow it.
    const std::size_t cuBefore = md.Events().QuotesSince("cu2601", unsubscribed.quotesBefore);
    ASSERT_TRUE(md.Events().WaitForQuotes("cu2601", cuBefore + 3, unsubscribed.quotesBefore));
    EXPECT_EQ(md.Events().QuotesSince("sc2602", unsubscribed.quotesBefore), 0u);

    NarvLogoutRecord logout{};
    ASSERT_EQ(md.Api().ReqLogout(&logout, 3), 0);
    const auto rows = md.Events().Answer(3);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].errorId, 0);
}

}  // namespace
