// Received packages routed to callbacks: every reply number and push kind, the reply conventions and the
// session rules (flow sequences, login investor, flow subscription reply).
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "NELOTradeCatalog.h"
#include "NELOTradeDispatch.h"
#include "TradeTestSupport.h"

using namespace trade_test;

namespace {

class TradeDispatch : public ::testing::Test {
protected:
    TradeDispatch() { session.SetSpi(&spi); }

    int Dispatch(std::uint16_t serviceNo, std::int32_t requestID, std::int32_t endFlag, const BodyWriter& body = {}) {
        ReceivedPackage received(serviceNo, requestID, endFlag, body);
        return NELODispatchTradePackage(session, received.package);
    }

    CNELOTradeSession session;
    RecordingSpi spi;
};

enum class Body { Group, List };

struct ReplyCase {
    std::uint16_t serviceNo;
    const char* callback;
    Body body;
    std::uint16_t groupId;
    const TZORecordLayout* layout;
};

// clang-format off
const ReplyCase kReplies[] = {
    {117, "OnLoginRsp",                   Body::Group, TZOField::LoginRsp.id,               &kNELOLoginRspLayout},
    {119, "OnLogoutRsp",                  Body::Group, TZOField::LogoutRsp.id,              &kNELOInvestorLayout},
    {121, "OnChangePasswordRsp",          Body::Group, TZOField::ChangePasswordRsp.id,      &kNELOInvestorLayout},
    {123, "OnInputOrderRsp",              Body::Group, TZOField::InputOrder.id,             &kNELOInputOrderLayout},
    {128, "OnOrderCancelRsp",             Body::Group, TZOField::OrderCancelRsp.id,         &kNELOOrderCancelLayout},
    {132, "OnQuotQueryRsp",               Body::List,  TZOField::QuotList.id,               &kNELOQuotLayout},
    {138, "OnOrderQueryRsp",              Body::List,  TZOField::OrderList.id,              &kNELOOrderLayout},
    {140, "OnTradeQueryRsp",              Body::List,  TZOField::TradeList.id,              &kNELOTradeLayout},
    {142, "OnPosiQueryRsp",               Body::List,  TZOField::PosiList.id,               &kNELOPosiLayout},
    {144, "OnFundQueryRsp",               Body::List,  TZOField::FundList.id,               &kNELOFundLayout},
    {146, "OnInstrumentQueryRsp",         Body::List,  TZOField::InstrumentList.id,         &kNELOInstrumentLayout},
    {148, "OnPosiDetailQueryRsp",         Body::List,  TZOField::PosiDetailList.id,         &kNELOPosiDetailLayout},
    {155, "OnProfitLossStopSetRsp",       Body::Group, TZOField::ProfitLossStopSetRsp.id,   &kNELOProfitLossStopLayout},
    {160, "OnInputOrderExRsp",            Body::Group, TZOField::InputOrder.id,             &kNELOInputOrderLayout},
    {162, "OnBulletinQueryRsp",           Body::List,  TZOField::BulletinList.id,           &kNELOBulletinLayout},
    {164, "OnNoticeQueryRsp",             Body::List,  TZOField::NoticeList.id,             &kNELONoticeLayout},
    {168, "OnElectronicFundIORsp",        Body::Group, TZOField::ElectronicFundIORsp.id,    &kNELOFundTransferRspLayout},
    {171, "OnFundIODetailQueryRsp",       Body::List,  TZOField::FundIODetailList.id,       &kNELOFundIODetailLayout},
    {173, "OnReportQueryRsp",             Body::List,  TZOField::ReportList.id,             &kNELOReportLayout},
    {175, "OnHisOrderQueryRsp",           Body::List,  TZOField::OrderList.id,              &kNELOOrderLayout},
    {177, "OnHisTradeQueryRsp",           Body::List,  TZOField::TradeList.id,              &kNELOTradeLayout},
    {179, "OnHisBulletinQueryRsp",        Body::List,  TZOField::BulletinList.id,           &kNELOBulletinLayout},
    {181, "OnHisNoticeQueryRsp",          Body::List,  TZOField::NoticeList.id,             &kNELONoticeLayout},
    {197, "OnAccountBindRsp",             Body::Group, TZOField::AccountBindRsp.id,         &kNELOAccountBindRspLayout},
    {199, "OnAccountBindQueryRsp",        Body::List,  TZOField::AccountBindList.id,        &kNELOAccountBindLayout},
    {201, "OnHisFundQueryRsp",            Body::List,  TZOField::FundList.id,               &kNELOFundLayout},
    {203, "OnHisPosiDetailQueryRsp",      Body::List,  TZOField::PosiDetailList.id,         &kNELOPosiDetailLayout},
    {302, "OnProductQueryRsp",            Body::List,  TZOField::ProductList.id,            &kNELOProductLayout},
    {304, "OnExchangeQueryRsp",           Body::List,  TZOField::ExchangeList.id,           &kNELOExchangeLayout},
    {306, "OnInvestorFeeRateQueryRsp",    Body::List,  TZOField::InvestorFeeRateList.id,    &kNELOFeeRateLayout},
    {308, "OnInvestorMarginRateQueryRsp", Body::List,  TZOField::InvestorMarginRateList.id, &kNELOInvestorMarginRateLayout},
    {310, "OnExchangeMarginRateQueryRsp", Body::List,  TZOField::ExchangeMarginRateList.id, &kNELOExchangeMarginRateLayout},
};
// clang-format on

// Every reply number reaches exactly its own callback (history replies included, though they carry the
// lists of the current-day queries) with every field of its record, the RspInfo, the RequestID and the flag.
TEST_F(TradeDispatch, EveryReplyNumberReachesItsOwnCallbackWithItsRecords) {
    const NELORspInfoRecord info = RspInfo(3, "refused");
    for (const ReplyCase& c : kReplies) {
        SCOPED_TRACE(c.callback);
        spi.Clear();
        const std::vector<Bytes> rows = {SampleRecord(*c.layout, 1), SampleRecord(*c.layout, 2)};
        ASSERT_EQ(Dispatch(c.serviceNo, 4711, 0,
                           [&](CAPIPackage& p) {
                               if (AddRspInfo(p, info) < 0) return -1;
                               if (c.body == Body::Group) return TZOAddRecord(p, c.groupId, *c.layout, rows[0].data());
                               return AddList(p, c.groupId, *c.layout, rows);
                           }),
                  0);
        const std::vector<Call> calls = spi.Calls();
        const std::vector<std::int32_t> expectedFlags =
            c.body == Body::Group ? std::vector<std::int32_t>{0} : std::vector<std::int32_t>{1, 0};
        ASSERT_EQ(calls.size(), expectedFlags.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].callback, c.callback);
            ASSERT_TRUE(calls[i].hasRecord);
            EXPECT_EQ(FirstDifference(*c.layout, calls[i].record.data(), rows[i].data()), "");
            ASSERT_TRUE(calls[i].hasRspInfo);
            EXPECT_EQ(calls[i].rspInfo.RspNo, 3);
            EXPECT_STREQ(calls[i].rspInfo.RspDesc, "refused");
            EXPECT_EQ(calls[i].requestID, 4711);
            EXPECT_EQ(calls[i].flag, expectedFlags[i]);
        }
    }
}

