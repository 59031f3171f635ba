// What an application may hand the libraries by mistake: null record pointers, texts that fill their
// field without a terminator, negative counts, front addresses that are empty, too short, without a
// port or far too long. Each gets a clear result (-1, or a no-op the interface documents) and is never
// read beyond: records are allocated at their exact size, so a read past one is reported by
// AddressSanitizer, and every text that reaches the wire is checked against its field's width.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "NELOOrderRecords.h"
#include "NELOQueryRecords.h"
#include "NELOQuotRecords.h"
#include "NELOSessionRecords.h"
#include "NarvSqelMdApi.h"
#include "NarvSqelTraderApi.h"
#include "TZORecordLayout.h"
#include "support/ScriptedFront.h"
#include "support/Waiting.h"

namespace {

using namespace std::chrono_literals;

// A record of the application's, every byte of it 'A': no text in it ends inside its field.
template <class Record>
std::unique_ptr<Record> Unterminated() {
    std::unique_ptr<Record> record(new Record);
    std::memset(static_cast<void*>(record.get()), 'A', sizeof(Record));
    return record;
}

// Every text of the group on the wire fits the width its dictionary row allows.
void ExpectTextsWithinWidth(CAPIPackage& message, std::uint16_t groupId, const TZORecordLayout& layout) {
    CTZOPackage group;
    ASSERT_EQ(message.FindField(groupId, &group), 0) << "group " << groupId << " missing";
    int texts = 0;
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldDef& row = *layout.slots[i].field;
        CTZOPackage value;
        if (row.type != 'C' || row.width == 0 || group.FindField(row.id, &value) != 0) continue;
        ++texts;
        EXPECT_LE(value.Length(), row.width) << row.name << " is longer on the wire than its field allows";
    }
    EXPECT_GT(texts, 0) << "no text of the group was sent";
}

class TraderApplication final : public CNarvSqelTraderSpi {
public:
    void OnConnected() override { connected.Add(); }
    CEventCounter connected;
};

class MdApplication final : public CNarvSqelMdSpi {
public:
    void OnConnected() override { connected.Add(); }
    CEventCounter connected;
};

template <class Application>
bool WaitConnected(const Application& application) {
    return application.connected.WaitFor(1);
}

// A trading API connected to a scripted front.
class TradingApiAtFront : public ::testing::Test {
protected:
    void SetUp() override {
        api = CNarvSqelTraderApi::CreateSqelTraderApi("");
        api->RegisterSpi(&application);
        api->RegisterFront(("tcp://" + front.Address()).c_str());
        api->Init();
        ASSERT_TRUE(front.WaitForConnection());
        ASSERT_TRUE(WaitConnected(application));
    }
    void TearDown() override { api->Release(); }

    CScriptedFront front;
    TraderApplication application;
    CNarvSqelTraderApi* api = nullptr;
};

// ---- the trading library ------------------------------------------------------------------------------

struct TraderRequest {
    const char* name;
    std::function<int(CNarvSqelTraderApi&, bool hostile)> call;  // hostile: unterminated record, else null
    std::uint16_t serviceNo;                                     // 0: answered inside the library
    std::uint16_t groupId;
    const TZORecordLayout* layout;
};

template <class Record>
std::function<int(CNarvSqelTraderApi&, bool)> With(int (CNarvSqelTraderApi::*request)(const Record*, int)) {
    return [request](CNarvSqelTraderApi& api, bool hostile) {
        const std::unique_ptr<Record> record = hostile ? Unterminated<Record>() : nullptr;
        return (api.*request)(record.get(), 7);
    };
}

// Every request that reads the record it is given.
std::vector<TraderRequest> RecordReadingRequests() {
    using A = CNarvSqelTraderApi;
    return {
        {"ReqLogin", With(&A::ReqLogin), 116, TZOField::LoginReq.id, &kNELOLoginReqLayout},
        {"ReqChangePassword", With(&A::ReqChangePassword), 120, TZOField::ChangePasswordReq.id,
         &kNELOChangePasswordLayout},
        {"ReqInputOrder", With(&A::ReqInputOrder), 122, TZOField::InputOrder.id, &kNELOInputOrderLayout},
        {"ReqOrderCancel", With(&A::ReqOrderCancel), 127, TZOField::OrderCancelReq.id, &kNELOOrderCancelLayout},
        {"ReqOrderQuery", With(&A::ReqOrderQuery), 137, TZOField::OrderQueryReq.id, &kNELOQueryKeyLayout},
        {"ReqTradeQuery", With(&A::ReqTradeQuery), 139, TZOField::TradeQueryReq.id, &kNELOQueryKeyLayout},
        {"ReqPosiQuery", With(&A::ReqPosiQuery), 141, TZOField::PosiQueryReq.id, &kNELOQueryKeyLayout},
        {"ReqInstrumentQuery", With(&A::ReqInstrumentQuery), 145, TZOField::InstrumentQueryReq.id,
         &kNELOQueryKeyLayout},
        {"ReqQuotQuery", With(&A::ReqQuotQuery), 131, TZOField::QuotQueryReq.id, &kNELOQueryKeyLayout},
        {"ReqPosiDetailQuery", With(&A::ReqPosiDetailQuery), 147, TZOField::PosiDetailQueryReq.id,
         &kNELOQueryKeyLayout},
        {"ReqExchangeQuery", With(&A::ReqExchangeQuery), 303, TZOField::ExchangeQueryReq.id, &kNELOExchangeKeyLayout},
        {"ReqInvestorFeeRateQuery", With(&A::ReqInvestorFeeRateQuery), 305, TZOField::InvestorFeeRateQueryReq.id,
         &kNELORateKeyLayout},
        {"ReqInvestorMarginRateQuery", With(&A::ReqInvestorMarginRateQuery), 307,
         TZOField::InvestorMarginRateQueryReq.id, &kNELORateKeyLayout},
        {"ReqExchangeMarginRateQuery", With(&A::ReqExchangeMarginRateQuery), 309,
         TZOField::ExchangeMarginRateQueryReq.id, &kNELORateKeyLayout},
        // A product class the back end does not know is answered here; a known one goes out. Either is fine.
        {"ReqProductQuery", With(&A::ReqProductQuery), 0, 0, nullptr},
        {"ReqAuthenticate", With(&A::ReqAuthenticate), 0, 0, nullptr},
        {"ReqMaxOrderQtyQuery", With(&A::ReqMaxOrderQtyQuery), 0, 0, nullptr},
        {"ReqSettlementConfirm", With(&A::ReqSettlementConfirm), 0, 0, nullptr},
    };
}

