// The quote client against a scripted front on loopback: what goes out for every request, and which
// callback every reply and push becomes.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "NELOQuotApiImp.h"
#include "NELOQuotCatalog.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

using namespace quot;

namespace {

using namespace std::chrono_literals;

// One reply callback as the owner saw it, with copies of whatever the pointers showed.
template <class Record>
struct SeenReply {
    bool hasRecord = false;
    Record record{};
    bool hasInfo = false;
    NELORspInfoRecord info{};
    std::int32_t requestId = 0;
    std::int32_t continuation = 0;
};

class RecordingQuotSpi final : public CNELOQuotSpi, public CWaitable {
public:
    std::vector<SeenReply<NELOLoginRspRecord>> logins;
    std::vector<SeenReply<NELOInvestorRecord>> logouts;
    std::vector<SeenReply<NELOInstrumentRecord>> subscribes;
    std::vector<SeenReply<NELOInstrumentRecord>> unsubscribes;
    std::vector<NELOQuotRecord> quotes;
    std::vector<SeenReply<NELOMinDataRecord>> minData;
    std::vector<SeenReply<NELODayDataRecord>> dayData;
    std::vector<SeenReply<NELOMinDataRecord>> secondMinData;
    std::vector<SeenReply<NELOMinDataRecord>> thirdMinData;
    std::vector<SeenReply<NELOTradeDetailRecord>> tradeDetails;
    int connects = 0;
    int disconnects = 0;

    void OnFrontConnected() override {
        Note([&] { ++connects; });
    }
    void OnFrontDisconnected() override {
        Note([&] { ++disconnects; });
    }
    void OnLoginRsp(NELOLoginRspRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(logins, r, i, id, c);
    }
    void OnLogoutRsp(NELOInvestorRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(logouts, r, i, id, c);
    }
    void OnQuotSubscribeRsp(NELOInstrumentRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(subscribes, r, i, id, c);
    }
    void OnQuotUnSubscribeRsp(NELOInstrumentRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(unsubscribes, r, i, id, c);
    }
    void OnQuotNty(NELOQuotRecord* r) override {
        Note([&] { quotes.push_back(r ? *r : NELOQuotRecord{}); });
    }
    void OnMinDataQueryRsp(NELOMinDataRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(minData, r, i, id, c);
    }
    void OnDayDataQueryRsp(NELODayDataRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(dayData, r, i, id, c);
    }
    void OnSecondMinDataQueryRsp(NELOMinDataRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(secondMinData, r, i, id, c);
    }
    void OnThirdMinDataQueryRsp(NELOMinDataRecord* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) override {
        Keep(thirdMinData, r, i, id, c);
    }
    void OnTradeDetailDataQueryRsp(NELOTradeDetailRecord* r, NELORspInfoRecord* i, std::int32_t id,
                                   std::int32_t c) override {
        Keep(tradeDetails, r, i, id, c);
    }

private:
    template <class Record>
    void Keep(std::vector<SeenReply<Record>>& into, Record* r, NELORspInfoRecord* i, std::int32_t id, std::int32_t c) {
        SeenReply<Record> seen;
        seen.hasRecord = r != nullptr;
        if (r) seen.record = *r;
        seen.hasInfo = i != nullptr;
        if (i) seen.info = *i;
        seen.requestId = id;
        seen.continuation = c;
        Note([&] { into.push_back(seen); });
    }
};

struct ReleaseClient {
    void operator()(CNELOQuotApiImp* client) const { client->Release(); }
};
using ClientPtr = std::unique_ptr<CNELOQuotApiImp, ReleaseClient>;

NELORspInfoRecord MakeInfo(std::int16_t code, const char* text) {
    NELORspInfoRecord info{};
    info.RspNo = code;
    std::strcpy(info.RspDesc, text);
    return info;
}

int AddInfo(CAPIPackage& p, const NELORspInfoRecord& info) {
    return TZOAddRecord(p, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
}

// A client connected to a scripted front. Members go in reverse: the client stops before the callback
// object and the front disappear.
class QuoteClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        client_.reset(new CNELOQuotApiImp);
        client_->RegisterSpi(&spi_);
        client_->RegisterFront(front_.Address().c_str());
        ASSERT_EQ(client_->Init(), 0);
        ASSERT_TRUE(front_.WaitForConnection());
        ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.connects == 1; }));
    }

    CScriptedFront front_;
    RecordingQuotSpi spi_;
    ClientPtr client_;
};

// ---------------------------------------------------------------------------------------------------
// Requests

