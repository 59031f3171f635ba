// Every request position of the exported interface, called as an application would without a
// connection: what it returns and, where the library answers by itself, which callback position the
// answer reaches, with which record, response info, request id and last flag, on which thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <set>

#include "NarvSqelTraderApi.h"
#include "TraderTestSupport.h"

namespace traderapi_test {
namespace {

using Invoke = std::function<int(CNarvSqelTraderApi&, const void*, int)>;

#define EXT(N) [](CNarvSqelTraderApi& api, const void* request, int id) { return api.ReqExt##N(request, id); }
#define TYPED(Method, Type)                                       \
    [](CNarvSqelTraderApi& api, const void* request, int id) {    \
        return api.Method(static_cast<const Type*>(request), id); \
    }

enum class Answer {
    NotProvided,   // -3, no callback
    NotSent,       // forwarded to the back end: -1 without a connection, no callback
    Empty,         // null record, null response info
    NotSupported,  // the request itself, 99 / "Not supported"
    LocalSuccess,  // a record built by the library, zeroed response info
    LocalNoInfo,   // a record built by the library, null response info
};

struct PositionCase {
    int position;
    Invoke invoke;
    Answer answer;
    int callbackPosition;  // -1 when no callback follows
};

// The expected behaviour of positions 10 to 95, written down independently of the library's own table.
const PositionCase kPositions[] = {
    {10, TYPED(ReqAuthenticate, NarvAuthenticateReqRecord), Answer::LocalSuccess, 3},
    {11, [](CNarvSqelTraderApi& api, const void* request, int) { return api.ReqExt11(request); }, Answer::NotProvided,
     -1},
    {12, [](CNarvSqelTraderApi& api, const void* request, int) { return api.ReqExt12(request); }, Answer::NotProvided,
     -1},
    {13, TYPED(ReqLogin, NarvLoginReqRecord), Answer::NotSent, -1},
    {14, TYPED(ReqLogout, NarvLogoutRecord), Answer::NotSent, -1},
    {15, TYPED(ReqChangePassword, NarvChangePasswordRecord), Answer::NotSent, -1},
    {16, EXT(16), Answer::NotProvided, -1},
    {17, TYPED(ReqAcknowledge, NarvAcknowledgeRecord), Answer::LocalNoInfo, 8},
    {18, EXT(18), Answer::NotProvided, -1},
    {19, EXT(19), Answer::NotProvided, -1},
    {20, EXT(20), Answer::NotProvided, -1},
    {21, EXT(21), Answer::NotProvided, -1},
    {22, EXT(22), Answer::NotProvided, -1},
    {23, TYPED(ReqInputOrder, NarvInputOrderRecord), Answer::NotSent, -1},
    {24, EXT(24), Answer::NotProvided, -1},
    {25, EXT(25), Answer::NotProvided, -1},
    {26, TYPED(ReqOrderCancel, NarvOrderActionRecord), Answer::NotSent, -1},
    {27, TYPED(ReqMaxOrderQtyQuery, NarvMaxOrderQtyRecord), Answer::LocalNoInfo, 15},
    {28, TYPED(ReqSettlementConfirm, NarvSettlementConfirmRecord), Answer::LocalSuccess, 16},
    {29, EXT(29), Answer::NotProvided, -1},
    {30, EXT(30), Answer::NotProvided, -1},
    {31, EXT(31), Answer::NotSupported, 19},
    {32, EXT(32), Answer::NotSupported, 20},
    {33, EXT(33), Answer::NotSupported, 21},
    {34, EXT(34), Answer::NotSupported, 22},
    {35, EXT(35), Answer::NotSupported, 23},
    {36, EXT(36), Answer::NotProvided, -1},
    {37, EXT(37), Answer::Empty, 25},
    {38, EXT(38), Answer::Empty, 26},
    {39, EXT(39), Answer::NotProvided, -1},
    {40, TYPED(ReqOrderQuery, NarvOrderQueryRecord), Answer::NotSent, -1},
    {41, TYPED(ReqTradeQuery, NarvTradeQueryRecord), Answer::NotSent, -1},
    {42, TYPED(ReqPosiQuery, NarvPosiQueryRecord), Answer::NotSent, -1},
    {43, TYPED(ReqFundQuery, NarvFundQueryRecord), Answer::NotSent, -1},
    {44, TYPED(ReqInvestorQuery, NarvInvestorQueryRecord), Answer::LocalSuccess, 32},
    {45, EXT(45), Answer::Empty, 33},
    {46, TYPED(ReqInvestorMarginRateQuery, NarvInvestorMarginRateQueryRecord), Answer::NotSent, -1},
    {47, TYPED(ReqInvestorFeeRateQuery, NarvInvestorFeeRateQueryRecord), Answer::NotSent, -1},
    {48, TYPED(ReqExchangeQuery, NarvExchangeQueryRecord), Answer::NotSent, -1},
    {49, TYPED(ReqProductQuery, NarvProductQueryRecord), Answer::NotSent, -1},
    {50, TYPED(ReqInstrumentQuery, NarvInstrumentQueryRecord), Answer::NotSent, -1},
    {51, TYPED(ReqQuotQuery, NarvQuotQueryRecord), Answer::NotSent, -1},
    {52, EXT(52), Answer::Empty, 40},
    {53, EXT(53), Answer::Empty, 41},
    {54, TYPED(ReqPosiDetailQuery, NarvPosiDetailQueryRecord), Answer::NotSent, -1},
    {55, EXT(55), Answer::Empty, 43},
    {56, TYPED(ReqSettlementConfirmQuery, NarvSettlementConfirmRecord), Answer::LocalSuccess, 44},
    {57, EXT(57), Answer::Empty, 45},
    {58, EXT(58), Answer::Empty, 46},
    {59, EXT(59), Answer::NotProvided, -1},
    {60, EXT(60), Answer::NotProvided, -1},
    {61, TYPED(ReqExchangeMarginRateQuery, NarvExchangeMarginRateQueryRecord), Answer::NotSent, -1},
    {62, EXT(62), Answer::NotProvided, -1},
    {63, EXT(63), Answer::NotProvided, -1},
    {64, EXT(64), Answer::NotProvided, -1},
    {65, EXT(65), Answer::NotProvided, -1},
    {66, EXT(66), Answer::Empty, 54},
    {67, EXT(67), Answer::NotProvided, -1},
    {68, EXT(68), Answer::NotProvided, -1},
    {69, EXT(69), Answer::Empty, 57},
    {70, EXT(70), Answer::NotProvided, -1},
    {71, EXT(71), Answer::NotProvided, -1},
    {72, EXT(72), Answer::Empty, 60},
    {73, EXT(73), Answer::Empty, 61},
    {74, EXT(74), Answer::Empty, 62},
    {75, EXT(75), Answer::Empty, 63},
    {76, EXT(76), Answer::Empty, 64},
    {77, EXT(77), Answer::Empty, 65},
    {78, EXT(78), Answer::Empty, 66},
    {79, EXT(79), Answer::Empty, 67},
    {80, EXT(80), Answer::Empty, 68},
    {81, EXT(81), Answer::Empty, 69},
    {82, EXT(82), Answer::Empty, 70},
    {83, EXT(83), Answer::Empty, 71},
    {84, EXT(84), Answer::Empty, 96},
    {85, EXT(85), Answer::Empty, 97},
    {86, EXT(86), Answer::Empty, 98},
    {87, EXT(87), Answer::Empty, 99},
    {88, TYPED(ReqCurrencyQuery, NarvCurrencyRecord), Answer::LocalSuccess, 100},
    {89, EXT(89), Answer::Empty, 101},
    {90, EXT(90), Answer::Empty, 102},
    {91, EXT(91), Answer::NotProvided, -1},
    {92, EXT(92), Answer::NotProvided, -1},
    {93, EXT(93), Answer::Empty, 121},
    {94, EXT(94), Answer::Empty, 125},
    {95, EXT(95), Answer::Empty, 126},
};

int ExpectedResult(Answer answer) {
    switch (answer) {
        case Answer::NotProvided:
            return -3;
        case Answer::NotSent:
            return -1;
        default:
            return 0;
    }
}

int RequestIdOf(int position) { return 7000 + position; }

// A request of any kind: large enough for every request record, and never read past.
struct AnyRequest {
    alignas(8) unsigned char bytes[1024] = {};
};

class LocalAnswers : public ::testing::Test {
protected:
    void SetUp() override {
        api = CNarvSqelTraderApi::CreateSqelTraderApi("");
        ASSERT_NE(api, nullptr);
    }
    void TearDown() override {
        if (api != nullptr) {
            api->Release();
        }
    }

