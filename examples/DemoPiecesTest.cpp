// The demo's own pieces: its command line, its display of GBK texts and the words for record codes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DemoOptions.h"
#include "DisplayText.h"
#include "RecordText.h"

namespace {

DemoOptionsParse Parse(std::vector<std::string> args, DemoOptions& options) {
    args.insert(args.begin(), "narv_demo");
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return ParseDemoOptions(static_cast<int>(args.size()), argv.data(), options);
}

TEST(DemoOptionsTest, FrontsInBothFormsBecomeLibraryAddresses) {
    DemoOptions options;
    const auto parsed = Parse({"--trade-front", "127.0.0.1:7001", "--quote-front", "tcp://localhost:7002"}, options);
    ASSERT_EQ(parsed.outcome, DemoOptionsParse::Outcome::Run) << parsed.message;
    EXPECT_EQ(options.tradeFront, "tcp://127.0.0.1:7001");
    EXPECT_EQ(options.quoteFront, "tcp://localhost:7002");
    EXPECT_EQ(options.instruments, (std::vector<std::string>{"cu2601", "sc2602"}));
    EXPECT_EQ(options.stepTimeoutSeconds, 10);
}

TEST(DemoOptionsTest, EveryOptionIsTaken) {
    DemoOptions options;
    const auto parsed = Parse({"--trade-front=h:1", "--quote-front=h:2", "--investor", "alice", "--password", "pw",
                               "--firm", "F9", "--instruments", "au2602,,m2605", "--quotes", "5", "--timeout", "30"},
                              options);
    ASSERT_EQ(parsed.outcome, DemoOptionsParse::Outcome::Run) << parsed.message;
    EXPECT_EQ(options.investorId, "alice");
    EXPECT_EQ(options.password, "pw");
    EXPECT_EQ(options.firmId, "F9");
    EXPECT_EQ(options.instruments, (std::vector<std::string>{"au2602", "m2605"}));
    EXPECT_EQ(options.quotesPerInstrument, 5);
    EXPECT_EQ(options.stepTimeoutSeconds, 30);
}

TEST(DemoOptionsTest, OptionsAreReadInOrder) {
    DemoOptions options;
    // An unknown option before help is reported; help before anything else is printed.
    const auto parsed = Parse({"--bogus", "-h"}, options);
    EXPECT_EQ(parsed.outcome, DemoOptionsParse::Outcome::Error);
    const auto help = Parse({"--help", "--bogus"}, options);
    EXPECT_EQ(help.outcome, DemoOptionsParse::Outcome::Help);
    EXPECT_NE(help.message.find("exit status"), std::string::npos);
}

TEST(DemoOptionsTest, BadCommandLinesAreRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> args;
        const char* reason;
    };
    const std::string t = "--trade-front=h:1", q = "--quote-front=h:2";
    const Case cases[] = {
        {{}, "both --trade-front and --quote-front are required"},
        {{t}, "both --trade-front and --quote-front are required"},
        {{"--trade-front", "h", q}, "bad front address"},
        {{"--trade-front", "h:0", q}, "bad front address"},
        {{"--trade-front", "h:65536", q}, "bad front address"},
        {{"--trade-front", "h:12x", q}, "bad front address"},
        {{"--trade-front", ":80", q}, "bad front address"},
        {{"--trade-front", "http://h:80", q}, "bad front address"},
        {{t, q, "--quotes", "0"}, "--quotes takes"},
        {{t, q, "--quotes", "101"}, "--quotes takes"},
        {{t, q, "--timeout", "-1"}, "--timeout takes"},
        {{t, q, "--timeout", "99999999999999999999"}, "--timeout takes"},
        {{t, q, "--investor", ""}, "investor id"},
        {{t, q, "--investor", "sixteen-chars-xx"}, "investor id"},
        {{t, q, "--password", std::string(21, 'p')}, "password"},
        {{t, q, "--firm", "elevenchars"}, "firm id"},
        {{t, q, "--instruments", ",,"}, "at least one instrument"},
        {{t, q, "--instruments", "a,sixteen-chars-xx"}, "longer than 15"},
        {{t, q, "--timeout"}, "needs a value"},
        {{t, q, "--what"}, "unknown option --what"},
        {{t, q, "stray"}, "unexpected argument stray"},
    };
    for (const Case& c : cases) {
        DemoOptions options;
        const auto parsed = Parse(c.args, options);
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        EXPECT_EQ(parsed.outcome, DemoOptionsParse::Outcome::Error) << joined;
        EXPECT_NE(parsed.message.find(c.reason), std::string::npos) << joined << "-> " << parsed.message;
    }
}

