#include "QuoteService.h"

namespace {

SimReplyStatus StatusOf(SimReply code) { return {static_cast<std::int16_t>(code), SimReplyDescription(code)}; }

constexpr std::uint16_t kLoginReq = 116;
constexpr std::uint16_t kLogoutReq = 118;
constexpr std::uint16_t kSubscribeReq = 7;
constexpr std::uint16_t kUnSubscribeReq = 9;
constexpr const char* kSystemName = "narv front simulator";

}  // namespace

CQuoteService::CQuoteService(const SimConfig& config, CMarketSimulator& market, const CTradingDesk& desk)
    : config_(config), market_(market), desk_(desk) {}

void CQuoteService::Adopt(const std::shared_ptr<CFrameSession>& session) {
    SessionState state;
    state.connection = session;
    // Quote sessions are numbered apart from trade sessions: the high half tells the services apart.
    state.sessionId = SimSessionId(config_.frontId + 1, nextSessionNumber_++);
    sessions_[session.get()] = state;
}

void CQuoteService::CloseAll() {
    std::vector<std::shared_ptr<CFrameSession>> open;
    for (auto& [key, state] : sessions_) open.push_back(state.connection);
    for (auto& session : open) session->Close();
}

void CQuoteService::OnClosed(CFrameSession& session) { sessions_.erase(&session); }

void CQuoteService::SendQuote(SessionState& s, std::size_t instrument) {
    Reply(s, SimQuoteWireQuote(buffer_.data(), market_.Snapshot(instrument)));
}

void CQuoteService::OnMarketStep() {
    for (std::size_t i = 0; i < market_.InstrumentCount(); ++i) {
        bool encoded = false;
        std::uint32_t length = 0;
        for (auto& [key, state] : sessions_) {
            if (!state.instruments.count(i)) continue;
            if (!encoded) {
                length = SimQuoteWireQuote(buffer_.data(), market_.Snapshot(i));
                encoded = true;
            }
            state.connection->Send(buffer_.data(), length);
        }
    }
}

void CQuoteService::OnMessage(CFrameSession& session, const std::uint8_t* message, std::uint32_t length) {
    auto found = sessions_.find(&session);
    if (found == sessions_.end()) return;
    SessionState& s = found->second;
    SimQuoteRequest request;
    SimQuoteWireRead(message, length, request);
    const auto replyNo = static_cast<std::uint16_t>(request.serviceNo + 1);
    switch (request.serviceNo) {
        case 0:
            return;  // the client's heartbeat
        case kLoginReq: {
            const SimReply verdict = desk_.CheckLogin(request.investorId, request.password);
            if (verdict != SimReply::Ok) {
                Reply(s, SimQuoteWireLoginReply(buffer_.data(), request.requestId, StatusOf(verdict), nullptr));
                return;
            }
            s.investorId = request.investorId;
            s.instruments.clear();
            const SimLoginGrant grant{request.investorId, config_.tradingDay.c_str(),
                                      desk_.InvestorName(s.investorId).c_str(), kSystemName, s.sessionId};
            Reply(s, SimQuoteWireLoginReply(buffer_.data(), request.requestId, StatusOf(SimReply::Ok), &grant));
            return;
        }
        case kLogoutReq:
            Reply(s, SimQuoteWireLogoutReply(buffer_.data(), request.requestId, StatusOf(SimReply::Ok),
                                             s.investorId.c_str()));
            s.investorId.clear();
            s.instruments.clear();
            return;
        case kSubscribeReq:
        case kUnSubscribeReq: {
            const int instrument = market_.Find(request.instrumentId);
            const SimReply verdict = s.investorId.empty() ? SimReply::NotLoggedIn
                                     : instrument < 0     ? SimReply::UnknownInstrument
                                                          : SimReply::Ok;
            Reply(s, SimQuoteWireSubscriptionReply(buffer_.data(), replyNo, request.requestId, StatusOf(verdict),
                                                   request.instrumentId));
            if (verdict != SimReply::Ok) return;
            const auto index = static_cast<std::size_t>(instrument);
            if (request.serviceNo == kSubscribeReq) {
                s.instruments.insert(index);
                SendQuote(s, index);  // the current quote at once, not only at the next step
            } else {
                s.instruments.erase(index);
            }
            return;
        }
        default:
            // History queries and anything else this front does not provide.
            if (request.serviceNo < 0xFFFF)
                Reply(s, SimQuoteWireStatusReply(buffer_.data(), replyNo, request.requestId,
                                                 StatusOf(SimReply::NotSupported)));
            return;
    }
}
