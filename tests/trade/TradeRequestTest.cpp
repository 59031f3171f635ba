// Requests as the front receives them: service number, request number and every field in order; the flow
// subscription and its modes; and when requests are refused.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "NELOTradeApiImp.h"
#include "NELOTradeCatalog.h"
#include "TradeTestSupport.h"
#include "support/ScriptedFront.h"

using namespace trade_test;

namespace {

struct WireField {
    std::uint16_t id;
    Bytes value;
};

// The fields of a package body exactly as they lie on the wire.
std::vector<WireField> FieldsOf(const std::uint8_t* data, std::uint32_t length) {
    std::vector<WireField> fields;
    std::uint32_t at = 0;
    while (length - at >= 8) {
        const std::uint16_t id = static_cast<std::uint16_t>((data[at] << 8) | data[at + 1]);
        const std::uint32_t extension = (data[at + 2] << 8) | data[at + 3];
        const std::uint8_t* n = data + at + 4 + extension;
        const std::uint32_t size = (std::uint32_t(n[0]) << 24) | (n[1] << 16) | (n[2] << 8) | n[3];
        fields.push_back({id, Bytes(n + 4, n + 4 + size)});
        at += 8 + extension + size;
    }
    EXPECT_EQ(at, length) << "trailing bytes";
    return fields;
}

// The fields of a received message's ApiBody.
std::vector<WireField> BodyOf(const ReceivedMessage& message) {
    for (WireField& field : FieldsOf(message.bytes.data(), static_cast<std::uint32_t>(message.bytes.size())))
        if (field.id == TZOField::ApiBody.id)
            return FieldsOf(field.value.data(), static_cast<std::uint32_t>(field.value.size()));
    ADD_FAILURE() << "no ApiBody";
    return {};
}

using Sender = std::function<int(CNELOTradeApi&, const void*, std::int32_t)>;

#define SEND(Operation, Record)                                       \
    [](CNELOTradeApi& api, const void* record, std::int32_t id) {     \
        return api.Operation(static_cast<const Record*>(record), id); \
    }

struct RequestCase {
    const char* name;
    Sender send;
    std::uint16_t serviceNo;
    std::uint16_t groupId;
    const TZORecordLayout* layout;
    std::vector<std::uint16_t> wireIds;
};

const std::vector<std::uint16_t> kQueryKeyIds = {1034, 1046, 1637};
const std::vector<std::uint16_t> kRateKeyIds = {1034, 1637, 1046};
const std::vector<std::uint16_t> kDateRangeIds = {1034, 1285, 1286};
const std::vector<std::uint16_t> kHisKeyIds = {1034, 1046, 1285, 1286};
const std::vector<std::uint16_t> kInputOrderIds = {1056, 1034, 1046, 1045, 1049, 1059, 1047, 1048, 1295,
                                                   1296, 1299, 1668, 1669, 1670, 1637, 1638, 1639, 1686,
                                                   1003, 1820, 1821, 1822, 1823, 1917, 1918};

// clang-format off
const RequestCase kRequests[] = {
    {"ReqLogin",             SEND(ReqLogin, NELOLoginReqRecord),               116, TZOField::LoginReq.id,             &kNELOLoginReqLayout, {1034, 1035, 1660, 1681, 1682, 1921, 1920, 1822}},
    {"ReqLogout",            SEND(ReqLogout, NELOInvestorRecord),              118, TZOField::LogoutReq.id,            &kNELOInvestorLayout, {1034}},
    {"ReqChangePassword",    SEND(ReqChangePassword, NELOChangePasswordRecord), 120, TZOField::ChangePasswordReq.id,   &kNELOChangePasswordLayout, {1034, 1041, 1042}},
    {"ReqInputOrder",        SEND(ReqInputOrder, NELOInputOrderRecord),        122, TZOField::InputOrder.id,           &kNELOInputOrderLayout, kInputOrderIds},
    {"ReqOrderCancel",       SEND(ReqOrderCancel, NELOOrderCancelRecord),      127, TZOField::OrderCancelReq.id,       &kNELOOrderCancelLayout, {1034, 1056, 1637, 1046, 1638, 1639, 1686, 1701}},
    {"ReqQuotQuery",         SEND(ReqQuotQuery, NELOQueryKeyRecord),           131, TZOField::QuotQueryReq.id,         &kNELOQueryKeyLayout, kQueryKeyIds},
    {"ReqOrderQuery",        SEND(ReqOrderQuery, NELOQueryKeyRecord),          137, TZOField::OrderQueryReq.id,        &kNELOQueryKeyLayout, kQueryKeyIds},
    {"ReqTradeQuery",        SEND(ReqTradeQuery, NELOQueryKeyRecord),          139, TZOField::TradeQueryReq.id,        &kNELOQueryKeyLayout, kQueryKeyIds},
    {"ReqPosiQuery",         SEND(ReqPosiQuery, NELOQueryKeyRecord),           141, TZOField::PosiQueryReq.id,         &kNELOQueryKeyLayout, kQueryKeyIds},
    {"ReqFundQuery",         SEND(ReqFundQuery, NELOInvestorRecord),           143, TZOField::FundQueryReq.id,         &kNELOInvestorLayout, {1034}},
    {"ReqInstrumentQuery",   SEND(ReqInstrumentQuery, NELOQueryKeyRecord),     145, TZOField::InstrumentQueryReq.id,   &kNELOQueryKeyLayout, kQueryKeyIds},
    {"ReqPosiDetailQuery",   SEND(ReqPosiDetailQuery, NELOQueryKeyRecord),     147, TZOField::PosiDetailQueryReq.id,   &kNELOQueryKeyLayout, kQueryKeyIds},
    {"ReqProfitLossStopSet", SEND(ReqProfitLossStopSet, NELOProfitLossStopRecord), 154, TZOField::ProfitLossStopSetReq.id, &kNELOProfitLossStopLayout, {1034, 1046, 1073, 1295, 1296}},
    {"ReqInputOrderEx",      SEND(ReqInputOrderEx, NELOInputOrderRecord),      159, TZOField::InputOrder.id,           &kNELOInputOrderLayout, kInputOrderIds},
    {"ReqBulletinQuery",     SEND(ReqBulletinQuery, NELOInvestorRecord),       161, TZOField::BulletinQueryReq.id,     &kNELOInvestorLayout, {1034}},
    {"ReqNoticeQuery",       SEND(ReqNoticeQuery, NELOInvestorRecord),         163, TZOField::NoticeQueryReq.id,       &kNELOInvestorLayout, {1034}},
    {"ReqElectronicFundIO",  SEND(ReqElectronicFundIO, NELOFundTransferReqRecord), 167, TZOField::ElectronicFundIOReq.id, &kNELOFundTransferReqLayout, {1034, 1394, 1089, 1421, 1422, 1420}},
    {"ReqFundIODetailQuery", SEND(ReqFundIODetailQuery, NELODateRangeKeyRecord), 170, TZOField::FundIODetailQueryReq.id, &kNELODateRangeKeyLayout, kDateRangeIds},
    {"ReqReportQuery",       SEND(ReqReportQuery, NELODateRangeKeyRecord),     172, TZOField::ReportQueryReq.id,       &kNELODateRangeKeyLayout, kDateRangeIds},
    {"ReqHisOrderQuery",     SEND(ReqHisOrderQuery, NELOHisKeyRecord),         174, TZOField::HisOrderQueryReq.id,     &kNELOHisKeyLayout, kHisKeyIds},
    {"ReqHisTradeQuery",     SEND(ReqHisTradeQuery, NELOHisKeyRecord),         176, TZOField::HisTradeQueryReq.id,     &kNELOHisKeyLayout, kHisKeyIds},
    {"ReqHisBulletinQuery",  SEND(ReqHisBulletinQuery, NELODateRangeKeyRecord), 178, TZOField::HisBulletinQueryReq.id, &kNELODateRangeKeyLayout, kDateRangeIds},
    {"ReqHisNoticeQuery",    SEND(ReqHisNoticeQuery, NELODateRangeKeyRecord),  180, TZOField::HisNoticeQueryReq.id,    &kNELODateRangeKeyLayout, kDateRangeIds},
    {"ReqAccountBind",       SEND(ReqAccountBind, NELOAccountBindReqRecord),   196, TZOField::AccountBindReq.id,       &kNELOAccountBindReqLayout, {1034, 1421, 1422, 1420, 1675, 1676, 1677, 1304, 1305}},
    {"ReqAccountBindQuery",  SEND(ReqAccountBindQuery, NELOInvestorRecord),    198, TZOField::AccountBindQueryReq.id,  &kNELOInvestorLayout, {1034}},
    {"ReqHisFundQuery",      SEND(ReqHisFundQuery, NELODateRangeKeyRecord),    200, TZOField::HisFundQueryReq.id,      &kNELODateRangeKeyLayout, kDateRangeIds},
    {"ReqHisPosiDetailQuery", SEND(ReqHisPosiDetailQuery, NELOHisPosiKeyRecord), 202, TZOField::HisPosiDetailQueryReq.id, &kNELOHisPosiKeyLayout, {1034, 1046, 1285, 1286, 1637}},
    {"ReqProductQuery",      SEND(ReqProductQuery, NELOProductKeyRecord),      301, TZOField::ProductQueryReq.id,      &kNELOProductKeyLayout, {1637, 1068, 1825}},
    {"ReqExchangeQuery",     SEND(ReqExchangeQuery, NELOExchangeKeyRecord),    303, TZOField::ExchangeQueryReq.id,     &kNELOExchangeKeyLayout, {1637}},
    {"ReqInvestorFeeRateQuery",    SEND(ReqInvestorFeeRateQuery, NELORateKeyRecord),    305, TZOField::InvestorFeeRateQueryReq.id,    &kNELORateKeyLayout, kRateKeyIds},
    {"ReqInvestorMarginRateQuery", SEND(ReqInvestorMarginRateQuery, NELORateKeyRecord), 307, TZOField::InvestorMarginRateQueryReq.id, &kNELORateKeyLayout, kRateKeyIds},
    {"ReqExchangeMarginRateQuery", SEND(ReqExchangeMarginRateQuery, NELORateKeyRecord), 309, TZOField::ExchangeMarginRateQueryReq.id, &kNELORateKeyLayout, kRateKeyIds},
};
// clang-format on

// Checks one received request: its head, a body of exactly the one group, and the group's fields.
void ExpectRequest(const RequestCase& c, ReceivedMessage* message, std::int32_t requestID, const Bytes& sent) {
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->ServiceNo, c.serviceNo);
    EXPECT_EQ(message->RequestID, requestID);
    EXPECT_EQ(message->EndFlag, 0);
    const std::vector<WireField> body = BodyOf(*message);
    ASSERT_EQ(body.size(), 1u);
    EXPECT_EQ(body[0].id, c.groupId);
    const std::vector<WireField> fields =
        FieldsOf(body[0].value.data(), static_cast<std::uint32_t>(body[0].value.size()));
    std::vector<std::uint16_t> ids;
    for (const WireField& f : fields) ids.push_back(f.id);
    EXPECT_EQ(ids, c.wireIds);
    Bytes decoded(c.layout->recordSize, 0);
    ASSERT_EQ(TZODecodeRecord(*c.layout, decoded.data(), body[0].value.data(),
                              static_cast<std::uint32_t>(body[0].value.size())),
              0);
    EXPECT_EQ(FirstDifference(*c.layout, decoded.data(), sent.data()), "");
}

