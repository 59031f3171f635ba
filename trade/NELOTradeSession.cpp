#include "NELOTradeSession.h"

#include <cstring>

namespace {

// Indices are 0 and 1 whatever the caller passes: anything but flow 1 counts as flow 2, as the
// subscription reply does with its FlowIDs.
int FlowIndex(int flow) { return flow == 1 ? 0 : 1; }

enum : std::int32_t { kModeNone = 0, kModeFromStart = 1, kModeResume = 2 };
constexpr std::uint32_t kOnlyNewPushes = 0xFFFFFFFFu;

}  // namespace

std::uint32_t CNELOTradeSession::LastSeen(int flow) const { return lastSeen_[FlowIndex(flow)]; }

void CNELOTradeSession::SetLastSeen(int flow, std::uint32_t sequence) { lastSeen_[FlowIndex(flow)] = sequence; }

void CNELOTradeSession::OnLoginAccepted(const char* investorID) {
    char incoming[sizeof(loginInvestor_)] = {};
    std::strncpy(incoming, investorID, sizeof(incoming) - 1);
    if (std::strcmp(incoming, loginInvestor_) != 0) {
        lastSeen_[0] = 0;
        lastSeen_[1] = 0;
    }
    std::memcpy(loginInvestor_, incoming, sizeof(loginInvestor_));
}

std::uint32_t CNELOTradeSession::StartFor(int flow, std::int32_t mode) const {
    switch (mode) {
        case kModeFromStart:
            return 0;
        case kModeResume:
            return LastSeen(flow);
        default:
            return kOnlyNewPushes;
    }
}

int CNELOTradeSession::SubscriptionRows(std::int32_t flow1Mode, std::int32_t flow2Mode,
                                        NELOFlowSubscribeRecord (&rows)[kFlowCount]) {
    const std::int32_t modes[kFlowCount] = {flow1Mode, flow2Mode};
    int count = 0;
    for (int flow = 1; flow <= kFlowCount; ++flow) {
        const std::int32_t mode = modes[flow - 1];
        if (mode == kModeNone) continue;
        const std::uint32_t start = StartFor(flow, mode);
        SetLastSeen(flow, start);
        rows[count].FlowID = flow;
        rows[count].PkgNo = static_cast<std::int32_t>(start);
        ++count;
    }
    return count;
}
