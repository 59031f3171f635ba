// A query answer too large for one message: the simulator splits it over several packages, and the
// application sees every row once, in order, with the last flag on the final row only.
#include <cstdio>

#include "EndToEndSupport.h"

namespace {

using namespace e2e;

constexpr int kInstruments = 150;

std::string InstrumentName(int n) {
    char name[16];
    std::snprintf(name, sizeof name, "t%03d", n);
    return name;
}

SimConfig ManyInstruments() {
    SimConfig config = FastConfig();
    config.quoteRate = 20.0;  // nobody subscribes; the market need not move fast
    const char* exchanges[] = {"SHFE", "INE", "DCE"};
    config.instruments.clear();
    for (int n = 1; n <= kInstruments; ++n) {
        SimInstrument instrument;
        instrument.instrumentId = InstrumentName(n);
        instrument.exchangeId = exchanges[n % 3];
        instrument.preSettle = 1000.0 + n;
        config.instruments.push_back(instrument);
    }
    return config;
}

TEST(MultiPackageQuery, RowsSpanSeveralPackagesAndOnlyTheFinalOneIsLast) {
    CRunningSimulator simulator(ManyInstruments());
    CTraderSession trader(simulator.TradeFront());
    ASSERT_TRUE(trader.Events().WaitForConnects(1));
    ASSERT_EQ(trader.Login("demo", "demo123", 1).errorId, 0);

    auto sent = [&] { return simulator->Call([](CTradeService& s) { return s.MessagesSentTo("demo"); }); };
    const std::uint32_t sentBefore = sent();
    NarvInstrumentQueryRecord all{};
    ASSERT_EQ(trader.Api().ReqInstrumentQuery(&all, 2), 0);
    const auto rows = trader.Events().Answer(2);
    const std::uint32_t packages = sent() - sentBefore;
    EXPECT_GE(packages, 2u) << "the answer must not fit one message for this test to mean anything";

    ASSERT_EQ(rows.size(), static_cast<std::size_t>(kInstruments));
    for (int n = 0; n < kInstruments; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(rows[n].isLast, n + 1 == kInstruments);
        EXPECT_EQ(rows[n].errorId, 0);
        ASSERT_TRUE(rows[n].hasRecord);
        EXPECT_EQ(std::string(rows[n].As<NarvInstrumentRecord>().InstrumentID), InstrumentName(n + 1));
    }
}

}  // namespace
