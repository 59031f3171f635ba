// The helpers both facades share: what they make of front addresses, back-end reply codes and trading
// days, so that the two libraries cannot come to disagree about them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "FacadeFront.h"
#include "FacadeReplies.h"
#include "FacadeTradingDayTexts.h"

namespace {

TEST(FacadeFront, TheSchemeIsDroppedAndAnAddressWithoutAHostIsRefused) {
    struct Case {
        const char* address;
        const char* hostAndPort;  // null: refused
    };
    const Case cases[] = {
        {nullptr, nullptr},   {"", nullptr},
        {"tcp:/", nullptr},   {"tcp://", nullptr},               // the scheme and nothing behind it
        {"tcp://h:1", "h:1"}, {"123456host:7001", "host:7001"},  // the scheme is not examined
    };
    for (const Case& c : cases) {
        const char* got = FacadeHostAndPort(c.address);
        const std::string name = c.address ? c.address : "(null)";
        if (c.hostAndPort == nullptr) {
            EXPECT_EQ(got, nullptr) << name;
        } else {
            ASSERT_NE(got, nullptr) << name;
            EXPECT_STREQ(got, c.hostAndPort) << name;
            EXPECT_EQ(got, c.address + kFacadeFrontSchemeLength) << name;  // the caller's text, not a copy
        }
    }
}

struct BackEndInfo {
    std::int16_t RspNo;
    char RspDesc[101];
};
struct ExportedInfo {
    int ErrorID;
    char ErrorMsg[81];
    char Reserved[3];
};

TEST(FacadeReplies, ResponseInfoWidensTheCodeWithoutSignAndCutsTheText) {
    BackEndInfo info{-1, {}};
    std::memset(info.RspDesc, 'e', 100);
    ExportedInfo out;
    std::memset(&out, 0x5A, sizeof out);
    FacadeFillRspInfo(info, &out);
    EXPECT_EQ(out.ErrorID, 65535);
    EXPECT_EQ(std::string(out.ErrorMsg), std::string(80, 'e'));
    EXPECT_EQ(out.Reserved[0], 0) << "the record is zeroed first";
}

TEST(FacadeTradingDayTexts, AHandedOutTextNeverChanges) {
    CFacadeTradingDayTexts texts;
    const char empty[9] = "";
    const char first[9] = "20250314";
    const char second[9] = "20250317";
    EXPECT_STREQ(texts.TextFor(empty), "");
    const char* firstText = texts.TextFor(first);
    const char* secondText = texts.TextFor(second);
    EXPECT_STREQ(firstText, "20250314");
    EXPECT_STREQ(secondText, "20250317");
    EXPECT_EQ(texts.TextFor(first), firstText) << "one text per trading day";
    const char unterminated[9] = {'2', '0', '2', '5', '0', '3', '1', '4', 'x'};
    EXPECT_EQ(texts.TextFor(unterminated), firstText) << "the ninth byte is always the terminator";
}

}  // namespace
