// What the trade client remembers across packages: the callback object, the investor of the last
// successful login and the last seen sequence of each push flow. Everything except the callback object
// is read and written on the I/O thread only.
#pragma once

#include <atomic>
#include <cstdint>

#include "NELOSessionRecords.h"

class CNELOTradeSpi;

class CNELOTradeSession {
public:
    static constexpr int kFlowCount = 2;  // flows are numbered 1 and 2

    // Any thread; once cleared, no callback is made from the next package on.
    void SetSpi(CNELOTradeSpi* spi) { spi_.store(spi, std::memory_order_release); }
    CNELOTradeSpi* Spi() const { return spi_.load(std::memory_order_acquire); }

    std::uint32_t LastSeen(int flow) const;
    void SetLastSeen(int flow, std::uint32_t sequence);

    // A successful login as somebody else starts both flows afresh.
    void OnLoginAccepted(const char* investorID);
    const char* LoginInvestor() const { return loginInvestor_; }

    // Turns the two subscription modes into the rows to send and remembers each chosen start as the
    // flow's last seen sequence. Returns the number of rows written (0 to 2).
    int SubscriptionRows(std::int32_t flow1Mode, std::int32_t flow2Mode, NELOFlowSubscribeRecord (&rows)[kFlowCount]);

private:
    std::uint32_t StartFor(int flow, std::int32_t mode) const;

    std::atomic<CNELOTradeSpi*> spi_{nullptr};
    char loginInvestor_[16] = {};
    std::uint32_t lastSeen_[kFlowCount] = {};
};