TEST_F(TradeClientOverFront, EveryRequestSendsItsServiceGroupAndFieldsInOrder) {
    std::int32_t requestID = 100;
    for (const RequestCase& c : kRequests) {
        SCOPED_TRACE(c.name);
        const Bytes sample = SampleRecord(*c.layout, 3);
        Bytes record = sample;
        ASSERT_EQ(c.send(*client, record.data(), ++requestID), 0);
        // The request carries its own copy: the caller may reuse the record at once.
        std::memset(record.data(), 0x5a, record.size());
        auto message = front.WaitForService(c.serviceNo);
        ExpectRequest(c, message.get(), requestID, sample);
    }
}

// Empty texts and zero numbers are fields like any other: every one of them is on the wire.
// Every request of the message table has an operation that sends it, checked by the case above; the flow
// subscription, which has no record argument, by the subscription tests below.
TEST(TradeRequestTable, EveryCatalogueRequestHasAnOperationCase) {
    std::set<std::uint16_t> covered = {3};
    for (const RequestCase& c : kRequests) covered.insert(c.serviceNo);
    for (const NELOTradeMessageDef& message : kNELOTradeMessages) {
        if (message.direction != NELODirection::ToServer) continue;
        EXPECT_EQ(covered.count(message.serviceNo), 1u) << message.meaning << " (" << message.serviceNo << ")";
        covered.erase(message.serviceNo);
    }
    covered.erase(0);
    EXPECT_TRUE(covered.empty()) << "cases for ServiceNos the table does not send, starting at " << *covered.begin();
}