// Login and logout always hand over records (zeroed when missing); every other single-record reply passes
// null for a missing group, and lists without rows give one call with a null record.
TEST_F(TradeDispatch, RepliesWithoutBodyGiveNullOrZeroedRecordsAsTheirRuleSays) {
    for (const ReplyCase& c : kReplies) {
        SCOPED_TRACE(c.callback);
        spi.Clear();
        ASSERT_EQ(Dispatch(c.serviceNo, 12, 3), 0);
        const std::vector<Call> calls = spi.Calls();
        ASSERT_EQ(calls.size(), 1u);
        const bool alwaysRecords = c.serviceNo == 117 || c.serviceNo == 119;
        EXPECT_EQ(calls[0].callback, c.callback);
        EXPECT_EQ(calls[0].hasRecord, alwaysRecords);
        EXPECT_EQ(calls[0].hasRspInfo, alwaysRecords);
        if (alwaysRecords) {
            EXPECT_EQ(FirstDifference(*c.layout, calls[0].record.data(), Bytes(c.layout->recordSize, 0).data()), "");
            EXPECT_EQ(calls[0].rspInfo.RspNo, 0);
            EXPECT_STREQ(calls[0].rspInfo.RspDesc, "");
        }
        EXPECT_EQ(calls[0].requestID, 12);
        EXPECT_EQ(calls[0].flag, 3);
    }
}

