// Login, logout, password change, flow subscription after login and the connection events, through the
// shared library and a scripted front: what goes out on the wire and what the application receives, at
// byte offsets, on which thread.
#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <string>

#include "TraderFrontSupport.h"

namespace traderapi_test {
namespace {

constexpr std::int64_t kSession5And7 = (std::int64_t{5} << 32) | 7;

using Session = FrontFixture;

TEST_F(Session, LoginSendsTheInvestorAndAtMostTwentyPasswordCharacters) {
    NarvLoginReqRecord login{};
    std::memset(&login, 'z', sizeof(login));  // bytes outside the three fields are not read
    std::strcpy(login.FirmID, "FIRM000001");
    std::strcpy(login.InvestorID, "INV123456789ABC");
    std::memcpy(login.InvestorPassword, "abcdefghijklmnopqrst", 20);
    login.InvestorPassword[20] = '\0';
    ASSERT_EQ(api->ReqLogin(&login, 41), 0);
    std::unique_ptr<ReceivedMessage> request = Expect(116);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->RequestID, 41);
    const auto sent = ReadGroup<NELOLoginReqRecord>(*request, TZOField::LoginReq, kNELOLoginReqLayout);
    EXPECT_STREQ(sent.InvestorID, "INV123456789ABC");
    EXPECT_STREQ(sent.InvestorPassword, "abcdefghijklmnopqrst");
    EXPECT_STREQ(sent.MacAddress, "");
    EXPECT_STREQ(sent.UserProductInfo, "");
}

TEST_F(Session, LoginReplyCarriesTheSessionAtItsOffsets) {
    EXPECT_STREQ(api->GetTradingDay(), "");
    const Call call = LogIn("INV1", "2025-03-14", kSession5And7, 7);
    ExpectIOReply(call, 4, 7, true);
    ASSERT_TRUE(call.HasRecord());
    ASSERT_EQ(call.record.size(), 156u);
    EXPECT_EQ(call.Text(0), "20250314");
    const std::string loginTime = call.Text(9);
    EXPECT_TRUE(std::regex_match(loginTime, std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]"))) << loginTime;
    EXPECT_EQ(call.Text(18), "FIRM01");
    EXPECT_EQ(call.Text(29), "INV1");
    EXPECT_EQ(call.Text(45), "NELO");
    EXPECT_EQ(call.At<std::int32_t>(88), 5);
    EXPECT_EQ(call.At<std::int32_t>(92), 7);
    EXPECT_EQ(call.Text(96), "1");
    for (std::size_t stamp : {109u, 118u, 127u, 136u, 145u}) {
        EXPECT_EQ(call.Text(stamp), loginTime) << "stamp at " << stamp;
    }
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
    EXPECT_STREQ(api->GetTradingDay(), "20250314");
}

TEST_F(Session, RejectedLoginKeepsTheTradingDayAndWidensTheCode) {
    LogIn("INV1", "2025-03-14", kSession5And7, 1);
    const Call call = LogIn("INV1", "2025-03-17", kSession5And7, 2, -1, kGbkLoginFailed);
    ExpectIOReply(call, 4, 2, true);
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 65535) << "the 16-bit code is zero-extended";
    EXPECT_STREQ(call.info.ErrorMsg, kGbkLoginFailed);
    EXPECT_STREQ(api->GetTradingDay(), "20250314");
}

// The trading-day text handed out earlier is not rewritten by a later login.
TEST_F(Session, ATradingDayTextStaysAsItWasHandedOut) {
    LogIn("INV1", "2025-03-14", kSession5And7, 1);
    const char* first = api->GetTradingDay();
    LogIn("INV1", "2025-03-17", kSession5And7, 2);
    EXPECT_STREQ(first, "20250314");
    EXPECT_STREQ(api->GetTradingDay(), "20250317");
}

struct FlowRow {
    std::int32_t flow;
    std::int32_t pkgNo;
};

struct FlowResumeCase {
    const char* name;
    int accountMode;  // SetAccountFlowResume
    int marketMode;   // SetMarketFlowResume
    std::vector<FlowRow> firstLogin;
};

// The first login of an investor subscribes with the configured modes (the back end's sequences are 0
// then): 1 replays from 0, 2 resumes after the last push seen (0), 3 asks for new pushes only (-1).
const FlowResumeCase kFlowResumeCases[] = {
    {"replay both", 0, 0, {{1, 0}, {2, 0}}},
    {"resume account, new market", 1, 2, {{1, 0}, {2, -1}}},
    {"new account only", 2, 9, {{1, -1}}},
    {"market only", -1, 0, {{2, 0}}},
};

TEST_F(Session, FlowSubscriptionFollowsTheResumeModes) {
    int investorNumber = 0;
    for (const FlowResumeCase& row : kFlowResumeCases) {
        SCOPED_TRACE(row.name);
        api->SetAccountFlowResume(row.accountMode);
        api->SetMarketFlowResume(row.marketMode);
        // A new investor each time: the stored trading day is cleared, the configured modes count.
        const std::string investor = "INV" + std::to_string(++investorNumber);
        LogIn(investor.c_str(), "2025-03-14", kSession5And7);
        std::unique_ptr<ReceivedMessage> subscription = NextMessage();
        ASSERT_NE(subscription, nullptr);
        ASSERT_EQ(subscription->ServiceNo, 3);
        const auto rows =
            ReadRows<NELOFlowSubscribeRecord>(*subscription, TZOField::FlowSubscribeReqList, kNELOFlowSubscribeLayout);
        ASSERT_EQ(rows.size(), row.firstLogin.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].FlowID, row.firstLogin[i].flow);
            EXPECT_EQ(rows[i].PkgNo, row.firstLogin[i].pkgNo);
        }
    }
}

