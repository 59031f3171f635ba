#include <gtest/gtest.h>

#include "MarketSimulator.h"

namespace {

std::vector<SimInstrument> TwoInstruments() {
    return {{"cu2601", "SHFE", 71230.0, 10.0, 5, 0.1, 0.00005}, {"au2602", "SHFE", 612.5, 0.02, 1000, 0.1, 0.0}};
}

TEST(MarketSimulator, SameSeedSameWalk) {
    CMarketSimulator a(TwoInstruments(), "2026-01-05", 7, 0.08), b(TwoInstruments(), "2026-01-05", 7, 0.08);
    CMarketSimulator c(TwoInstruments(), "2026-01-05", 8, 0.08);
    bool differs = false;
    for (int i = 0; i < 50; ++i) {
        a.Step("09:30:00");
        b.Step("09:30:00");
        c.Step("09:30:00");
        EXPECT_EQ(a.Snapshot(0).lastPrice, b.Snapshot(0).lastPrice);
        EXPECT_EQ(a.Snapshot(1).asks[3].qty, b.Snapshot(1).asks[3].qty);
        differs |= a.Snapshot(0).lastPrice != c.Snapshot(0).lastPrice;
    }
    EXPECT_TRUE(differs);
}

TEST(MarketSimulator, TenOrderedLevelsOnTheGridWithinTheLimits) {
    CMarketSimulator market(TwoInstruments(), "2026-01-05", 3, 0.08);
    for (int step = 0; step < 200; ++step) {
        market.Step("10:00:00");
        for (std::size_t i = 0; i < market.InstrumentCount(); ++i) {
            const SimDepthSnapshot& s = market.Snapshot(i);
            EXPECT_STREQ(s.updateTime, "10:00:00");
            EXPECT_LT(s.bids[0].price, s.asks[0].price);
            for (int level = 0; level < kSimDepthLevels; ++level) {
                EXPECT_TRUE(market.OnTickGrid(i, s.bids[level].price));
                EXPECT_TRUE(market.OnTickGrid(i, s.asks[level].price));
                EXPECT_GE(s.bids[level].price, s.lowLimit);
                EXPECT_LE(s.asks[level].price, s.highLimit);
                EXPECT_GT(s.bids[level].qty, 0);
                if (level > 0) {
                    EXPECT_LT(s.bids[level].price, s.bids[level - 1].price);
                    EXPECT_GT(s.asks[level].price, s.asks[level - 1].price);
                }
            }
            EXPECT_GE(s.highestPrice, s.lastPrice);
            EXPECT_LE(s.lowestPrice, s.lastPrice);
        }
    }
    EXPECT_DOUBLE_EQ(market.Snapshot(1).preSettle, 612.5);
}

TEST(MarketSimulator, TakenLiquidityIsGoneUntilTheNextStep) {
    CMarketSimulator market(TwoInstruments(), "2026-01-05", 3, 0.08);
    const std::int32_t resting = market.Snapshot(0).asks[0].qty;
    EXPECT_EQ(market.Take(0, true, 0, resting + 5), resting);
    EXPECT_EQ(market.Snapshot(0).asks[0].qty, 0);
    EXPECT_EQ(market.Take(0, true, 0, 1), 0);
    market.Step("10:00:01");
    EXPECT_GT(market.Snapshot(0).asks[0].qty, 0);
}

}  // namespace