TEST_F(TradeDispatch, SingleReplyKeepsTheDecodedRspInfoWhenItsGroupIsMissing) {
    const NELORspInfoRecord info = RspInfo(-7, "no such order");
    struct Case {
        std::uint16_t serviceNo;
        const char* callback;
    };
    for (const Case& c :
         {Case{123, "OnInputOrderRsp"}, Case{197, "OnAccountBindRsp"}, Case{168, "OnElectronicFundIORsp"}}) {
        SCOPED_TRACE(c.callback);
        spi.Clear();
        Dispatch(c.serviceNo, 5, 0, [&](CAPIPackage& p) { return AddRspInfo(p, info); });
        const std::vector<Call> calls = spi.Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].callback, c.callback);
        EXPECT_FALSE(calls[0].hasRecord);
        ASSERT_TRUE(calls[0].hasRspInfo);
        EXPECT_EQ(calls[0].rspInfo.RspNo, -7);
    }
}

// A reply group that does not decode (a number of the wrong width) counts as missing.
TEST_F(TradeDispatch, UndecodableGroupsArePassedAsNull) {
    Dispatch(128, 5, 0, [](CAPIPackage& p) {
        CTZOPackage rsp;
        if (p.OpenField(TZOField::RspInfo.id, &rsp) != 0) return -1;
        const std::uint8_t badRspNo[] = {0x04, 0x02, 0, 0, 0, 0, 0, 3, 1, 2, 3};  // RspNo with 3 bytes
        return rsp.AppendRaw(badRspNo, sizeof(badRspNo));
    });
    const std::vector<Call> calls = spi.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].callback, "OnOrderCancelRsp");
    EXPECT_FALSE(calls[0].hasRspInfo);
    EXPECT_FALSE(calls[0].hasRecord);
}

struct ListCase {
    const char* name;
    bool withRspInfo;
    int rows;           // complete rows written
    bool truncateLast;  // the last written row claims more bytes than the set holds
    bool listPresent;
    std::int32_t endFlag;
    std::vector<std::int32_t> flags;  // flag of every call; a null record where no row was complete
    std::vector<bool> records;
};

// clang-format off
const ListCase kListCases[] = {
    {"three rows in one last package",   true,  3, false, true,  0, {1, 1, 0}, {true, true, true}},
    {"rows of a package that is not last", true, 2, false, true,  1, {1, 1},    {true, true}},
    {"empty list",                       true,  0, false, true,  0, {0},       {false}},
    {"empty list, more packages follow", true,  0, false, true,  1, {1},       {false}},
    {"absent list",                      true,  0, false, false, 0, {0},       {false}},
    {"only row truncated",               true,  1, true,  true,  0, {0},       {false}},
    // The row before a truncated one ends the reply: it is not followed by any row that will be delivered.
    {"second row truncated",             true,  2, true,  true,  0, {0},       {true}},
    {"rows without RspInfo",             false, 2, false, true,  0, {1, 0},    {true, true}},
};
// clang-format on