TEST_F(Session, TheSameTradingDayResumesBothFlows) {
    api->SetAccountFlowResume(0);
    api->SetMarketFlowResume(2);
    LogIn("INV1", "2025-03-14", kSession5And7, 1);
    Expect(3);
    // A push seen on flow 1 moves its sequence; a second login on the same day resumes after it.
    NELOOrderRecord order{};
    std::strcpy(order.InvestorID, "INV1");
    front.Send(1, 124, 6,
               [&](CAPIPackage& p) { return TZOAddRecord(p, TZOField::Order.id, kNELOOrderLayout, &order); });
    ASSERT_EQ(spi.WaitForPosition(73).position, 73);
    LogIn("INV1", "2025-03-14", kSession5And7, 2);
    std::unique_ptr<ReceivedMessage> subscription = NextMessage();
    ASSERT_NE(subscription, nullptr);
    ASSERT_EQ(subscription->ServiceNo, 3);
    const auto rows =
        ReadRows<NELOFlowSubscribeRecord>(*subscription, TZOField::FlowSubscribeReqList, kNELOFlowSubscribeLayout);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].FlowID, 1);
    EXPECT_EQ(rows[0].PkgNo, 6);
    EXPECT_EQ(rows[1].FlowID, 2);
    EXPECT_EQ(rows[1].PkgNo, -1) << "flow 2 resumes after its last seen sequence, all ones after mode 3";
}

TEST_F(Session, NoSubscriptionWhenBothModesAreOffOrTheLoginFails) {
    api->SetAccountFlowResume(5);
    api->SetMarketFlowResume(-7);
    LogIn("INV1", "2025-03-14", kSession5And7, 1);
    NarvFundQueryRecord query{};
    ASSERT_EQ(api->ReqFundQuery(&query, 2), 0);
    std::unique_ptr<ReceivedMessage> next = NextMessage();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->ServiceNo, 143) << "no flow subscription with both modes off";

    api->SetAccountFlowResume(0);
    LogIn("INV1", "2025-03-17", kSession5And7, 3, 12, kGbkLoginFailed);
    ASSERT_EQ(api->ReqFundQuery(&query, 4), 0);
    next = NextMessage();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->ServiceNo, 143) << "no flow subscription after a failed login";
}