NELOQuotLoginReqRecord MakeLoginReq() {
    NELOQuotLoginReqRecord r{};
    std::strcpy(r.InvestorID, "INV001");
    std::strcpy(r.InvestorPassword, "secret");
    std::strcpy(r.IP, "10.0.0.1");
    r.ProductType = 'P';
    r.ProductVersion = 651;
    return r;
}
NELOInvestorRecord MakeInvestor() {
    NELOInvestorRecord r{};
    std::strcpy(r.InvestorID, "INV001");
    return r;
}
NELOQuotKeyRecord MakeQuotKey() {
    NELOQuotKeyRecord r{};
    std::strcpy(r.InvestorID, "INV001");
    std::strcpy(r.InstrumentID, "cu2501");
    return r;
}
NELOMinDataKeyRecord MakeMinDataKey() {
    NELOMinDataKeyRecord r{};
    std::strcpy(r.InstrumentID, "cu2501");
    std::strcpy(r.DateTimeFrom, "2024-12-02 09:00:00");
    std::strcpy(r.DateTimeTo, "2024-12-02 15:00:00");
    std::strcpy(r.ExchangeID, "SHFE");
    return r;
}
NELODayDataKeyRecord MakeDayDataKey() {
    NELODayDataKeyRecord r{};
    std::strcpy(r.InstrumentID, "cu2501");
    std::strcpy(r.DateFrom, "2024-11-01");
    std::strcpy(r.DateTo, "2024-11-30");
    std::strcpy(r.ExchangeID, "SHFE");
    return r;
}
NELOTradeDetailKeyRecord MakeTradeDetailKey() {
    NELOTradeDetailKeyRecord r{};
    std::strcpy(r.InstrumentID, "cu2501");
    std::strcpy(r.TradeDate, "2024-12-02");
    std::strcpy(r.ExchangeID, "SHFE");
    return r;
}

// One request slot: how to call it with a filled record, with no record, and where it must land.
struct RequestCase {
    const char* name;
    std::function<int(CNELOQuotApi&, std::int32_t)> send;
    std::function<int(CNELOQuotApi&)> sendNull;
    std::uint16_t serviceNo;
    std::uint16_t groupId;
    const TZORecordLayout& layout;
    std::vector<std::uint8_t> expected;  // the record as filled by `send`
};

template <class Record>
std::vector<std::uint8_t> BytesOf(const Record& r) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&r);
    return std::vector<std::uint8_t>(p, p + sizeof r);
}

template <class Record>
RequestCase Case(const char* name, int (CNELOQuotApi::*op)(const Record*, std::int32_t), Record record,
                 std::uint16_t serviceNo, const TZOFieldDef& group, const TZORecordLayout& layout) {
    return RequestCase{name,
                       [op, record](CNELOQuotApi& api, std::int32_t id) { return (api.*op)(&record, id); },
                       [op](CNELOQuotApi& api) { return (api.*op)(nullptr, 1); },
                       serviceNo,
                       group.id,
                       layout,
                       BytesOf(record)};
}

std::vector<RequestCase> AllRequests() {
    return {
        Case("ReqLogin", &CNELOQuotApi::ReqLogin, MakeLoginReq(), 116, TZOField::LoginReq, kNELOQuotLoginReqLayout),
        Case("ReqLogout", &CNELOQuotApi::ReqLogout, MakeInvestor(), 118, TZOField::LogoutReq, kNELOInvestorLayout),
        Case("ReqQuotSubscribe", &CNELOQuotApi::ReqQuotSubscribe, MakeQuotKey(), 7, TZOField::QuotSubscribeReq,
             kNELOQuotKeyLayout),
        Case("ReqQuotUnSubscribe", &CNELOQuotApi::ReqQuotUnSubscribe, MakeQuotKey(), 9, TZOField::QuotUnSubscribeReq,
             kNELOQuotKeyLayout),
        Case("ReqMinDataQuery", &CNELOQuotApi::ReqMinDataQuery, MakeMinDataKey(), 150, TZOField::MinDataQueryReq,
             kNELOMinDataKeyLayout),
        Case("ReqDayDataQuery", &CNELOQuotApi::ReqDayDataQuery, MakeDayDataKey(), 152, TZOField::DayDataQueryReq,
             kNELODayDataKeyLayout),
        Case("ReqSecondMinDataQuery", &CNELOQuotApi::ReqSecondMinDataQuery, MakeMinDataKey(), 192,
             TZOField::MinDataQueryReq, kNELOMinDataKeyLayout),
        Case("ReqThirdMinDataQuery", &CNELOQuotApi::ReqThirdMinDataQuery, MakeMinDataKey(), 194,
             TZOField::MinDataQueryReq, kNELOMinDataKeyLayout),
        Case("ReqTradeDetailDataQuery", &CNELOQuotApi::ReqTradeDetailDataQuery, MakeTradeDetailKey(), 211,
             TZOField::TradeDetailDataQueryReq, kNELOTradeDetailKeyLayout),
    };
}