TEST_F(TradeClientOverFront, EmptyRecordsStillSendEveryField) {
    for (const RequestCase& c : kRequests) {
        SCOPED_TRACE(c.name);
        const Bytes empty(c.layout->recordSize, 0);
        ASSERT_EQ(c.send(*client, empty.data(), 0), 0);
        auto message = front.WaitForService(c.serviceNo);
        ExpectRequest(c, message.get(), 0, empty);
        const std::vector<WireField> body = BodyOf(*message);
        for (const WireField& field :
             FieldsOf(body[0].value.data(), static_cast<std::uint32_t>(body[0].value.size()))) {
            for (std::uint8_t byte : field.value) EXPECT_EQ(byte, 0) << "field " << field.id;
        }
    }
}

TEST_F(TradeClientOverFront, NullRecordIsRefusedAndNothingIsSent) {
    for (const RequestCase& c : kRequests) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.send(*client, nullptr, 1), -1);
    }
    NELOInvestorRecord investor{};
    ASSERT_EQ(client->ReqLogout(&investor, 2), 0);
    auto message = front.WaitForMessage();
    while (message && message->ServiceNo == 0) message = front.WaitForMessage();  // heartbeats
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->ServiceNo, 118);
}

std::vector<NELOFlowSubscribeRecord> SubscriptionRows(ReceivedMessage& message) {
    std::vector<NELOFlowSubscribeRecord> rows;
    EXPECT_EQ(message.ServiceNo, 3);
    EXPECT_EQ(message.RequestID, 0);
    CTZORecordSet set;
    EXPECT_EQ(message.package.GetRecordSet(TZOField::FlowSubscribeReqList.id, &set), 0);
    while (set.NextRecord()) {
        NELOFlowSubscribeRecord row{};
        const std::vector<WireField> fields = FieldsOf(set.RecordData(), set.RecordLength());
        EXPECT_EQ(fields.size(), 2u);
        EXPECT_EQ(TZODecodeRecord(kNELOFlowSubscribeLayout, &row, set.RecordData(), set.RecordLength()), 0);
        rows.push_back(row);
    }
    return rows;
}