TEST_F(TradeDispatch, ListWalkGivesOneCallPerCompleteRowAndEndsWithThePackagesFlag) {
    for (const ListCase& c : kListCases) {
        SCOPED_TRACE(c.name);
        spi.Clear();
        std::vector<Bytes> rows;
        for (int i = 0; i < c.rows; ++i) rows.push_back(SampleRecord(kNELOOrderLayout, i + 1));
        Dispatch(138, 9, c.endFlag, [&](CAPIPackage& p) {
            if (c.withRspInfo && AddRspInfo(p, RspInfo(0, "")) < 0) return -1;
            if (!c.listPresent) return 0;
            CTZORecordSet set;
            if (AddList(p, TZOField::OrderList.id, kNELOOrderLayout, rows, &set) != 0) return -1;
            if (c.truncateLast) {
                // Walk to the last row's length word and make it claim 100 bytes more than there are.
                std::uint8_t* at = set.Data();
                for (int i = 0; i + 1 < c.rows; ++i) at += 4 + ((at[0] << 24) | (at[1] << 16) | (at[2] << 8) | at[3]);
                at[2] = static_cast<std::uint8_t>(at[2] + 1);
            }
            return 0;
        });
        const std::vector<Call> calls = spi.Calls();
        ASSERT_EQ(calls.size(), c.flags.size());
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].callback, "OnOrderQueryRsp");
            EXPECT_EQ(calls[i].flag, c.flags[i]) << "call " << i;
            EXPECT_EQ(calls[i].hasRecord, c.records[i]) << "call " << i;
            if (calls[i].hasRecord) {
                EXPECT_EQ(FirstDifference(kNELOOrderLayout, calls[i].record.data(), rows[i].data()), "");
            }
            EXPECT_EQ(calls[i].hasRspInfo, c.withRspInfo);
            EXPECT_EQ(calls[i].requestID, 9);
        }
    }
}

TEST_F(TradeDispatch, ReplySplitOverTwoPackagesGivesFlagsOneOneOneZero) {
    for (std::int32_t endFlag : {1, 0}) {
        Dispatch(142, 21, endFlag, [&](CAPIPackage& p) {
            return AddList(p, TZOField::PosiList.id, kNELOPosiLayout,
                           {SampleRecord(kNELOPosiLayout, 1), SampleRecord(kNELOPosiLayout, 2)});
        });
    }
    std::vector<std::int32_t> flags;
    for (const Call& call : spi.Calls()) {
        EXPECT_EQ(call.callback, "OnPosiQueryRsp");
        EXPECT_EQ(call.requestID, 21);
        flags.push_back(call.flag);
    }
    EXPECT_EQ(flags, (std::vector<std::int32_t>{1, 1, 1, 0}));
}

// Every row starts from a zeroed record: what a row leaves out is empty, whatever the row before held.
TEST_F(TradeDispatch, RowsNeverInheritFieldsOfThePreviousRow) {
    NELOQuotRecord full{};
    std::snprintf(full.InstrumentID, sizeof(full.InstrumentID), "cu2501");
    std::snprintf(full.TradeDate, sizeof(full.TradeDate), "20261210");
    full.Price = 71230.5;
    full.AskQty5 = 40;
    std::snprintf(full.ExchangeID, sizeof(full.ExchangeID), "SHFE");
    NELOQuotRecord sparse{};
    std::snprintf(sparse.InstrumentID, sizeof(sparse.InstrumentID), "al2501");
    sparse.Price = 19000;
    static const TZOFieldSlot kSparseSlots[] = {TZO_MEMBER(NELOQuotRecord, InstrumentID),
                                                TZO_MEMBER(NELOQuotRecord, Price)};
    const TZORecordLayout sparseLayout(kSparseSlots, sizeof(NELOQuotRecord));
    Dispatch(132, 2, 0, [&](CAPIPackage& p) {
        CTZORecordSet set;
        if (p.AddRecordSet(TZOField::QuotList.id, &set) != 0) return -1;
        if (TZOAddRecordToSet(set, kNELOQuotLayout, &full) != 0) return -1;
        return TZOAddRecordToSet(set, sparseLayout, &sparse);
    });
    const std::vector<Call> calls = spi.Calls();
    ASSERT_EQ(calls.size(), 2u);
    const auto* first = reinterpret_cast<const NELOQuotRecord*>(calls[0].record.data());
    const auto* second = reinterpret_cast<const NELOQuotRecord*>(calls[1].record.data());
    // AskQty5 and ExchangeID share wire id 1637; each keeps its own value.
    EXPECT_EQ(first->AskQty5, 40);
    EXPECT_STREQ(first->ExchangeID, "SHFE");
    EXPECT_STREQ(second->InstrumentID, "al2501");
    EXPECT_EQ(second->Price, 19000);
    EXPECT_EQ(FirstDifference(kNELOQuotLayout, second, &sparse), "");
}