TEST(QuoteClientOffline, EveryRequestBeforeInitReturnsMinusOne) {
    ClientPtr client(new CNELOQuotApiImp);
    for (const RequestCase& c : AllRequests()) EXPECT_EQ(c.send(*client, 1), -1) << c.name;
}

TEST(QuoteClientOffline, ErrorTextsAreTheGbkTable) {
    ClientPtr client(new CNELOQuotApiImp);
    EXPECT_STREQ(client->GetErrorMsg(0), "\xb2\xd9\xd7\xf7\xb3\xc9\xb9\xa6\xa3\xa1");   // 操作成功！
    EXPECT_STREQ(client->GetErrorMsg(-1), "\xb2\xd9\xd7\xf7\xca\xa7\xb0\xdc\xa3\xa1");  // 操作失败！
    for (int code : {5, 1, -2, 99})
        EXPECT_STREQ(client->GetErrorMsg(code), "\xce\xb4\xd6\xaa\xb4\xed\xce\xf3\xb1\xe0\xc2\xeb")
            << code;  // 未知错误编码
}

TEST_F(QuoteClientTest, EveryRequestTravelsOnItsServiceWithItsGroupAndNumber) {
    std::int32_t requestId = 40;
    for (const RequestCase& c : AllRequests()) {
        ++requestId;
        ASSERT_EQ(c.send(*client_, requestId), 0) << c.name;
        auto message = front_.WaitForService(c.serviceNo);
        ASSERT_TRUE(message) << c.name;
        EXPECT_EQ(message->RequestID, requestId) << c.name;
        EXPECT_EQ(message->EndFlag, 0) << c.name;
        std::vector<std::uint8_t> decoded(c.layout.recordSize, 0);
        ASSERT_EQ(TZOReadGroup(message->package, c.groupId, c.layout, decoded.data()), 0) << c.name;
        EXPECT_EQ(decoded, c.expected) << c.name;
    }
}

TEST_F(QuoteClientTest, RequestWithoutRecordIsRefusedAndSendsNothing) {
    for (const RequestCase& c : AllRequests()) EXPECT_EQ(c.sendNull(*client_), -1) << c.name;
    // A request behind them is the first thing the front sees.
    NELOQuotKeyRecord key = MakeQuotKey();
    ASSERT_EQ(client_->ReqQuotSubscribe(&key, 3), 0);
    std::unique_ptr<ReceivedMessage> first;
    do first = front_.WaitForMessage();
    while (first && first->ServiceNo == 0);  // heartbeats
    ASSERT_TRUE(first);
    EXPECT_EQ(first->ServiceNo, 7);
    EXPECT_EQ(first->RequestID, 3);
}

TEST_F(QuoteClientTest, TheCallersRecordMayBeReusedAtOnce) {
    NELOQuotKeyRecord key = MakeQuotKey();
    ASSERT_EQ(client_->ReqQuotSubscribe(&key, 1), 0);
    std::strcpy(key.InstrumentID, "zn2502");
    ASSERT_EQ(client_->ReqQuotSubscribe(&key, 2), 0);
    std::memset(&key, 'x', sizeof key);
    for (const char* expected : {"cu2501", "zn2502"}) {
        auto message = front_.WaitForService(7);
        ASSERT_TRUE(message);
        NELOQuotKeyRecord sent{};
        ASSERT_EQ(TZOReadGroup(message->package, TZOField::QuotSubscribeReq.id, kNELOQuotKeyLayout, &sent), 0);
        EXPECT_STREQ(sent.InstrumentID, expected);
    }
}

TEST_F(QuoteClientTest, StoppedClientRefusesRequests) {
    ASSERT_EQ(client_->Stop(), 0);
    for (const RequestCase& c : AllRequests()) EXPECT_EQ(c.send(*client_, 1), -1) << c.name;
}

TEST_F(QuoteClientTest, LostConnectionIsReportedAndRequestsAreRefusedUntilReconnected) {
    front_.SetAccepting(false);
    front_.Drop();
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.disconnects == 1; }));
    NELOQuotKeyRecord key = MakeQuotKey();
    EXPECT_EQ(client_->ReqQuotSubscribe(&key, 1), -1);
    front_.SetAccepting(true);
    ASSERT_TRUE(front_.WaitForConnection(10s));
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.connects == 2; }, 10s));
    EXPECT_EQ(client_->ReqQuotSubscribe(&key, 1), 0);
    EXPECT_TRUE(front_.WaitForService(7));
}

// ---------------------------------------------------------------------------------------------------
// Session replies

