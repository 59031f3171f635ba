// The seven requests answered with a record the library builds from the request, the session and the
// local clock, checked byte by byte. The API object runs on a clock the test fixes.
#include <gtest/gtest.h>

#include <cstring>

#include "SqelTraderApiImpl.h"
#include "TraderTestSupport.h"
#include "support/FixedClock.h"

namespace traderapi_test {
namespace {

// Bytes of `record` that differ from `expected`, as "offset: got/expected" lines.
template <class Record>
std::string Differences(const Bytes& record, const Record& expected) {
    std::string out;
    const auto* want = reinterpret_cast<const std::uint8_t*>(&expected);
    for (std::size_t i = 0; i < sizeof(Record) && i < record.size(); ++i) {
        if (record[i] != want[i]) {
            out += std::to_string(i) + ": " + std::to_string(record[i]) + "/" + std::to_string(want[i]) + "\n";
        }
    }
    return out;
}

class LocalRecords : public ::testing::Test {
protected:
    void SetUp() override {
        clock.time = FacadeLocalTime{2025, 2, 3, 9, 5, 7};
        api = CSqelTraderApiImpl::Create(clock);
        api->RegisterSpi(&spi);
        api->Init();
        // Without a connection the login is not sent, but the session takes the firm and the investor.
        NarvLoginReqRecord login{};
        std::strcpy(login.FirmID, "FIRM000001");
        std::strcpy(login.InvestorID, "INV123456789ABC");  // 15 characters: replies keep 12 or 15
        EXPECT_EQ(api->ReqLogin(&login, 1), -1);
    }
    void TearDown() override { api->Release(); }

    Call Answer(int callbackPosition, int requestId) {
        const Call call = spi.WaitForReply(callbackPosition, requestId);
        EXPECT_EQ(call.position, callbackPosition);
        EXPECT_TRUE(call.last);
        return call;
    }