struct PushCase {
    std::uint16_t serviceNo;
    std::int32_t kind;
    const char* callback;
    std::uint16_t groupId;
    const TZORecordLayout* layout;
};

// clang-format off
const PushCase kPushes[] = {
    {1,   124, "OnOrderNty",            TZOField::Order.id,               &kNELOOrderLayout},
    {1,   130, "OnTradeNty",            TZOField::Trade.id,               &kNELOTradeLayout},
    {1,   156, "OnPosiDetailNty",       TZOField::PosiDetail.id,          &kNELOPosiDetailLayout},
    {1,   157, "OnFundNty",             TZOField::Fund.id,                &kNELOFundLayout},
    {1,   158, "OnPosiNty",             TZOField::Posi.id,                &kNELOPosiLayout},
    {1,   166, "OnNoticeNty",           TZOField::Notice.id,              &kNELONoticeLayout},
    {1,   169, "OnElectronicFundIONty", TZOField::ElectronicFundIONty.id, &kNELOFundTransferNtyLayout},
    {2,   129, "OnMarketStatusNty",     TZOField::MarketStatusNty.id,     &kNELOMarketStatusLayout},
    {2,   165, "OnBulletinNty",         TZOField::Bulletin.id,            &kNELOBulletinLayout},
    {2,   166, "OnNoticeNty",           TZOField::Notice.id,              &kNELONoticeLayout},
    {210, 0,   "OnAccountBindNty",      TZOField::AccountBind.id,         &kNELOAccountBindLayout},
};
// clang-format on

// Every reply and push of the message table is checked by a case above; the flow containers and the flow
// subscription reply by the session tests below.
TEST(TradeDispatchTable, EveryCatalogueReplyAndPushHasACase) {
    std::set<std::pair<int, int>> covered = {{1, -1}, {2, -1}, {4, -1}};
    for (const ReplyCase& c : kReplies) covered.insert({c.serviceNo, -1});
    for (const PushCase& c : kPushes) covered.insert({c.serviceNo, c.serviceNo <= 2 ? c.kind : -1});
    for (const NELOTradeMessageDef& message : kNELOTradeMessages) {
        if (message.deliver == nullptr) continue;
        EXPECT_EQ(covered.count({message.serviceNo, -1}), 1u) << message.meaning;
    }
    for (const NELOTradePushDef& push : kNELOTradePushes)
        EXPECT_EQ(covered.count({push.flow, push.kind}), 1u) << push.meaning << " on flow " << push.flow;
}

TEST_F(TradeDispatch, EveryPushKindReachesItsCallbackAndMovesOnlyItsFlow) {
    for (const PushCase& c : kPushes) {
        SCOPED_TRACE(c.callback + std::string(" on ") + std::to_string(c.serviceNo));
        CNELOTradeSession fresh;
        RecordingSpi recorder;
        fresh.SetSpi(&recorder);
        const Bytes record = SampleRecord(*c.layout, 4);
        ReceivedPackage push(c.serviceNo, c.kind, 6,
                             [&](CAPIPackage& p) { return TZOAddRecord(p, c.groupId, *c.layout, record.data()); });
        ASSERT_EQ(NELODispatchTradePackage(fresh, push.package), 0);
        const std::vector<Call> calls = recorder.Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].callback, c.callback);
        ASSERT_TRUE(calls[0].hasRecord);
        EXPECT_EQ(FirstDifference(*c.layout, calls[0].record.data(), record.data()), "");
        EXPECT_EQ(fresh.LastSeen(1), c.serviceNo == 1 ? 6u : 0u);
        EXPECT_EQ(fresh.LastSeen(2), c.serviceNo == 2 ? 6u : 0u);
    }
}