TEST_F(QuoteClientTest, LoginReplyCarriesTradingDaySessionAndRequestNumber) {
    NELOLoginRspRecord rsp{};
    std::strcpy(rsp.InvestorID, "INV001");
    std::strcpy(rsp.TradeDate, "2024-12-02");
    std::strcpy(rsp.SysName, "front-7");
    rsp.SysMode = 'R';
    rsp.SessionID = (std::int64_t{5} << 32) | 7;
    const NELORspInfoRecord info = MakeInfo(0, "ok");
    front_.Send(117, 12, 0, [&](CAPIPackage& p) {
        return AddInfo(p, info) < 0 ? -1 : TZOAddRecord(p, TZOField::LoginRsp.id, kNELOLoginRspLayout, &rsp);
    });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1; }));
    const auto seen = spi_.Read([&] { return spi_.logins[0]; });
    ASSERT_TRUE(seen.hasRecord);
    ASSERT_TRUE(seen.hasInfo);
    EXPECT_STREQ(seen.record.InvestorID, "INV001");
    EXPECT_STREQ(seen.record.TradeDate, "2024-12-02");
    EXPECT_STREQ(seen.record.SysName, "front-7");
    EXPECT_EQ(seen.record.SysMode, 'R');  // shares 1638 with SessionID
    EXPECT_EQ(seen.record.SessionID, (std::int64_t{5} << 32) | 7);
    EXPECT_EQ(seen.info.RspNo, 0);
    EXPECT_STREQ(seen.info.RspDesc, "ok");
    EXPECT_EQ(seen.requestId, 12);
    EXPECT_EQ(seen.continuation, 0);
}

// Login and logout replies always hand over both records, zeroed where a group is missing.
TEST_F(QuoteClientTest, SessionRepliesWithoutGroupsGiveZeroedRecords) {
    front_.Send(117, 4, 0);
    front_.Send(119, 5, 0);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logins.size() == 1 && spi_.logouts.size() == 1; }));
    const auto login = spi_.Read([&] { return spi_.logins[0]; });
    const auto logout = spi_.Read([&] { return spi_.logouts[0]; });
    EXPECT_TRUE(login.hasRecord && login.hasInfo);
    EXPECT_EQ(login.record.SessionID, 0);
    EXPECT_STREQ(login.record.InvestorID, "");
    EXPECT_EQ(login.requestId, 4);
    EXPECT_TRUE(logout.hasRecord && logout.hasInfo);
    EXPECT_STREQ(logout.record.InvestorID, "");
    EXPECT_EQ(logout.requestId, 5);
}

TEST_F(QuoteClientTest, LogoutReplyCarriesTheInvestor) {
    const NELOInvestorRecord investor = MakeInvestor();
    const NELORspInfoRecord info = MakeInfo(3, "bye");
    front_.Send(119, 8, 0, [&](CAPIPackage& p) {
        return AddInfo(p, info) < 0 ? -1 : TZOAddRecord(p, TZOField::LogoutRsp.id, kNELOInvestorLayout, &investor);
    });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.logouts.size() == 1; }));
    const auto seen = spi_.Read([&] { return spi_.logouts[0]; });
    EXPECT_STREQ(seen.record.InvestorID, "INV001");
    EXPECT_EQ(seen.info.RspNo, 3);
    EXPECT_EQ(seen.requestId, 8);
}

// ---------------------------------------------------------------------------------------------------
// Subscription replies

struct SubscriptionCase {
    const char* name;
    std::uint16_t serviceNo;
    std::uint16_t groupId;
    std::vector<SeenReply<NELOInstrumentRecord>> RecordingQuotSpi::*seen;
};

const SubscriptionCase kSubscriptionCases[] = {
    {"subscribe", 8, TZOField::QuotSubscribeRsp.id, &RecordingQuotSpi::subscribes},
    {"unsubscribe", 10, TZOField::QuotUnSubscribeRsp.id, &RecordingQuotSpi::unsubscribes},
};

TEST_F(QuoteClientTest, SubscriptionRepliesCarryTheInstrument) {
    for (const SubscriptionCase& c : kSubscriptionCases) {
        NELOInstrumentRecord instrument{};
        std::strcpy(instrument.InstrumentID, "cu2501");
        const NELORspInfoRecord info = MakeInfo(0, "");
        front_.Send(c.serviceNo, 0, 0, [&](CAPIPackage& p) {
            return AddInfo(p, info) < 0 ? -1 : TZOAddRecord(p, c.groupId, kNELOInstrumentLayout, &instrument);
        });
        ASSERT_TRUE(spi_.WaitUntil([&] { return (spi_.*c.seen).size() == 1; })) << c.name;
        const auto seen = spi_.Read([&] { return (spi_.*c.seen)[0]; });
        ASSERT_TRUE(seen.hasRecord) << c.name;
        ASSERT_TRUE(seen.hasInfo) << c.name;
        EXPECT_STREQ(seen.record.InstrumentID, "cu2501") << c.name;
        EXPECT_EQ(seen.info.RspNo, 0) << c.name;
        EXPECT_EQ(seen.requestId, 0) << c.name;
        EXPECT_EQ(seen.continuation, 0) << c.name;
    }
}

