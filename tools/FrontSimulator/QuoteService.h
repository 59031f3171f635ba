// The quote service of the simulated front: login, subscriptions and the quote push of every step.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FrameSession.h"
#include "MarketSimulator.h"
#include "QuoteWire.h"
#include "SimConfig.h"
#include "SimReplyCodes.h"
#include "TradingDesk.h"

class CQuoteService : public CFrameSession::Handler {
public:
    // Logins are checked against the same accounts as the trade service's.
    CQuoteService(const SimConfig& config, CMarketSimulator& market, const CTradingDesk& desk);

    void Adopt(const std::shared_ptr<CFrameSession>& session);
    void CloseAll();
    // Pushes the new quote of every instrument to the connections subscribed to it.
    void OnMarketStep();

    void OnMessage(CFrameSession& session, const std::uint8_t* message, std::uint32_t length) override;
    void OnClosed(CFrameSession& session) override;

    std::size_t SessionCount() const { return sessions_.size(); }

private:
    struct SessionState {
        std::shared_ptr<CFrameSession> connection;
        std::int64_t sessionId = 0;
        std::string investorId;  // empty while not logged in
        std::set<std::size_t> instruments;
    };

    void Reply(SessionState& s, std::uint32_t length) { s.connection->Send(buffer_.data(), length); }
    void SendQuote(SessionState& s, std::size_t instrument);

    const SimConfig& config_;
    CMarketSimulator& market_;
    const CTradingDesk& desk_;
    std::map<CFrameSession*, SessionState> sessions_;
    std::uint32_t nextSessionNumber_ = 1;
    std::array<std::uint8_t, kSimQuoteMessageMaxSize> buffer_{};
};
