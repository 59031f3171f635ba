// One instrument's market as the simulator publishes it: the day's prices and ten levels on each side.
// Plain data of the simulator's own, so that both services can turn it into their own records.
#pragma once

#include <cstdint>

constexpr int kSimDepthLevels = 10;

struct SimDepthLevel {
    double price = 0.0;
    std::int32_t qty = 0;
};

struct SimDepthSnapshot {
    char instrumentId[16] = {};
    char exchangeId[9] = {};
    char tradingDay[11] = {};  // YYYY-MM-DD
    char updateTime[9] = {};   // HH:MM:SS
    std::uint64_t updateNo = 0;
    double lastPrice = 0.0;
    std::int32_t lastQty = 0;
    double openPrice = 0.0;
    double highestPrice = 0.0;
    double lowestPrice = 0.0;
    double highLimit = 0.0;
    double lowLimit = 0.0;
    double preSettle = 0.0;
    double preClose = 0.0;
    std::int64_t preOpenInterest = 0;
    std::int64_t openInterest = 0;
    std::int64_t volume = 0;
    double turnover = 0.0;
    SimDepthLevel bids[kSimDepthLevels];  // best first
    SimDepthLevel asks[kSimDepthLevels];  // best first
};