// Unlike login and logout, a missing group here is a null pointer.
TEST_F(QuoteClientTest, SubscriptionRepliesWithoutGroupsGiveNullPointers) {
    for (const SubscriptionCase& c : kSubscriptionCases) {
        const NELORspInfoRecord info = MakeInfo(17, "unknown instrument");
        front_.Send(c.serviceNo, 6, 0, [&](CAPIPackage& p) { return AddInfo(p, info); });
        front_.Send(c.serviceNo, 7, 0);
        ASSERT_TRUE(spi_.WaitUntil([&] { return (spi_.*c.seen).size() == 2; })) << c.name;
        const auto infoOnly = spi_.Read([&] { return (spi_.*c.seen)[0]; });
        const auto empty = spi_.Read([&] { return (spi_.*c.seen)[1]; });
        EXPECT_FALSE(infoOnly.hasRecord) << c.name;
        EXPECT_TRUE(infoOnly.hasInfo) << c.name;
        EXPECT_EQ(infoOnly.info.RspNo, 17) << c.name;
        EXPECT_FALSE(empty.hasRecord) << c.name;
        EXPECT_FALSE(empty.hasInfo) << c.name;
        EXPECT_EQ(empty.requestId, 7) << c.name;
    }
}

// ---------------------------------------------------------------------------------------------------
// Quote push

NELOQuotRecord MakeFullQuote() {
    NELOQuotRecord q{};
    std::strcpy(q.MatchID, "M-000123");
    std::strcpy(q.TradeDate, "2024-12-02");
    std::strcpy(q.InstrumentID, "cu2501");
    q.Price = 74210.0;
    q.Qty = 3;
    q.BidPrice = 74200.0;
    q.BidQty = 11;
    q.AskPrice = 74220.0;
    q.AskQty = 12;
    q.OpenPrice = 74000.0;
    q.HighestPrice = 74500.0;
    q.LowestPrice = 73900.0;
    q.HighLimit = 79000.0;
    q.LowLimit = 69000.0;
    q.OI = 123456789012LL;
    q.SettlePrice = 74100.0;
    q.PreClose = 73950.0;
    q.PreSettle = 73980.0;
    q.PreOI = 98765;
    q.QtyTotal = 5000000000LL;
    q.Amount = 1.5e9;
    std::strcpy(q.ModifyDate, "2024-12-02");
    std::strcpy(q.ModifyTime, "10:15:30");
    double* bidPrices[] = {&q.BidPrice2, &q.BidPrice3, &q.BidPrice4, &q.BidPrice5, &q.BidPrice6,
                           &q.BidPrice7, &q.BidPrice8, &q.BidPrice9, &q.BidPrice10};
    double* askPrices[] = {&q.AskPrice2, &q.AskPrice3, &q.AskPrice4, &q.AskPrice5, &q.AskPrice6,
                           &q.AskPrice7, &q.AskPrice8, &q.AskPrice9, &q.AskPrice10};
    std::int32_t* bidQtys[] = {&q.BidQty2, &q.BidQty3, &q.BidQty4, &q.BidQty5, &q.BidQty6,
                               &q.BidQty7, &q.BidQty8, &q.BidQty9, &q.BidQty10};
    std::int32_t* askQtys[] = {&q.AskQty2, &q.AskQty3, &q.AskQty4, &q.AskQty5, &q.AskQty6,
                               &q.AskQty7, &q.AskQty8, &q.AskQty9, &q.AskQty10};
    for (int k = 2; k <= 10; ++k) {
        *bidPrices[k - 2] = 74200.0 - 10 * k;
        *askPrices[k - 2] = 74220.0 + 10 * k;
        *bidQtys[k - 2] = 100 + k;
        *askQtys[k - 2] = 200 + k;
    }
    q.AskQty5 = 7;
    q.BSFlag = 'S';
    std::strcpy(q.ExchangeID, "SHFE");
    return q;
}