TEST_F(TradingApiAtFront, NullRecordsAreRefusedAndNothingIsSent) {
    for (const TraderRequest& request : RecordReadingRequests()) {
        SCOPED_TRACE(request.name);
        EXPECT_EQ(request.call(*api, false), -1);
    }
    // The next message the front sees is the one sent after all of them.
    NarvFundQueryRecord fund{};
    ASSERT_EQ(api->ReqFundQuery(&fund, 99), 0);
    const std::unique_ptr<ReceivedMessage> next = front.WaitForMessage();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->ServiceNo, 143);
    EXPECT_EQ(next->RequestID, 99);
}

TEST_F(TradingApiAtFront, UnterminatedTextsAreCutAtTheirFieldsWidth) {
    for (const TraderRequest& request : RecordReadingRequests()) {
        SCOPED_TRACE(request.name);
        EXPECT_EQ(request.call(*api, true), 0);
        if (request.serviceNo == 0) continue;
        const std::unique_ptr<ReceivedMessage> message = front.WaitForService(request.serviceNo);
        ASSERT_NE(message, nullptr) << "nothing sent";
        ExpectTextsWithinWidth(message->package, request.groupId, *request.layout);
    }
}

TEST(TradingApiUnstarted, NullAndUnterminatedRecordsBeforeInitAreRefusedOrAnsweredLocally) {
    for (const bool hostile : {false, true}) {
        CNarvSqelTraderApi* api = CNarvSqelTraderApi::CreateSqelTraderApi("");
        for (const TraderRequest& request : RecordReadingRequests()) {
            SCOPED_TRACE(std::string(request.name) + (hostile ? " unterminated" : " null"));
            const int result = request.call(*api, hostile);
            if (!hostile || request.serviceNo != 0) {
                EXPECT_EQ(result, -1);
            }
        }
        api->Release();
    }
}

// ---- the market-data library ----------------------------------------------------------------------------

class MarketDataApiAtFront : public ::testing::Test {
protected:
    void SetUp() override {
        api = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
        api->RegisterSpi(&application);
        api->RegisterFront(("tcp://" + front.Address()).c_str());
        api->Init();
        ASSERT_TRUE(front.WaitForConnection());
        ASSERT_TRUE(WaitConnected(application));
    }
    void TearDown() override { api->Release(); }

    // The instrument of the next subscription the front receives.
    std::string NextSubscribed() {
        const std::unique_ptr<ReceivedMessage> message = front.WaitForService(7);
        if (!message) return "<nothing>";
        ExpectTextsWithinWidth(message->package, TZOField::QuotSubscribeReq.id, quot::kNELOQuotKeyLayout);
        quot::NELOQuotKeyRecord key{};
        EXPECT_EQ(TZOReadGroup(message->package, TZOField::QuotSubscribeReq.id, quot::kNELOQuotKeyLayout, &key), 0);
        return key.InstrumentID;
    }

    CScriptedFront front;
    MdApplication application;
    CNarvSqelMdApi* api = nullptr;
};

TEST_F(MarketDataApiAtFront, SubscriptionListsThatAreMissingEmptyOrNegativeSendNothing) {
    const char* one[] = {"cu2601"};
    const char* holes[] = {nullptr, nullptr};
    struct Case {
        const char* name;
        const char* const* ids;
        int count;
    };
    const Case cases[] = {
        {"no list", nullptr, 3}, {"negative count", one, -1}, {"most negative count", one, INT_MIN},
        {"zero count", one, 0},  {"only null ids", holes, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(api->ReqQuotSubscribe(c.ids, c.count), 0);
        EXPECT_EQ(api->ReqQuotUnSubscribe(c.ids, c.count), 0);
    }
    const char* marker[] = {"au2602"};
    ASSERT_EQ(api->ReqQuotSubscribe(marker, 1), 0);
    const std::unique_ptr<ReceivedMessage> next = front.WaitForMessage();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->ServiceNo, 7) << "something was sent for the lists above";
}

