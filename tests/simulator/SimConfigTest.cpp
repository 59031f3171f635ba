#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "SimConfig.h"
#include "SimReplyCodes.h"

namespace {

TEST(SimConfigDefaults, DemoInvestorAndFuturesOnSeveralExchanges) {
    const SimConfig config = DefaultSimConfig();
    ASSERT_EQ(config.accounts.size(), 1u);
    EXPECT_FALSE(config.accounts[0].password.empty());
    EXPECT_DOUBLE_EQ(config.accounts[0].funds, 1000000.0);
    bool shfe = false, ine = false;
    for (const auto& instrument : config.instruments) {
        shfe |= instrument.exchangeId == "SHFE";
        ine |= instrument.exchangeId == "INE";
    }
    EXPECT_TRUE(shfe);
    EXPECT_TRUE(ine);
    EXPECT_EQ(config.tradingDay.size(), 10u);
}

struct EntryCase {
    const char* text;
    bool valid;
};

TEST(SimConfigEntries, Accounts) {
    const EntryCase cases[] = {
        {"alice:pw:5000", true},
        {"alice:pw:5000:Alice Li", true},
        {"alice:pw", false},
        {"alice:pw:-1", false},
        {"alice:pw:lots", false},
        {":pw:100", false},
        {"a-very-long-investor-id:pw:1", false},
    };
    for (const auto& c : cases) {
        SimAccount account;
        EXPECT_EQ(ParseSimAccount(c.text, account), c.valid) << c.text;
    }
    SimAccount account;
    ASSERT_TRUE(ParseSimAccount("alice:pw:5000", account));
    EXPECT_EQ(account.name, "alice");
}

TEST(SimConfigEntries, Instruments) {
    const EntryCase cases[] = {
        {"rb2605:SHFE:3500", true},
        {"au2602:SHFE:612.5:0.02:1000:0.1:0.00002", true},
        {"au2602:SHFE:612.51:0.02", false},  // off the tick grid
        {"rb2605:SHFE", false},
        {"rb2605:SHFE:0", false},
        {"rb2605:SHFE:3500:1:0", false},
        {"rb2605:SHFE:3500:1:10:1.5", false},
        {"rb2605:AVERYLONGEXCHANGE:3500", false},
    };
    for (const auto& c : cases) {
        SimInstrument instrument;
        EXPECT_EQ(ParseSimInstrument(c.text, instrument), c.valid) << c.text;
    }
}

SimConfigParse Parse(std::vector<const char*> args, SimConfig& config) {
    args.insert(args.begin(), "narv_front_simulator");
    return ParseSimCommandLine(static_cast<int>(args.size()), args.data(), config);
}

TEST(SimCommandLine, HelpErrorsAndValues) {
    SimConfig config;
    EXPECT_EQ(Parse({"--help"}, config).result, SimConfigParse::Result::Help);
    EXPECT_EQ(Parse({"--no-such-flag"}, config).result, SimConfigParse::Result::Error);
    EXPECT_EQ(Parse({"--trading-day", "20260105"}, config).result, SimConfigParse::Result::Error);
    EXPECT_EQ(Parse({"--quote-rate", "0"}, config).result, SimConfigParse::Result::Error);
    EXPECT_EQ(Parse({"--account", "x"}, config).result, SimConfigParse::Result::Error);
    EXPECT_EQ(Parse({"--account", "a:p:1", "--account", "a:q:2"}, config).result, SimConfigParse::Result::Error);

    config = SimConfig{};
    const auto parsed =
        Parse({"--trade-port", "7001", "--seed", "9", "--account", "bob:secret:250000", "--instrument",
               "rb2605:SHFE:3500", "--close-after", "5", "--fault-services", "trade", "--trading-day", "2026-01-05"},
              config);
    ASSERT_EQ(parsed.result, SimConfigParse::Result::Run) << parsed.message;
    EXPECT_EQ(config.tradePort, 7001);
    EXPECT_EQ(config.quotePort, 0);
    EXPECT_EQ(config.seed, 9u);
    ASSERT_EQ(config.accounts.size(), 1u);
    EXPECT_EQ(config.accounts[0].investorId, "bob");
    ASSERT_EQ(config.instruments.size(), 1u);
    EXPECT_EQ(config.faults.closeAfter, 5u);
    EXPECT_TRUE(config.faults.trade);
    EXPECT_FALSE(config.faults.quote);
    EXPECT_EQ(config.tradingDay, "2026-01-05");
}

TEST(SimCommandLine, ReadsKeyValueFile) {
    const std::string path = testing::TempDir() + "sim-config-test.conf";
    {
        std::ofstream file(path);
        file << "# a small market\nseed=42\naccount=carol:pw:1000\naccount=dave:pw:2000\n"
                "instrument=sc2602:INE:520.3:0.1:1000\nquote-rate=10\n";
    }
    SimConfig config;
    const auto parsed = Parse({"--config", path.c_str()}, config);
    ASSERT_EQ(parsed.result, SimConfigParse::Result::Run) << parsed.message;
    EXPECT_EQ(config.seed, 42u);
    EXPECT_EQ(config.accounts.size(), 2u);
    ASSERT_EQ(config.instruments.size(), 1u);
    EXPECT_EQ(config.instruments[0].exchangeId, "INE");
    EXPECT_DOUBLE_EQ(config.quoteRate, 10.0);
    std::remove(path.c_str());

    SimConfig missing;
    EXPECT_EQ(Parse({"--config", "/nonexistent/sim.conf"}, missing).result, SimConfigParse::Result::Error);
}

// The texts must be exactly what iconv makes of the readable text.
std::string ToGbk(const std::string& utf8) {
    const std::string command = "printf '%s' '" + utf8 + "' | iconv -f UTF-8 -t GBK";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

TEST(SimReplyTexts, AreTheGbkOfTheirReadableText) {
    const std::pair<SimReply, const char*> readable[] = {
        {SimReply::Ok, "成功"},
        {SimReply::UnknownInvestor, "投资者不存在"},
        {SimReply::WrongPassword, "密码错误"},
        {SimReply::NotLoggedIn, "未登录"},
        {SimReply::WrongOldPassword, "原密码错误"},
        {SimReply::BadNewPassword, "新密码无效"},
        {SimReply::UnknownInstrument, "合约不存在"},
        {SimReply::InvestorMismatch, "投资者代码不符"},
        {SimReply::WrongExchange, "交易所代码错误"},
        {SimReply::BadQuantity, "委托数量错误"},
        {SimReply::BadPrice, "委托价格错误"},
        {SimReply::BadOrderFlags, "委托参数错误"},
        {SimReply::InsufficientFunds, "可用资金不足"},
        {SimReply::InsufficientPosition, "可平仓位不足"},
        {SimReply::OrderNotFound, "报单不存在"},
        {SimReply::OrderFinished, "报单已完成"},
        {SimReply::DuplicateOrderRef, "报单引用重复"},
        {SimReply::NotSupported, "不支持"},
    };
    ASSERT_EQ(std::size(readable), std::size(kSimReplyTexts));
    for (const auto& [code, text] : readable) EXPECT_EQ(SimReplyDescription(code), ToGbk(text)) << text;
    EXPECT_EQ(std::string(kSimContinuousTradingText), ToGbk("连续交易"));
}

}  // namespace
