// The simulated market: every instrument's last price takes a seeded random walk, one tick at a time,
// and ten levels of resting liquidity surround it on both sides. Orders of the simulated investors trade
// against that liquidity; what they take is gone until the next step redraws the book.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "DepthSnapshot.h"
#include "SimConfig.h"

class CMarketSimulator {
public:
    CMarketSimulator(const std::vector<SimInstrument>& instruments, const std::string& tradingDay, std::uint32_t seed,
                     double priceLimitRate);

    // Moves every instrument one step; `clockTime` (HH:MM:SS) stamps the new quotes.
    void Step(const char* clockTime);

    std::size_t InstrumentCount() const { return books_.size(); }
    const SimInstrument& Instrument(std::size_t index) const { return books_[index].contract; }
    // Index of an instrument, or -1.
    int Find(const std::string& instrumentId) const;
    const SimDepthSnapshot& Snapshot(std::size_t index) const { return books_[index].snapshot; }

    // Price grid and daily limits in ticks, for validation and matching.
    std::int64_t ToTicks(std::size_t index, double price) const;
    bool OnTickGrid(std::size_t index, double price) const;
    double FromTicks(std::size_t index, std::int64_t ticks) const;

    // Takes up to `qty` from the level of the given side (asks serve buyers); returns what was taken.
    std::int32_t Take(std::size_t index, bool fromAsks, int level, std::int32_t qty);
    // Records a trade of the simulated investors in the day's statistics.
    void RecordTrade(std::size_t index, double price, std::int32_t qty);

private:
    struct Book {
        SimInstrument contract;
        std::int64_t lastTicks = 0;
        std::int64_t lowLimitTicks = 0;
        std::int64_t highLimitTicks = 0;
        SimDepthSnapshot snapshot;
    };

    void Publish(Book& book);

    std::vector<Book> books_;
    std::mt19937 random_;
};