TEST_F(QuoteClientTest, QuotePushDecodesEveryFieldOfTenLevels) {
    const NELOQuotRecord sent = MakeFullQuote();
    front_.Send(125, 0, 0, [&](CAPIPackage& p) { return TZOAddRecord(p, TZOField::Quot.id, kNELOQuotLayout, &sent); });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    const NELOQuotRecord got = spi_.Read([&] { return spi_.quotes[0]; });
    EXPECT_EQ(got.AskQty5, 7);
    EXPECT_STREQ(got.ExchangeID, "SHFE");
    EXPECT_EQ(got.QtyTotal, 5000000000LL);
    EXPECT_EQ(got.BidPrice10, 74100.0);
    EXPECT_EQ(0, std::memcmp(&got, &sent, sizeof got)) << "some field did not survive the trip";
}

// A server that leaves out the deeper levels: they stay zero and the fields after them still decode.
TEST_F(QuoteClientTest, QuotePushWithoutLevelsSixToTenLeavesThemZero) {
    NELOQuotRecord sent = MakeFullQuote();
    std::vector<TZOFieldBinding> bindings;
    for (std::uint32_t i = 0; i < kNELOQuotLayout.count; ++i) {
        const TZOFieldSlot& slot = kNELOQuotLayout.slots[i];
        if (slot.field->id >= 1640 && slot.field->id <= 1659) continue;
        bindings.push_back(
            {slot.field, reinterpret_cast<std::uint8_t*>(&sent) + slot.offset, slot.size, 0, nullptr, 0, 0, 0});
    }
    front_.Send(125, 0, 0, [&](CAPIPackage& p) {
        return p.AddStruct({bindings.data(), static_cast<std::uint32_t>(bindings.size())}, TZOField::Quot.id);
    });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    const NELOQuotRecord got = spi_.Read([&] { return spi_.quotes[0]; });

    const double NELOQuotRecord::*deepPrices[] = {
        &NELOQuotRecord::BidPrice6,  &NELOQuotRecord::AskPrice6, &NELOQuotRecord::BidPrice7, &NELOQuotRecord::AskPrice7,
        &NELOQuotRecord::BidPrice8,  &NELOQuotRecord::AskPrice8, &NELOQuotRecord::BidPrice9, &NELOQuotRecord::AskPrice9,
        &NELOQuotRecord::BidPrice10, &NELOQuotRecord::AskPrice10};
    const std::int32_t NELOQuotRecord::*deepQtys[] = {
        &NELOQuotRecord::BidQty6,  &NELOQuotRecord::AskQty6, &NELOQuotRecord::BidQty7, &NELOQuotRecord::AskQty7,
        &NELOQuotRecord::BidQty8,  &NELOQuotRecord::AskQty8, &NELOQuotRecord::BidQty9, &NELOQuotRecord::AskQty9,
        &NELOQuotRecord::BidQty10, &NELOQuotRecord::AskQty10};
    for (auto member : deepPrices) EXPECT_EQ(got.*member, 0.0);
    for (auto member : deepQtys) EXPECT_EQ(got.*member, 0);
    EXPECT_EQ(got.BidPrice5, sent.BidPrice5);
    EXPECT_EQ(got.AskQty5, 7);
    EXPECT_EQ(got.BSFlag, 'S');
    EXPECT_STREQ(got.ExchangeID, "SHFE");
}

TEST_F(QuoteClientTest, QuotePushWithoutGroupGivesZeroedRecord) {
    front_.Send(125, 0, 0);
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    const NELOQuotRecord got = spi_.Read([&] { return spi_.quotes[0]; });
    const NELOQuotRecord zero{};
    EXPECT_EQ(0, std::memcmp(&got, &zero, sizeof got));
}

// Numbers the quote service does not send (and heartbeats) reach no callback and keep the connection.
TEST_F(QuoteClientTest, UnknownServicesAreIgnored) {
    const NELOQuotRecord quote = MakeFullQuote();
    for (std::uint16_t serviceNo : {0, 1, 2, 117 + 1000, 124, 126, 152})
        front_.Send(serviceNo, 0, 0,
                    [&](CAPIPackage& p) { return TZOAddRecord(p, TZOField::Quot.id, kNELOQuotLayout, &quote); });
    front_.Send(125, 0, 0, [&](CAPIPackage& p) { return TZOAddRecord(p, TZOField::Quot.id, kNELOQuotLayout, &quote); });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.quotes.size() == 1; }));
    spi_.Read([&] {
        EXPECT_EQ(spi_.logins.size() + spi_.logouts.size() + spi_.subscribes.size() + spi_.dayData.size(), 0u);
        EXPECT_EQ(spi_.disconnects, 0);
        return 0;
    });
}

// ---------------------------------------------------------------------------------------------------
// History list replies