// The same tables end to end: each reply and push leaves a front as a frame, and arrives at its
// callback on the client's I/O thread with its records, RspInfo, RequestID and flag.
TEST_F(TradeClientOverFront, EveryReplyAndPushArrivesAtItsCallbackThroughTheConnection) {
    const NELORspInfoRecord info = RspInfo(0, "ok");
    std::int32_t requestID = 500;
    for (const ReplyCase& c : kReplies) {
        SCOPED_TRACE(c.callback);
        ++requestID;
        const std::vector<Bytes> rows = {SampleRecord(*c.layout, 5), SampleRecord(*c.layout, 6)};
        front.Send(c.serviceNo, requestID, 0, [&](CAPIPackage& p) {
            if (AddRspInfo(p, info) < 0) return -1;
            if (c.body == Body::Group) return TZOAddRecord(p, c.groupId, *c.layout, rows[0].data());
            return AddList(p, c.groupId, *c.layout, rows);
        });
        const std::vector<std::int32_t> flags =
            c.body == Body::Group ? std::vector<std::int32_t>{0} : std::vector<std::int32_t>{1, 0};
        for (std::size_t i = 0; i < flags.size(); ++i) {
            const Call call = NextCall();
            EXPECT_EQ(call.callback, c.callback);
            ASSERT_TRUE(call.hasRecord);
            EXPECT_EQ(FirstDifference(*c.layout, call.record.data(), rows[i].data()), "");
            ASSERT_TRUE(call.hasRspInfo);
            EXPECT_STREQ(call.rspInfo.RspDesc, "ok");
            EXPECT_EQ(call.requestID, requestID);
            EXPECT_EQ(call.flag, flags[i]);
        }
    }
    std::int32_t sequence = 0;
    for (const PushCase& c : kPushes) {
        SCOPED_TRACE(c.callback + std::string(" on ") + std::to_string(c.serviceNo));
        const Bytes record = SampleRecord(*c.layout, 7);
        front.Send(c.serviceNo, c.kind, ++sequence,
                   [&](CAPIPackage& p) { return TZOAddRecord(p, c.groupId, *c.layout, record.data()); });
        const Call call = NextCall();
        EXPECT_EQ(call.callback, c.callback);
        ASSERT_TRUE(call.hasRecord);
        EXPECT_EQ(FirstDifference(*c.layout, call.record.data(), record.data()), "");
        EXPECT_FALSE(call.hasRspInfo);
    }
    EXPECT_EQ(spi.Calls().size(), seen);
}

TEST_F(TradeDispatch, PushWithoutItsGroupStillCallsBackWithAZeroRecord) {
    Dispatch(1, 124, 1);
    const std::vector<Call> calls = spi.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].callback, "OnOrderNty");
    ASSERT_TRUE(calls[0].hasRecord);
    EXPECT_EQ(FirstDifference(kNELOOrderLayout, calls[0].record.data(), Bytes(sizeof(NELOOrderRecord), 0).data()), "");
}

struct PushStep {
    std::uint16_t serviceNo;
    std::int32_t kind;
    std::int32_t sequence;
    const char* callback;  // nullptr: no callback
    std::uint32_t flow1;   // last seen sequences afterwards
    std::uint32_t flow2;
};

// One session, in order: repeats are dropped, unknown kinds are consumed, the flows count separately and
// the binding push is outside both.
// clang-format off
const PushStep kPushSteps[] = {
    {1,   124, 5,  "OnOrderNty",       5,  0},
    {1,   130, 5,  nullptr,            5,  0},   // same sequence: dropped
    {1,   130, 4,  nullptr,            5,  0},   // older: dropped
    {1,   777, 9,  nullptr,            9,  0},   // unknown kind: consumed
    {1,   124, 9,  nullptr,            9,  0},
    {2,   166, 3,  "OnNoticeNty",      9,  3},
    {2,   124, 4,  nullptr,            9,  4},   // an order kind is not a flow-2 kind
    {1,   129, 10, nullptr,            10, 4},   // nor market status a flow-1 kind
    {210, 0,   0,  "OnAccountBindNty", 10, 4},
    {1,   166, 11, "OnNoticeNty",      11, 4},
    {1,   130, -2, "OnTradeNty",       0xFFFFFFFEu, 4},  // sequences compare unsigned
    {1,   130, -1, "OnTradeNty",       0xFFFFFFFFu, 4},
    {1,   130, 12, nullptr,            0xFFFFFFFFu, 4},
};
// clang-format on