TEST_F(Session, LogoutSendsTheSessionInvestorAndRepliesWithoutTheFirm) {
    LogIn("INV123456789ABC", "2025-03-14", kSession5And7);
    NarvLogoutRecord logout{};
    std::strcpy(logout.InvestorID, "someone else");
    ASSERT_EQ(api->ReqLogout(&logout, 14), 0);
    std::unique_ptr<ReceivedMessage> request = Expect(118);
    ASSERT_NE(request, nullptr);
    EXPECT_STREQ(ReadGroup<NELOInvestorRecord>(*request, TZOField::LogoutReq, kNELOInvestorLayout).InvestorID,
                 "INV123456789ABC");
    NELOInvestorRecord rsp{};
    std::strcpy(rsp.InvestorID, "INV123456789ABC");
    const Call call = Reply(5, 119, 14, 0, [&](CAPIPackage& p) {
        return TZOAddRecord(p, TZOField::LogoutRsp.id, kNELOInvestorLayout, &rsp);
    });
    ExpectIOReply(call, 5, 14, true);
    ASSERT_EQ(call.record.size(), 27u);
    EXPECT_EQ(call.Text(0), "") << "FirmID stays empty";
    EXPECT_EQ(call.Text(11), "INV123456789ABC");
    ASSERT_TRUE(call.hasInfo);
    EXPECT_EQ(call.info.ErrorID, 0);
}

TEST_F(Session, PasswordChangeSendsTwentyCharactersAndRepliesWithTheSavedRequest) {
    LogIn("INV1", "2025-03-14", kSession5And7);
    NarvChangePasswordRecord change{};
    std::strcpy(change.FirmID, "ignored");
    std::strcpy(change.InvestorID, "ignored too");
    std::strcpy(change.OldPassword, "old456789012345678901234567890");  // 30 characters
    std::strcpy(change.NewPassword, "new4567890123456789012345");       // 25 characters
    ASSERT_EQ(api->ReqChangePassword(&change, 15), 0);
    std::memset(&change, 0, sizeof(change));  // the library keeps its own copy
    std::unique_ptr<ReceivedMessage> request = Expect(120);
    ASSERT_NE(request, nullptr);
    const auto sent =
        ReadGroup<NELOChangePasswordRecord>(*request, TZOField::ChangePasswordReq, kNELOChangePasswordLayout);
    EXPECT_STREQ(sent.InvestorID, "INV1");
    EXPECT_STREQ(sent.InvestorOldPassword, "old45678901234567890");
    EXPECT_STREQ(sent.InvestorNewPassword, "new45678901234567890");
    NELOInvestorRecord rsp{};
    const NELORspInfoRecord info = BackEndInfo(0, "");
    const Call call = Reply(6, 121, 15, 0, [&](CAPIPackage& p) {
        return AddInfo(p, info) >= 0 && TZOAddRecord(p, TZOField::ChangePasswordRsp.id, kNELOInvestorLayout, &rsp) >= 0
                   ? 0
                   : -1;
    });
    ExpectIOReply(call, 6, 15, true);
    ASSERT_EQ(call.record.size(), 109u);
    EXPECT_EQ(call.Text(0), "");
    EXPECT_EQ(call.Text(11), "INV1");
    EXPECT_EQ(call.Text(27), "old456789012345678901234567890");
    EXPECT_EQ(call.Text(68), "new4567890123456789012345");
}

TEST_F(Session, ALostConnectionIsReportedWithReasonZeroAndReconnects) {
    front.Drop();
    const Call lost = spi.WaitForPosition(1);
    ASSERT_EQ(lost.position, 1);
    EXPECT_EQ(lost.reason, 0);
    EXPECT_EQ(lost.thread, ioThread);
    ASSERT_TRUE(front.WaitForConnection());
    const Call again = spi.WaitFor([](const Call& call) { return call.position == 0; });
    EXPECT_EQ(again.position, 0);
}

TEST_F(Session, RequestsWithoutAConnectionReturnMinusOne) {
    front.SetAccepting(false);
    front.Drop();
    ASSERT_EQ(spi.WaitForPosition(1).position, 1);
    NarvLoginReqRecord login{};
    EXPECT_EQ(api->ReqLogin(&login, 1), -1);
    NarvLogoutRecord logout{};
    EXPECT_EQ(api->ReqLogout(&logout, 2), -1);
    NarvFundQueryRecord fund{};
    EXPECT_EQ(api->ReqFundQuery(&fund, 3), -1);
}

}  // namespace
}  // namespace traderapi_test