std::string Rows(const std::vector<NELOFlowSubscribeRecord>& rows) {
    std::string text;
    for (const NELOFlowSubscribeRecord& row : rows)
        text += "{" + std::to_string(row.FlowID) + "," + std::to_string(row.PkgNo) + "}";
    return text;
}

struct SubscribeStep {
    std::int32_t flow1Mode, flow2Mode;
    const char* rows;  // as sent, given the steps before
};

// After a login and one flow-1 push with sequence 7, in order: each mode chooses the PkgNo of its flow and
// the choice becomes that flow's last seen sequence.
// clang-format off
const SubscribeStep kSubscribeSteps[] = {
    {2, 2, "{1,7}{2,0}"},
    {1, 0, "{1,0}"},
    {0, 3, "{2,-1}"},
    {2, 2, "{1,0}{2,-1}"},
    {0, 0, ""},
    {7, 1, "{1,-1}{2,0}"},
    {2, 2, "{1,-1}{2,0}"},
};
// clang-format on

TEST_F(TradeClientOverFront, FlowSubscriptionModesChooseWhereEachFlowResumes) {
    NELOLoginReqRecord login{};
    std::snprintf(login.InvestorID, sizeof(login.InvestorID), "INV001");
    ASSERT_EQ(client->ReqLogin(&login, 1), 0);
    auto loginReq = front.WaitForService(116);
    ASSERT_NE(loginReq, nullptr);
    NELOLoginRspRecord reply{};
    std::snprintf(reply.InvestorID, sizeof(reply.InvestorID), "INV001");
    front.Send(117, loginReq->RequestID, 0, [&](CAPIPackage& p) {
        AddRspInfo(p, RspInfo(0, ""));
        return TZOAddRecord(p, TZOField::LoginRsp.id, kNELOLoginRspLayout, &reply);
    });
    Call loginCall = NextCall();
    EXPECT_EQ(loginCall.callback, "OnLoginRsp");
    EXPECT_EQ(loginCall.requestID, 1);

    // Right after the first login both flows start from the beginning.
    ASSERT_EQ(client->ReqFlowSubscribe(2, 2), 0);
    auto first = front.WaitForService(3);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Rows(SubscriptionRows(*first)), "{1,0}{2,0}");

    front.Send(1, 124, 7);
    EXPECT_EQ(NextCall().callback, "OnOrderNty");

    int step = 0;
    for (const SubscribeStep& s : kSubscribeSteps) {
        SCOPED_TRACE("step " + std::to_string(step++));
        ASSERT_EQ(client->ReqFlowSubscribe(s.flow1Mode, s.flow2Mode), 0);
        auto message = front.WaitForService(3);
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(Rows(SubscriptionRows(*message)), s.rows);
    }
}