    CFixedClock clock;
    CRecordingSpi spi;
    CNarvSqelTraderApi* api = nullptr;
};

TEST_F(LocalRecords, AuthenticateEchoesTheIdentityOfTheRequest) {
    NarvAuthenticateReqRecord request{};
    std::strcpy(request.FirmID, "ABCDEFGHIJ");
    std::strcpy(request.InvestorID, "INVESTOR0123456");
    std::strcpy(request.UserProductInfo, "PRODUCT123");
    std::strcpy(request.AuthCode, "secret");
    std::strcpy(request.AppID, "app");
    ASSERT_EQ(api->ReqAuthenticate(&request, 10), 0);
    const Call call = Answer(3, 10);
    NarvAuthenticateRspRecord expected{};
    std::strcpy(expected.FirmID, "ABCDEFGHIJ");
    std::strcpy(expected.InvestorID, "INVESTOR0123456");
    std::strcpy(expected.UserProductInfo, "PRODUCT123");
    EXPECT_EQ(Differences(call.record, expected), "");
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
}

TEST_F(LocalRecords, AcknowledgeAnswersZeroWithoutResponseInfo) {
    ASSERT_EQ(api->ReqAcknowledge(nullptr, 17), 0);
    const Call call = Answer(8, 17);
    ASSERT_EQ(call.record.size(), 4u);
    EXPECT_EQ(call.At<std::int32_t>(0), 0);
    EXPECT_FALSE(call.hasInfo);
}

TEST_F(LocalRecords, MaxOrderQtyCopiesTheOrderAndReportsNoLimit) {
    NarvMaxOrderQtyRecord request{};
    std::memset(&request, 'x', sizeof(request));  // bytes the reply must not carry over
    std::strcpy(request.FirmID, "FIRM");
    std::strcpy(request.InvestorID, "INV123456789");
    request.BSFlag = '0';
    request.OCFlag = '3';
    request.HedgeFlag = '1';
    std::strcpy(request.ExchangeID, "SHFE");
    std::strcpy(request.InvestorUnit, "UNIT");
    std::strcpy(request.InstrumentID, "cu2501");
    request.MaxQty = 5;
    ASSERT_EQ(api->ReqMaxOrderQtyQuery(&request, 27), 0);
    const Call call = Answer(15, 27);
    NarvMaxOrderQtyRecord expected{};
    std::strcpy(expected.FirmID, "FIRM");
    std::strcpy(expected.InvestorID, "INV123456789");
    expected.BSFlag = '0';
    expected.OCFlag = '3';
    expected.HedgeFlag = '1';
    expected.MaxQty = 2147483647;
    std::strcpy(expected.ExchangeID, "SHFE");
    std::strcpy(expected.InvestorUnit, "UNIT");
    std::strcpy(expected.InstrumentID, "cu2501");
    EXPECT_EQ(Differences(call.record, expected), "");
    EXPECT_EQ(call.At<std::int32_t>(60), 0x7FFFFFFF);
    EXPECT_FALSE(call.hasInfo);
}

TEST_F(LocalRecords, SettlementConfirmStampsTheSessionAndTheLocalTime) {
    NarvSettlementConfirmRecord request{};
    std::memset(&request, 0, sizeof(request));
    std::strcpy(request.FirmID, "other");
    std::strcpy(request.AccountID, "ACCOUNT12345");
    request.Reserved42[0] = 'r';  // the request's own bytes travel back
    request.SettlementID = 42;
    ASSERT_EQ(api->ReqSettlementConfirm(&request, 28), 0);
    const Call call = Answer(16, 28);
    EXPECT_EQ(call.Text(0), "FIRM000001");
    EXPECT_EQ(call.Text(11), "INV123456789");
    EXPECT_EQ(call.Text(24), "20250203");
    EXPECT_EQ(call.Text(33), "09:05:07");
    EXPECT_EQ(call.Char(42), 'r');
    EXPECT_EQ(call.Text(48), "ACCOUNT12345");
    EXPECT_EQ(call.At<std::int32_t>(64), 42);
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
}

TEST_F(LocalRecords, SettlementConfirmQueryReadsNoRequest) {
    clock.time = FacadeLocalTime{2024, 12, 31, 23, 59, 58};
    NarvSettlementConfirmRecord request{};
    std::strcpy(request.AccountID, "ignored");
    request.SettlementID = 9;
    ASSERT_EQ(api->ReqSettlementConfirmQuery(&request, 56), 0);
    const Call call = Answer(44, 56);
    NarvSettlementConfirmRecord expected{};
    std::strcpy(expected.FirmID, "FIRM000001");
    std::strcpy(expected.InvestorID, "INV123456789");
    std::strcpy(expected.ConfirmDate, "20241231");
    std::strcpy(expected.ConfirmTime, "23:59:58");
    EXPECT_EQ(Differences(call.record, expected), "");
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
}

TEST_F(LocalRecords, InvestorQueryDescribesTheSessionInvestor) {
    ASSERT_EQ(api->ReqInvestorQuery(nullptr, 44), 0);
    const Call call = Answer(32, 44);
    NarvInvestorRecord expected{};
    std::strcpy(expected.InvestorID, "INV123456789");
    std::strcpy(expected.FirmID, "FIRM000001");
    std::strcpy(expected.InvestorName, "INV123456789ABC");
    expected.IsActive = 1;
    EXPECT_EQ(Differences(call.record, expected), "");
    EXPECT_EQ(call.At<std::int32_t>(172), 1);
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
}

TEST_F(LocalRecords, CurrencyQueryAlwaysReportsRmb) {
    NarvCurrencyRecord request{};
    std::strcpy(request.CurrencyID, "USD");
    ASSERT_EQ(api->ReqCurrencyQuery(&request, 88), 0);
    const Call call = Answer(100, 88);
    EXPECT_EQ(call.Text(0), "FIRM000001");
    EXPECT_EQ(call.Text(11), "INV123456789");
    EXPECT_EQ(call.Char(24), '4');
    EXPECT_EQ(call.Char(25), '2');
    EXPECT_EQ(call.Text(27), "RMB");
    EXPECT_EQ(call.Char(31), '4');
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
}

// The record a callback receives is its own: a second request of the same kind, made while the first
// answer is being delivered, does not change it.
TEST_F(LocalRecords, ARecordStaysIntactWhileTheSameRequestIsMadeAgain) {
    spi.OnNextCall(100, [this] {
        NarvLoginReqRecord login{};
        std::strcpy(login.FirmID, "SECOND");
        std::strcpy(login.InvestorID, "OTHER");
        api->ReqLogin(&login, 2);
        api->ReqCurrencyQuery(nullptr, 2);
    });
    // Runs once both first requests have been made (the reply is posted by the request itself).
    spi.OnNextCall(44, [this] {
        clock.time = FacadeLocalTime{2030, 1, 1, 1, 1, 1};
        api->ReqSettlementConfirmQuery(nullptr, 2);
    });
    ASSERT_EQ(api->ReqCurrencyQuery(nullptr, 1), 0);
    ASSERT_EQ(api->ReqSettlementConfirmQuery(nullptr, 1), 0);
    const Call first = Answer(100, 1);
    EXPECT_EQ(first.Text(0), "FIRM000001");
    EXPECT_EQ(first.Text(11), "INV123456789");
    const Call second = Answer(100, 2);
    EXPECT_EQ(second.Text(0), "SECOND");
    const Call confirm = Answer(44, 1);
    EXPECT_EQ(confirm.Text(24), "20250203");
    EXPECT_EQ(Answer(44, 2).Text(24), "20300101");
}

}  // namespace
}  // namespace traderapi_test