TEST_F(MarketDataApiAtFront, InstrumentsWithoutTerminatorAreCutAndNullIdsSkipped) {
    // 100 characters without a terminator, in an allocation of exactly that size.
    std::unique_ptr<char[]> endless(new char[100]);
    std::memset(endless.get(), 'B', 100);
    const char* ids[] = {nullptr, endless.get(), "cu2601"};
    ASSERT_EQ(api->ReqQuotSubscribe(ids, 3), 0);
    EXPECT_EQ(NextSubscribed(), std::string(15, 'B'));
    EXPECT_EQ(NextSubscribed(), "cu2601");
}

TEST_F(MarketDataApiAtFront, NullAndUnterminatedLoginRecords) {
    EXPECT_EQ(api->ReqLogin(nullptr, 1), -1);
    const std::unique_ptr<NarvLoginReqRecord> login = Unterminated<NarvLoginReqRecord>();
    ASSERT_EQ(api->ReqLogin(login.get(), 2), 0);
    const std::unique_ptr<ReceivedMessage> message = front.WaitForService(116);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->RequestID, 2) << "the null login was sent";
    ExpectTextsWithinWidth(message->package, TZOField::LoginReq.id, quot::kNELOQuotLoginReqLayout);
    // The logout record is not read; the session's investor, cut to its width, logs out.
    ASSERT_EQ(api->ReqLogout(nullptr, 3), 0);
    const std::unique_ptr<ReceivedMessage> logout = front.WaitForService(118);
    ASSERT_NE(logout, nullptr);
    ExpectTextsWithinWidth(logout->package, TZOField::LogoutReq.id, quot::kNELOInvestorLayout);
}

// ---- front addresses, both libraries ---------------------------------------------------------------------

// Addresses no front can be reached at. Before each the library is given nothing it could resolve by
// asking a name server, so the test never waits on one.
std::vector<std::string> HopelessFronts() {
    return {
        "",                                           // empty
        "tcp:/",                                      // shorter than the scheme
        "tcp://",                                     // the scheme and nothing behind it
        "tcp://127.0.0.1",                            // no port
        "tcp://127.0.0.1:",                           // an empty port
        "tcp://127.0.0.1:port",                       // a port that is not a number
        "tcp://" + std::string(4000, 'h') + ":7001",  // a 4,000-character host
        "tcp://" + std::string(4000, 'h'),            // ... and no port either
    };
}

TEST(FrontAddresses, HopelessOnesAreSkippedAndTheGoodOneAfterThemIsReached) {
    CScriptedFront traderFront, mdFront;
    TraderApplication trader;
    MdApplication md;
    CNarvSqelTraderApi* traderApi = CNarvSqelTraderApi::CreateSqelTraderApi("");
    CNarvSqelMdApi* mdApi = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
    traderApi->RegisterSpi(&trader);
    mdApi->RegisterSpi(&md);
    traderApi->RegisterFront(nullptr);
    mdApi->RegisterFront(nullptr);
    for (const std::string& front : HopelessFronts()) {
        traderApi->RegisterFront(front.c_str());
        mdApi->RegisterFront(front.c_str());
    }
    traderApi->RegisterFront(("tcp://" + traderFront.Address()).c_str());
    mdApi->RegisterFront(("tcp://" + mdFront.Address()).c_str());
    // Each hopeless front costs one reconnect delay, so both wait side by side.
    traderApi->Init();
    mdApi->Init();
    EXPECT_TRUE(traderFront.WaitForConnection(30s));
    EXPECT_TRUE(mdFront.WaitForConnection(30s));
    EXPECT_TRUE(WaitConnected(trader));
    EXPECT_TRUE(WaitConnected(md));
    traderApi->Release();
    mdApi->Release();
}

TEST(FrontAddresses, OnlyHopelessOnesLeaveAnObjectThatStartsAndReleasesCleanly) {
    for (const std::string& front : HopelessFronts()) {
        SCOPED_TRACE(front.substr(0, 40));
        CNarvSqelTraderApi* traderApi = CNarvSqelTraderApi::CreateSqelTraderApi("");
        CNarvSqelMdApi* mdApi = CNarvSqelMdApi::CreateSqelMdApi("", false, false);
        traderApi->RegisterFront(front.c_str());
        mdApi->RegisterFront(front.c_str());
        traderApi->Init();
        mdApi->Init();
        NarvFundQueryRecord fund{};
        EXPECT_EQ(traderApi->ReqFundQuery(&fund, 1), -1);
        const char* one[] = {"cu2601"};
        EXPECT_EQ(mdApi->ReqQuotSubscribe(one, 1), 0);  // nothing to send it on; documented as 0
        traderApi->Release();
        mdApi->Release();
    }
}

}  // namespace
