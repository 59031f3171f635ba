#include "MarketSimulator.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <std::size_t N>
void CopyText(char (&dest)[N], const std::string& text) {
    std::memset(dest, 0, N);
    std::memcpy(dest, text.data(), std::min(text.size(), N - 1));
}

// Levels hold between these quantities; the walk stays this many ticks inside the daily limits so that
// all ten levels always lie within them.
constexpr std::int32_t kMinLevelQty = 1;
constexpr std::int32_t kMaxLevelQty = 40;
constexpr std::int64_t kLimitMargin = kSimDepthLevels + 1;

}  // namespace

CMarketSimulator::CMarketSimulator(const std::vector<SimInstrument>& instruments, const std::string& tradingDay,
                                   std::uint32_t seed, double priceLimitRate)
    : random_(seed) {
    for (const auto& contract : instruments) {
        Book book;
        book.contract = contract;
        const std::int64_t settleTicks = std::llround(contract.preSettle / contract.tick);
        const std::int64_t limitTicks =
            std::max<std::int64_t>(kLimitMargin * 2, std::llround(contract.preSettle * priceLimitRate / contract.tick));
        book.lastTicks = settleTicks;
        book.lowLimitTicks = std::max<std::int64_t>(1, settleTicks - limitTicks);
        book.highLimitTicks = settleTicks + limitTicks;
        SimDepthSnapshot& s = book.snapshot;
        CopyText(s.instrumentId, contract.instrumentId);
        CopyText(s.exchangeId, contract.exchangeId);
        CopyText(s.tradingDay, tradingDay);
        CopyText(s.updateTime, "09:00:00");
        books_.push_back(book);
    }
    for (std::size_t i = 0; i < books_.size(); ++i) {
        Book& book = books_[i];
        SimDepthSnapshot& s = book.snapshot;
        s.preSettle = FromTicks(i, book.lastTicks);
        s.preClose = s.preSettle;
        s.openPrice = s.highestPrice = s.lowestPrice = s.lastPrice = s.preSettle;
        s.lowLimit = FromTicks(i, book.lowLimitTicks);
        s.highLimit = FromTicks(i, book.highLimitTicks);
        s.preOpenInterest = s.openInterest = 10000 + static_cast<std::int64_t>(random_() % 90000);
        Publish(book);
    }
}

int CMarketSimulator::Find(const std::string& instrumentId) const {
    for (std::size_t i = 0; i < books_.size(); ++i)
        if (books_[i].contract.instrumentId == instrumentId) return static_cast<int>(i);
    return -1;
}

std::int64_t CMarketSimulator::ToTicks(std::size_t index, double price) const {
    return std::llround(price / books_[index].contract.tick);
}

bool CMarketSimulator::OnTickGrid(std::size_t index, double price) const {
    const double ticks = price / books_[index].contract.tick;
    return std::fabs(ticks - std::round(ticks)) < 1e-6;
}

double CMarketSimulator::FromTicks(std::size_t index, std::int64_t ticks) const {
    // Rounded so that 0.02 * 30625 prints as 612.5, not 612.5000000000001.
    return std::round(static_cast<double>(ticks) * books_[index].contract.tick * 1e6) / 1e6;
}

void CMarketSimulator::Step(const char* clockTime) {
    std::uniform_int_distribution<int> move(-1, 1);
    std::uniform_int_distribution<std::int32_t> volume(1, 20);
    std::uniform_int_distribution<int> interest(-5, 5);
    for (std::size_t i = 0; i < books_.size(); ++i) {
        Book& book = books_[i];
        book.lastTicks = std::clamp<std::int64_t>(book.lastTicks + move(random_), book.lowLimitTicks + kLimitMargin,
                                                  book.highLimitTicks - kLimitMargin);
        SimDepthSnapshot& s = book.snapshot;
        std::memset(s.updateTime, 0, sizeof s.updateTime);
        std::strncpy(s.updateTime, clockTime, sizeof s.updateTime - 1);
        const std::int32_t qty = volume(random_);
        s.lastPrice = FromTicks(i, book.lastTicks);
        s.lastQty = qty;
        s.volume += qty;
        s.turnover += s.lastPrice * qty * book.contract.multiplier;
        s.openInterest = std::max<std::int64_t>(0, s.openInterest + interest(random_));
        s.highestPrice = std::max(s.highestPrice, s.lastPrice);
        s.lowestPrice = std::min(s.lowestPrice, s.lastPrice);
        Publish(book);
    }
}

void CMarketSimulator::Publish(Book& book) {
    const std::size_t index = static_cast<std::size_t>(&book - books_.data());
    std::uniform_int_distribution<std::int32_t> depth(kMinLevelQty, kMaxLevelQty);
    SimDepthSnapshot& s = book.snapshot;
    for (int level = 0; level < kSimDepthLevels; ++level) {
        s.bids[level].price = FromTicks(index, book.lastTicks - 1 - level);
        s.bids[level].qty = depth(random_);
        s.asks[level].price = FromTicks(index, book.lastTicks + 1 + level);
        s.asks[level].qty = depth(random_);
    }
    ++s.updateNo;
}

std::int32_t CMarketSimulator::Take(std::size_t index, bool fromAsks, int level, std::int32_t qty) {
    SimDepthLevel& slot = fromAsks ? books_[index].snapshot.asks[level] : books_[index].snapshot.bids[level];
    const std::int32_t taken = std::min(qty, slot.qty);
    slot.qty -= taken;
    return taken;
}

void CMarketSimulator::RecordTrade(std::size_t index, double price, std::int32_t qty) {
    SimDepthSnapshot& s = books_[index].snapshot;
    s.lastPrice = price;
    s.lastQty = qty;
    s.volume += qty;
    s.turnover += price * qty * books_[index].contract.multiplier;
    s.highestPrice = std::max(s.highestPrice, price);
    s.lowestPrice = std::min(s.lowestPrice, price);
}