// One list reply service: how to put rows on the wire and what the owner saw.
struct ListCase {
    const char* name;
    std::uint16_t serviceNo;
    std::uint16_t listId;
    const TZORecordLayout& layout;
    // Fills row `i` (distinct per row) into `record` of the layout's size.
    std::function<void(void* record, int i)> fillRow;
    // Per callback: record present, its identifying text, continuation, request number.
    std::function<std::vector<std::tuple<bool, std::string, std::int32_t, std::int32_t>>(RecordingQuotSpi&)> seen;
    std::function<bool(RecordingQuotSpi&)> seenInfo;  // RspInfo present on the first callback
};

template <class Record>
std::vector<std::tuple<bool, std::string, std::int32_t, std::int32_t>> Summarise(
    const std::vector<SeenReply<Record>>& replies) {
    std::vector<std::tuple<bool, std::string, std::int32_t, std::int32_t>> out;
    for (const auto& r : replies)
        out.emplace_back(r.hasRecord, r.hasRecord ? std::string(r.record.InstrumentID) : std::string(), r.continuation,
                         r.requestId);
    return out;
}

template <class Record>
ListCase MinuteLikeCase(const char* name, std::uint16_t serviceNo, std::uint16_t listId, const TZORecordLayout& layout,
                        std::vector<SeenReply<Record>> RecordingQuotSpi::*replies) {
    return ListCase{name,
                    serviceNo,
                    listId,
                    layout,
                    [](void* record, int i) {
                        auto* r = static_cast<Record*>(record);
                        std::snprintf(r->InstrumentID, sizeof r->InstrumentID, "row%d", i);
                        r->Amount = 1000.0 * i;
                        std::strcpy(r->ExchangeID, "SHFE");
                    },
                    [replies](RecordingQuotSpi& spi) { return Summarise(spi.*replies); },
                    [replies](RecordingQuotSpi& spi) { return !(spi.*replies).empty() && (spi.*replies)[0].hasInfo; }};
}

std::vector<ListCase> AllLists() {
    return {
        MinuteLikeCase("MinData", 151, TZOField::MinDataList.id, kNELOMinDataLayout, &RecordingQuotSpi::minData),
        MinuteLikeCase("DayData", 153, TZOField::DayDataList.id, kNELODayDataLayout, &RecordingQuotSpi::dayData),
        MinuteLikeCase("SecondMinData", 193, TZOField::MinDataList.id, kNELOMinDataLayout,
                       &RecordingQuotSpi::secondMinData),
        MinuteLikeCase("ThirdMinData", 195, TZOField::MinDataList.id, kNELOMinDataLayout,
                       &RecordingQuotSpi::thirdMinData),
        ListCase{"TradeDetail", 212, TZOField::TradeDetailDataList.id, kNELOTradeDetailLayout,
                 [](void* record, int i) {
                     auto* r = static_cast<NELOTradeDetailRecord*>(record);
                     std::snprintf(r->InstrumentID, sizeof r->InstrumentID, "row%d", i);
                     std::strcpy(r->MatchID, "M1");
                     r->Qty = i;
                     r->BSFlag = 'B';
                 },
                 [](RecordingQuotSpi& spi) { return Summarise(spi.tradeDetails); },
                 [](RecordingQuotSpi& spi) { return !spi.tradeDetails.empty() && spi.tradeDetails[0].hasInfo; }},
    };
}

// Sends one package of a list reply: RspInfo, then `rows` rows numbered from `first`, or no list at all.
void SendList(CScriptedFront& front, const ListCase& c, std::int32_t requestId, std::int32_t endFlag, int first,
              int rows, bool withList = true, bool withInfo = true) {
    const NELORspInfoRecord info = MakeInfo(0, "");
    front.Send(c.serviceNo, requestId, endFlag, [&](CAPIPackage& p) {
        if (withInfo && AddInfo(p, info) < 0) return -1;
        if (!withList) return 0;
        auto set = p.AddRecordSet(c.listId);
        if (!set || !set->IsAttached()) return -1;
        for (int i = first; i < first + rows; ++i) {
            std::vector<std::uint8_t> row(c.layout.recordSize, 0);
            c.fillRow(row.data(), i);
            if (TZOAddRecordToSet(*set, c.layout, row.data()) < 0) return -1;
        }
        return 0;
    });
}

using Seen = std::vector<std::tuple<bool, std::string, std::int32_t, std::int32_t>>;

// Every message of the quote table has a case here: requests in AllRequests, lists in AllLists, the
// subscription replies in kSubscriptionCases, the session replies and the push in their own tests.
TEST(QuoteClientTable, EveryCatalogueMessageHasACase) {
    std::set<std::uint16_t> sent, received = {117, 119, 125};
    for (const RequestCase& c : AllRequests()) sent.insert(c.serviceNo);
    for (const ListCase& c : AllLists()) received.insert(c.serviceNo);
    for (const SubscriptionCase& c : kSubscriptionCases) received.insert(c.serviceNo);
    for (const NELOQuotMessageDef& message : kNELOQuotMessages) {
        if (message.serviceNo == 0) continue;  // heartbeats belong to the connection
        const auto& cases = message.direction == NELODirection::ToServer ? sent : received;
        EXPECT_EQ(cases.count(message.serviceNo), 1u) << message.meaning << " (" << message.serviceNo << ")";
    }
}

