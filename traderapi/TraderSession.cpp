#include "TraderSession.h"

#include <cstring>

#include "FacadeText.h"

namespace {
constexpr std::int32_t kResumeAfterLastSeen = 2;
}

TraderSessionFields CTraderSession::Fields() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return fields_;
}

void CTraderSession::BeginLogin(const char (&firmID)[11], const char (&investorID)[16]) {
    char newInvestor[16] = {};
    FacadeCopyText(newInvestor, investorID, 15);
    std::lock_guard<std::mutex> lock(mutex_);
    // The whole request field counts, not just the part that is kept.
    if (std::strncmp(investorID, fields_.investorID, sizeof(investorID)) != 0) {
        std::memset(fields_.tradingDay, 0, sizeof(fields_.tradingDay));
    }
    std::memset(fields_.firmID, 0, sizeof(fields_.firmID));
    FacadeCopyText(fields_.firmID, firmID, 10);
    std::memcpy(fields_.investorID, newInvestor, sizeof(newInvestor));
}

void CTraderSession::SetSessionNumbers(std::int32_t frontID, std::int32_t sessionID) {
    std::lock_guard<std::mutex> lock(mutex_);
    fields_.frontID = frontID;
    fields_.sessionID = sessionID;
}

TraderFlowSubscription CTraderSession::AcceptLogin(const char (&tradingDay)[9]) {
    std::lock_guard<std::mutex> lock(mutex_);
    TraderFlowSubscription subscription;
    if (flowResume_[0] != 0 || flowResume_[1] != 0) {
        subscription.subscribe = true;
        if (std::strncmp(tradingDay, fields_.tradingDay, sizeof(tradingDay)) == 0) {
            subscription.flow1Mode = kResumeAfterLastSeen;
            subscription.flow2Mode = kResumeAfterLastSeen;
        } else {
            subscription.flow1Mode = flowResume_[0];
            subscription.flow2Mode = flowResume_[1];
        }
    }
    std::memcpy(fields_.tradingDay, tradingDay, sizeof(tradingDay));
    fields_.tradingDay[sizeof(fields_.tradingDay) - 1] = '\0';
    return subscription;
}

void CTraderSession::SetFlowResume(int flow, std::int32_t mode) {
    std::lock_guard<std::mutex> lock(mutex_);
    flowResume_[flow == 1 ? 0 : 1] = mode;
}

void CTraderSession::SavePasswordChange(const NarvChangePasswordRecord& request) {
    std::lock_guard<std::mutex> lock(mutex_);
    savedPasswordChange_ = request;
}

NarvChangePasswordRecord CTraderSession::SavedPasswordChange() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return savedPasswordChange_;
}