TEST_F(TradeDispatch, FlowSequencesDropRepeatsAndConsumeUnknownKinds) {
    int step = 0;
    for (const PushStep& s : kPushSteps) {
        SCOPED_TRACE("step " + std::to_string(step++));
        spi.Clear();
        Dispatch(s.serviceNo, s.kind, s.sequence);
        const std::vector<Call> calls = spi.Calls();
        if (s.callback) {
            ASSERT_EQ(calls.size(), 1u);
            EXPECT_EQ(calls[0].callback, s.callback);
        } else {
            EXPECT_TRUE(calls.empty());
        }
        EXPECT_EQ(session.LastSeen(1), s.flow1);
        EXPECT_EQ(session.LastSeen(2), s.flow2);
    }
}

TEST_F(TradeDispatch, UnknownServiceNumbersAreIgnored) {
    session.SetLastSeen(1, 3);
    for (std::uint16_t serviceNo : {0, 3, 5, 116, 122, 124, 209, 211, 300, 311, 65535}) {
        SCOPED_TRACE(serviceNo);
        EXPECT_EQ(Dispatch(serviceNo, 124, 9, [](CAPIPackage& p) { return AddRspInfo(p, RspInfo(0, "")); }), 0);
    }
    EXPECT_TRUE(spi.Calls().empty());
    EXPECT_EQ(session.LastSeen(1), 3u);
}

TEST_F(TradeDispatch, WithoutCallbackObjectPackagesAreStillConsumed) {
    session.SetSpi(nullptr);
    Dispatch(138, 1, 0, [](CAPIPackage& p) {
        return AddList(p, TZOField::OrderList.id, kNELOOrderLayout, {SampleRecord(kNELOOrderLayout, 1)});
    });
    Dispatch(117, 1, 0);
    Dispatch(1, 124, 8);
    EXPECT_EQ(session.LastSeen(1), 8u);
    EXPECT_TRUE(spi.Calls().empty());
}

// Records the sequences the session holds at the moment OnLoginRsp arrives.
class LoginObserver : public CNELOTradeSpi {
public:
    explicit LoginObserver(const CNELOTradeSession& s) : session(s) {}
    void OnLoginRsp(const NELOLoginRspRecord* login, const NELORspInfoRecord*, std::int32_t, std::int32_t) override {
        ++calls;
        investor = login->InvestorID;
        flow1 = session.LastSeen(1);
        flow2 = session.LastSeen(2);
    }
    const CNELOTradeSession& session;
    int calls = 0;
    std::string investor;
    std::uint32_t flow1 = 0, flow2 = 0;
};

struct LoginStep {
    const char* investor;
    std::int16_t rspNo;
    std::uint32_t flow1, flow2;  // sequences seen by OnLoginRsp, given both stood at 7 and 3 before
    const char* loginInvestor;   // afterwards
};

// clang-format off
const LoginStep kLoginSteps[] = {
    {"INV001", 0,  0, 0, "INV001"},   // first login: differs from the empty investor
    {"INV001", 0,  7, 3, "INV001"},   // same investor again: flows resume
    {"INV002", 12, 7, 3, "INV001"},   // failed login changes nothing
    {"INV002", 0,  0, 0, "INV002"},   // another investor starts both flows afresh
    {"",       0,  0, 0, ""},
};
// clang-format on