// "Only new pushes" parks the flow at the highest sequence until the subscription reply says where it is.
TEST_F(TradeClientOverFront, OnlyNewPushesDropsTheFlowUntilTheReplySetsItsSequence) {
    ASSERT_EQ(client->ReqFlowSubscribe(3, 0), 0);
    ASSERT_NE(front.WaitForService(3), nullptr);
    front.Send(1, 124, 5);  // dropped: not above 0xFFFFFFFF
    front.Send(4, 0, 0, [](CAPIPackage& p) {
        AddRspInfo(p, RspInfo(0, ""));
        CTZORecordSet set;
        if (p.AddRecordSet(TZOField::FlowSubscribeRspList.id, &set) != 0) return -1;
        const NELOFlowSubscribeRecord row{1, 4};
        return TZOAddRecordToSet(set, kNELOFlowSubscribeLayout, &row);
    });
    front.Send(1, 130, 5);
    EXPECT_EQ(NextCall().callback, "OnTradeNty");
    ASSERT_EQ(client->ReqFlowSubscribe(2, 0), 0);
    auto message = front.WaitForService(3);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(Rows(SubscriptionRows(*message)), "{1,5}");
    EXPECT_EQ(spi.Calls().size(), 1u);
}

TEST_F(TradeClientOverFront, RepliesAndPushesReachTheCallbacksOnTheIOThread) {
    NELOInputOrderRecord order{};
    std::snprintf(order.InstrumentID, sizeof(order.InstrumentID), "cu2501");
    ASSERT_EQ(client->ReqInputOrder(&order, 31), 0);
    auto request = front.WaitForService(122);
    ASSERT_NE(request, nullptr);
    front.Send(123, request->RequestID, 0, [&](CAPIPackage& p) {
        AddRspInfo(p, RspInfo(0, ""));
        return TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
    });
    NELOAccountBindRecord bind{};
    std::snprintf(bind.InvestorID, sizeof(bind.InvestorID), "INV009");
    front.Send(210, 0, 0, [&](CAPIPackage& p) {
        return TZOAddRecord(p, TZOField::AccountBind.id, kNELOAccountBindLayout, &bind);
    });
    const Call reply = NextCall();
    EXPECT_EQ(reply.callback, "OnInputOrderRsp");
    EXPECT_EQ(reply.requestID, 31);
    ASSERT_TRUE(reply.hasRecord);
    EXPECT_STREQ(reinterpret_cast<const NELOInputOrderRecord*>(reply.record.data())->InstrumentID, "cu2501");
    const Call push = NextCall();
    EXPECT_EQ(push.callback, "OnAccountBindNty");
    EXPECT_STREQ(reinterpret_cast<const NELOAccountBindRecord*>(push.record.data())->InvestorID, "INV009");
}