TEST(DisplayTextTest, GbkBecomesUtf8AndBrokenBytesStayVisible) {
    struct Case {
        std::string gbk;
        std::string utf8;
    };
    const Case cases[] = {
        {"", ""},
        {"Not supported", "Not supported"},
        // 已撤消
        {"\xd2\xd1\xb3\xb7\xcf\xfb", "\xe5\xb7\xb2\xe6\x92\xa4\xe6\xb6\x88"},
        // 部分成交 (2 lots)
        {"\xb2\xbf\xb7\xd6\xb3\xc9\xbd\xbb (2 lots)", "\xe9\x83\xa8\xe5\x88\x86\xe6\x88\x90\xe4\xba\xa4 (2 lots)"},
        // 密码 followed by a lead byte cut off at the end of the field
        {"\xc3\xdc\xc2\xeb\xb4", "\xe5\xaf\x86\xe7\xa0\x81\\xB4"},
        // a byte that starts no GBK character, between two that do: 已 \xFF 撤
        {"\xd2\xd1\xff\xb3\xb7", "\xe5\xb7\xb2\\xFF\xe6\x92\xa4"},
    };
    for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.gbk;
}

TEST(DisplayTextTest, FieldTextStopsAtTheFieldEnd) {
    char full[4];
    std::memcpy(full, "abcd", 4);  // no terminator: the text must not run past the field
    EXPECT_EQ(FieldText(full), "abcd");
    char shorter[8] = "ab";
    EXPECT_EQ(FieldText(shorter), "ab");
}

TEST(RecordTextTest, CodesReadAsWords) {
    struct Case {
        std::string (*describe)(char);
        char code;
        const char* word;
    };
    const Case cases[] = {
        {SideText, '0', "buy"},
        {SideText, '1', "sell"},
        {OffsetText, '0', "open"},
        {OffsetText, '1', "close"},
        {OffsetText, '3', "close today"},
        {OrderStatusText, '0', "filled"},
        {OrderStatusText, '1', "partly filled"},
        {OrderStatusText, '3', "queued"},
        {OrderStatusText, '5', "cancelled"},
        {OrderStatusText, 'a', "accepted"},
        {OrderStatusText, 'z', "code 0x7A"},
        {OrderStatusText, '\0', "code 0x00"},
        {PositionSideText, '2', "long"},
        {PositionSideText, '3', "short"},
        {PositionSideText, '0', "code 0x30"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.describe(c.code), c.word) << c.code;
}

TEST(RecordTextTest, PricesShowTheDecimalsTheyNeed) {
    EXPECT_EQ(PriceText(71230.0), "71230.0");
    EXPECT_EQ(PriceText(520.3), "520.3");
    EXPECT_EQ(PriceText(3920.25), "3920.25");
    EXPECT_EQ(PriceText(0.000023), "0.000023");
    EXPECT_EQ(PriceText(0.0), "0.0");
}

TEST(RecordTextTest, OrderLineCarriesTheConvertedStatusText) {
    NarvOrderRecord order{};
    std::strcpy(order.OrderRef, "2");
    std::strcpy(order.OrderSysID, "000000000002");
    std::strcpy(order.InstrumentID, "sc2602");
    order.BSFlag = '0';
    order.OCFlag = '0';
    order.Qty = 1;
    order.QtyLeft = 1;
    order.Price = 478.7;
    order.OrderStatus = '5';
    std::strcpy(order.OrderStatusDesc, "\xd2\xd1\xb3\xb7\xcf\xfb");  // 已撤消
    EXPECT_EQ(DescribeOrder(order),
              "order 2 [000000000002] buy open 1 sc2602 @ 478.7: cancelled, traded 0, left 1 "
              "(\xe5\xb7\xb2\xe6\x92\xa4\xe6\xb6\x88)");
}

}  // namespace