TEST_F(TradeDispatch, SuccessfulLoginAsAnotherInvestorResetsBothSequencesBeforeTheCallback) {
    LoginObserver observer(session);
    session.SetSpi(&observer);
    int step = 0;
    for (const LoginStep& s : kLoginSteps) {
        SCOPED_TRACE("step " + std::to_string(step++));
        session.SetLastSeen(1, 7);
        session.SetLastSeen(2, 3);
        NELOLoginRspRecord login{};
        std::snprintf(login.InvestorID, sizeof(login.InvestorID), "%s", s.investor);
        Dispatch(117, 1, 0, [&](CAPIPackage& p) {
            if (AddRspInfo(p, RspInfo(s.rspNo, "")) < 0) return -1;
            return TZOAddRecord(p, TZOField::LoginRsp.id, kNELOLoginRspLayout, &login);
        });
        EXPECT_EQ(observer.calls, step);
        EXPECT_EQ(observer.investor, s.investor);
        EXPECT_EQ(observer.flow1, s.flow1);
        EXPECT_EQ(observer.flow2, s.flow2);
        EXPECT_STREQ(session.LoginInvestor(), s.loginInvestor);
    }
}

struct SubscribeReplyCase {
    const char* name;
    std::int16_t rspNo;
    std::vector<NELOFlowSubscribeRecord> rows;
    std::uint32_t flow1, flow2;  // afterwards, from 7 and 3
};

const SubscribeReplyCase kSubscribeReplies[] = {
    {"accepted", 0, {{1, 20}, {2, 30}}, 20, 30},
    {"accepted, flow 2 only", 0, {{2, 11}}, 7, 11},
    {"any other flow id counts as flow 2", 0, {{9, 44}}, 7, 44},
    {"only new pushes", 0, {{1, -1}}, 0xFFFFFFFFu, 3},
    {"refused", 5, {{1, 20}, {2, 30}}, 7, 3},
};

TEST_F(TradeDispatch, SubscriptionReplySetsTheSequencesOnlyWhenAccepted) {
    for (const SubscribeReplyCase& c : kSubscribeReplies) {
        SCOPED_TRACE(c.name);
        session.SetLastSeen(1, 7);
        session.SetLastSeen(2, 3);
        Dispatch(4, 0, 0, [&](CAPIPackage& p) {
            if (AddRspInfo(p, RspInfo(c.rspNo, "")) < 0) return -1;
            CTZORecordSet set;
            if (p.AddRecordSet(TZOField::FlowSubscribeRspList.id, &set) != 0) return -1;
            for (const NELOFlowSubscribeRecord& row : c.rows)
                if (TZOAddRecordToSet(set, kNELOFlowSubscribeLayout, &row) != 0) return -1;
            return 0;
        });
        EXPECT_EQ(session.LastSeen(1), c.flow1);
        EXPECT_EQ(session.LastSeen(2), c.flow2);
    }
    EXPECT_TRUE(spi.Calls().empty());
}

// A row that does not decode moves neither flow; the rows around it still count.
TEST_F(TradeDispatch, SubscriptionReplyRowThatDoesNotDecodeIsSkipped) {
    session.SetLastSeen(1, 7);
    session.SetLastSeen(2, 3);
    // Rows as on the wire: a length word, then FlowID (1002) and PkgNo (1005) as id, extension length,
    // value length and value. The middle row's FlowID is three bytes long.
    const std::uint8_t rows[] = {
        0, 0, 0, 24, 0x03, 0xEA, 0, 0, 0, 0, 0, 4, 0, 0, 0, 1,    0x03, 0xED, 0, 0, 0, 0, 0, 4, 0, 0, 0,  20,
        0, 0, 0, 23, 0x03, 0xEA, 0, 0, 0, 0, 0, 3, 0, 0, 2, 0x03, 0xED, 0,    0, 0, 0, 0, 4, 0, 0, 0, 30,
    };
    Dispatch(4, 0, 0, [&](CAPIPackage& p) {
        if (AddRspInfo(p, RspInfo(0, "")) < 0) return -1;
        CTZOPackage list;
        if (p.OpenField(TZOField::FlowSubscribeRspList.id, &list) != 0) return -1;
        return list.AppendRaw(rows, sizeof(rows)) < 0 ? -1 : 0;
    });
    EXPECT_EQ(session.LastSeen(1), 20u);
    EXPECT_EQ(session.LastSeen(2), 3u);
}

}  // namespace
