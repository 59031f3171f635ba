// The texts GetTradingDay hands out. The application keeps the pointer it got and may read it on any
// thread while a later login reply, on the I/O thread, brings another trading day: so a text once handed
// out never changes, and a new day gets a text of its own. One entry per trading day seen by the object.
//
// Thread safety: TextFor may be called on any thread at once; the texts it returns are never written
// again while the object lives.
#pragma once

#include <array>
#include <deque>
#include <mutex>

class CFacadeTradingDayTexts final {
public:
    // The unchanging text equal to `tradingDay` (eight digits or empty).
    [[nodiscard]] const char* TextFor(const char (&tradingDay)[9]);

private:
    std::mutex mutex_;
    std::deque<std::array<char, 9>> texts_;  // a deque never moves its entries
};