TEST_F(QuoteClientTest, ListReplyWithThreeRowsFlagsAllButTheLast) {
    for (const ListCase& c : AllLists()) {
        SendList(front_, c, 21, 0, 1, 3);
        ASSERT_TRUE(spi_.WaitUntil([&] { return c.seen(spi_).size() == 3; })) << c.name;
        const Seen expected = {{true, "row1", 1, 21}, {true, "row2", 1, 21}, {true, "row3", 0, 21}};
        EXPECT_EQ(spi_.Read([&] { return c.seen(spi_); }), expected) << c.name;
        EXPECT_TRUE(spi_.Read([&] { return c.seenInfo(spi_); })) << c.name;
    }
}

// A reply spread over two packages: every row of the first keeps the flag up, the second ends it.
TEST_F(QuoteClientTest, ListReplyOverTwoPackagesEndsWithTheLastPackage) {
    for (const ListCase& c : AllLists()) {
        SendList(front_, c, 22, 1, 1, 2);
        SendList(front_, c, 22, 0, 3, 1);
        ASSERT_TRUE(spi_.WaitUntil([&] { return c.seen(spi_).size() == 3; })) << c.name;
        const Seen expected = {{true, "row1", 1, 22}, {true, "row2", 1, 22}, {true, "row3", 0, 22}};
        EXPECT_EQ(spi_.Read([&] { return c.seen(spi_); }), expected) << c.name;
    }
}

TEST_F(QuoteClientTest, EmptyOrMissingListGivesOneCallbackWithoutRecord) {
    for (const ListCase& c : AllLists()) {
        SendList(front_, c, 23, 0, 1, 0);                // empty list
        SendList(front_, c, 24, 0, 1, 0, false, false);  // neither list nor RspInfo
        ASSERT_TRUE(spi_.WaitUntil([&] { return c.seen(spi_).size() == 2; })) << c.name;
        const Seen expected = {{false, "", 0, 23}, {false, "", 0, 24}};
        EXPECT_EQ(spi_.Read([&] { return c.seen(spi_); }), expected) << c.name;
        EXPECT_TRUE(spi_.Read([&] { return c.seenInfo(spi_); })) << c.name;
    }
}

TEST_F(QuoteClientTest, HistoryRowsDecodeEveryField) {
    NELOMinDataRecord minute{};
    std::strcpy(minute.InstrumentID, "cu2501");
    std::strcpy(minute.DateTime, "2024-12-02 09:01:00");
    minute.OpenPrice = 1.5;
    minute.HighestPrice = 2.5;
    minute.LowestPrice = 0.5;
    minute.ClosePrice = 2.0;
    minute.QtyTotal = 1LL << 40;
    minute.OI = 77;
    minute.Amount = 9.25;
    std::strcpy(minute.ExchangeID, "SHFE");
    NELOTradeDetailRecord detail{};
    std::strcpy(detail.MatchID, "M-9");
    std::strcpy(detail.InstrumentID, "cu2501");
    std::strcpy(detail.Date, "2024-12-02");
    std::strcpy(detail.Time, "10:00:01");
    detail.Qty = 4;
    detail.Price = 74210.0;
    detail.BSFlag = 'S';
    front_.Send(151, 1, 0, [&](CAPIPackage& p) {
        auto set = p.AddRecordSet(TZOField::MinDataList.id);
        return TZOAddRecordToSet(*set, kNELOMinDataLayout, &minute);
    });
    front_.Send(212, 2, 0, [&](CAPIPackage& p) {
        auto set = p.AddRecordSet(TZOField::TradeDetailDataList.id);
        return TZOAddRecordToSet(*set, kNELOTradeDetailLayout, &detail);
    });
    ASSERT_TRUE(spi_.WaitUntil([&] { return spi_.minData.size() == 1 && spi_.tradeDetails.size() == 1; }));
    const auto gotMinute = spi_.Read([&] { return spi_.minData[0]; });
    const auto gotDetail = spi_.Read([&] { return spi_.tradeDetails[0]; });
    EXPECT_FALSE(gotMinute.hasInfo);  // no RspInfo in these packages
    EXPECT_EQ(0, std::memcmp(&gotMinute.record, &minute, sizeof minute));
    EXPECT_EQ(0, std::memcmp(&gotDetail.record, &detail, sizeof detail));
}

}  // namespace