    // A last empty reply: the queue delivers in order, so once it arrives everything before it has.
    void Drain() {
        ASSERT_EQ(api->ReqExt37(nullptr, kSentinel), 0);
        ASSERT_EQ(spi.WaitForReply(25, kSentinel).position, 25) << "the dispatch queue delivered nothing";
    }

    static constexpr int kSentinel = 999999;
    CRecordingSpi spi;
    CNarvSqelTraderApi* api = nullptr;
};

TEST_F(LocalAnswers, TableCoversEveryRequestPosition) {
    std::set<int> positions;
    for (const PositionCase& row : kPositions) {
        positions.insert(row.position);
    }
    EXPECT_EQ(positions.size(), 86u);
    EXPECT_EQ(*positions.begin(), 10);
    EXPECT_EQ(*positions.rbegin(), 95);
}

TEST_F(LocalAnswers, EveryPositionReturnsItsResultAndReachesItsCallback) {
    api->RegisterSpi(&spi);
    api->Init();
    AnyRequest request;
    for (const PositionCase& row : kPositions) {
        EXPECT_EQ(row.invoke(*api, request.bytes, RequestIdOf(row.position)), ExpectedResult(row.answer))
            << "position " << row.position;
    }
    Drain();

    const std::vector<Call> calls = spi.Calls();
    std::vector<const PositionCase*> answered;
    for (const PositionCase& row : kPositions) {
        if (row.callbackPosition >= 0) {
            answered.push_back(&row);
        }
    }
    ASSERT_EQ(calls.size(), answered.size() + 1) << "a position without a callback answered, or one was lost";
    const std::thread::id dispatchThread = calls.front().thread;
    EXPECT_NE(dispatchThread, std::this_thread::get_id());
    for (std::size_t i = 0; i < answered.size(); ++i) {
        const PositionCase& row = *answered[i];
        const Call& call = calls[i];
        SCOPED_TRACE("request position " + std::to_string(row.position));
        EXPECT_EQ(call.position, row.callbackPosition);
        EXPECT_EQ(call.requestId, RequestIdOf(row.position));
        EXPECT_TRUE(call.last);
        EXPECT_EQ(call.thread, dispatchThread);
        switch (row.answer) {
            case Answer::Empty:
                EXPECT_FALSE(call.HasRecord());
                EXPECT_FALSE(call.hasInfo);
                break;
            case Answer::NotSupported:
                EXPECT_EQ(call.recordPointer, static_cast<const void*>(request.bytes));
                ASSERT_TRUE(call.hasInfo);
                EXPECT_EQ(call.info.ErrorID, 99);
                EXPECT_STREQ(call.info.ErrorMsg, "Not supported");
                break;
            case Answer::LocalSuccess:
                EXPECT_TRUE(call.HasRecord());
                EXPECT_NE(call.recordPointer, static_cast<const void*>(request.bytes));
                ASSERT_TRUE(call.hasInfo);
                EXPECT_EQ(call.info.ErrorID, 0);
                EXPECT_STREQ(call.info.ErrorMsg, "");
                break;
            case Answer::LocalNoInfo:
                EXPECT_TRUE(call.HasRecord());
                EXPECT_FALSE(call.hasInfo);
                break;
            default:
                ADD_FAILURE() << "no callback expected";
        }
    }
}

// The first reply itself tells whether Init had been called when it was delivered.
TEST_F(LocalAnswers, RequestsBeforeInitWaitForTheDispatchThread) {
    std::atomic<bool> initCalled{false};
    bool deliveredBeforeInit = false;  // written by the first callback, read once it is recorded
    spi.OnNextCall(33, [&] { deliveredBeforeInit = !initCalled.load(); });
    api->RegisterSpi(&spi);
    EXPECT_EQ(api->ReqExt45(nullptr, 5), 0);
    EXPECT_EQ(api->ReqExt31(nullptr, 6), 0);
    EXPECT_EQ(spi.Count(), 0u) << "answered inside the request";
    initCalled.store(true);
    api->Init();
    ASSERT_TRUE(spi.WaitForCount(2));
    EXPECT_FALSE(deliveredBeforeInit);
    EXPECT_EQ(spi.Calls()[0].position, 33);
    EXPECT_EQ(spi.Calls()[1].position, 19);
}

TEST_F(LocalAnswers, NothingIsDeliveredWithoutACallbackObject) {
    api->Init();
    EXPECT_EQ(api->ReqExt37(nullptr, 1), 0);  // empty reply
    EXPECT_EQ(api->ReqExt31(nullptr, 2), 0);  // not supported
    NarvCurrencyRecord currency{};
    EXPECT_EQ(api->ReqCurrencyQuery(&currency, 3), 0);  // local record
    api->RegisterSpi(&spi);
    Drain();
    EXPECT_EQ(spi.Count(), 1u);
}

TEST_F(LocalAnswers, ALocalReplyGoesToTheCallbackObjectRegisteredWhenItWasRequested) {
    CRecordingSpi first;
    api->RegisterSpi(&first);
    EXPECT_EQ(api->ReqExt52(nullptr, 11), 0);
    api->RegisterSpi(&spi);
    api->Init();
    EXPECT_EQ(first.WaitForReply(40, 11).position, 40);
    Drain();
    EXPECT_EQ(spi.Count(), 1u);
}

TEST_F(LocalAnswers, ProductClassesThreeToSixAreAnsweredLocallyAsNotSupported) {
    api->RegisterSpi(&spi);
    api->Init();
    for (char productClass : {'3', '4', '5', '6'}) {
        NarvProductQueryRecord query{};
        query.ProductClass = productClass;
        std::strcpy(query.ExchangeID, "SHFE");
        const int requestId = 300 + productClass;
        EXPECT_EQ(api->ReqProductQuery(&query, requestId), 0) << productClass;
        const Call call = spi.WaitForReply(37, requestId);
        ASSERT_EQ(call.position, 37) << productClass;
        EXPECT_FALSE(call.HasRecord());
        ASSERT_TRUE(call.hasInfo);
        EXPECT_EQ(call.info.ErrorID, 99);
        EXPECT_STREQ(call.info.ErrorMsg, "Not supported");
        EXPECT_TRUE(call.last);
    }
}

// Positions that read their request record refuse a null one instead of reading through it.
TEST_F(LocalAnswers, ANullRequestRecordIsRefusedWhereTheRecordWouldBeRead) {
    api->RegisterSpi(&spi);
    api->Init();
    const int readers[] = {10, 13, 15, 23, 26, 27, 28, 40, 41, 42, 46, 47, 48, 49, 50, 51, 54, 61};
    for (int position : readers) {
        for (const PositionCase& row : kPositions) {
            if (row.position == position) {
                EXPECT_EQ(row.invoke(*api, nullptr, RequestIdOf(position)), -1) << "position " << position;
            }
        }
    }
    Drain();
    EXPECT_EQ(spi.Count(), 1u) << "a refused request must not be answered";
}

}  // namespace
}  // namespace traderapi_test
