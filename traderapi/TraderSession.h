// The session fields of one trading API object: written by requests on application threads and by the
// login reply on the trade client's I/O thread, read by every conversion. One lock guards them all;
// readers take a copy and never hold the lock while calling out.
#pragma once

#include <cstdint>
#include <mutex>

#include "NarvSqelTraderApi.h"

struct TraderSessionFields {
    char investorID[16] = {};
    char firmID[11] = {};
    char tradingDay[9] = {};
    std::int32_t frontID = 0;
    std::int32_t sessionID = 0;
};

// What a successful login asks of the trade client's flow subscription.
struct TraderFlowSubscription {
    bool subscribe = false;
    std::int32_t flow1Mode = 0;
    std::int32_t flow2Mode = 0;
};

class CTraderSession final {
public:
    TraderSessionFields Fields() const;

    // A login request: a different investor forgets the trading day; the firm and the investor are
    // taken at once, before any reply.
    void BeginLogin(const char (&firmID)[11], const char (&investorID)[16]);
    // The login reply carried a session: its numbers are kept whatever the outcome.
    void SetSessionNumbers(std::int32_t frontID, std::int32_t sessionID);
    // A login accepted on `tradingDay`: the subscription to make (resume both flows on the same trading
    // day, else the configured modes, none when both are 0), and the trading day is stored.
    TraderFlowSubscription AcceptLogin(const char (&tradingDay)[9]);

    void SetFlowResume(int flow, std::int32_t mode);  // flow 1 or 2, mode as the trade client takes it

    void SavePasswordChange(const NarvChangePasswordRecord& request);
    NarvChangePasswordRecord SavedPasswordChange() const;

private:
    mutable std::mutex mutex_;
    TraderSessionFields fields_;
    std::int32_t flowResume_[2] = {0, 0};
    NarvChangePasswordRecord savedPasswordChange_{};
};