TEST_F(TradeClientOverFront, RequestsAreRefusedWhileDisconnectedAndAfterStop) {
    NELOInvestorRecord investor{};
    front.SetAccepting(false);
    front.Drop();
    EXPECT_EQ(NextCall().callback, "OnFrontDisconnected");
    // The lost connection is given up before the next attempt starts.
    ASSERT_TRUE(attempts.WaitFor(2));
    EXPECT_EQ(client->ReqFundQuery(&investor, 1), -1);
    EXPECT_EQ(client->ReqFlowSubscribe(1, 1), -1);

    front.SetAccepting(true);
    ASSERT_TRUE(front.WaitForConnection());
    EXPECT_EQ(NextCall().callback, "OnFrontConnected");
    EXPECT_EQ(client->ReqFundQuery(&investor, 2), 0);
    ASSERT_NE(front.WaitForService(143), nullptr);

    EXPECT_EQ(client->Stop(), 0);
    EXPECT_EQ(client->ReqFundQuery(&investor, 3), -1);
    EXPECT_EQ(client->ReqLogout(&investor, 4), -1);
}

// Releases the client from inside the first reply row or push it receives, and counts what follows.
class ReleasingSpi : public CNELOTradeSpi {
public:
    void OnOrderQueryRsp(const NELOOrderRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) override {
        ReleaseOnFirstCall();
    }
    void OnOrderNty(const NELOOrderRecord*) override { ReleaseOnFirstCall(); }

    // Waits until the callback that released the client has returned from Release; from then on the
    // client's thread leaves this object alone, so the test may destroy it.
    bool WaitForRelease() { return released.WaitFor(1); }

    CNELOTradeApi* client = nullptr;
    std::atomic<int> calls{0};

private:
    void ReleaseOnFirstCall() {
        if (++calls != 1) return;
        client->Release();
        released.Add();
    }

    CEventCounter released;
};

// The rest of the package being dispatched (further rows, the flow's sequence) must neither reach the
// callback object nor touch the released client.
TEST(TradeClientLifecycle, ReleaseFromInsideACallbackEndsTheCallbacksThere) {
    struct Case {
        const char* name;
        std::uint16_t serviceNo;
        std::int32_t requestID;
        std::int32_t endFlag;
        bool list;
    };
    const Case cases[] = {
        {"first of three reply rows", 138, 4, 0, true},
        {"flow push", 1, 124, 9, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScriptedFront front;
        ReleasingSpi spi;
        auto* client = new CNELOTradeApiImp;
        spi.client = client;
        client->RegisterSpi(&spi);
        client->RegisterFront(front.Address().c_str());
        ASSERT_EQ(client->Init(), 0);
        ASSERT_TRUE(front.WaitForConnection());
        Bytes frames = CScriptedFront::BuildFrame(c.serviceNo, c.requestID, c.endFlag, [&](CAPIPackage& p) {
            const Bytes row = SampleRecord(kNELOOrderLayout, 1);
            if (!c.list) return TZOAddRecord(p, TZOField::Order.id, kNELOOrderLayout, row.data());
            return AddList(p, TZOField::OrderList.id, kNELOOrderLayout,
                           {row, SampleRecord(kNELOOrderLayout, 2), SampleRecord(kNELOOrderLayout, 3)});
        });
        const Bytes behind = CScriptedFront::BuildFrame(1, 124, 10);  // right behind it: never delivered
        frames.insert(frames.end(), behind.begin(), behind.end());
        front.SendRaw(frames);
        ASSERT_TRUE(spi.WaitForRelease());
        ASSERT_TRUE(front.WaitForDisconnect());
        front.Stop();  // ends the front's thread, and with it any chance of a late delivery
        EXPECT_EQ(spi.calls, 1);
    }
}

TEST(TradeClientLifecycle, RequestsBeforeInitAreRefused) {
    CNELOTradeApiImp client;
    RecordingSpi spi;
    client.RegisterSpi(&spi);
    NELOLoginReqRecord login{};
    EXPECT_EQ(client.ReqLogin(&login, 1), -1);
    EXPECT_EQ(client.ReqFlowSubscribe(2, 2), -1);
    // Without any front Init still succeeds, and no connection ever follows.
    EXPECT_EQ(client.Init(), 0);
    EXPECT_EQ(client.Init(), -1);  // a second start is refused, not reported as done
    EXPECT_EQ(client.ReqLogin(&login, 1), -1);
    EXPECT_EQ(client.Stop(), 0);
    EXPECT_TRUE(spi.Calls().empty());
}

}  // namespace
