// The quote service of the simulated front: login, subscriptions and the quote push of every step.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "FrameSession.h"
#include "MarketSimulator.h"
#include "MessageBuilder.h"
#include "NELOQuotCatalog.h"
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

    // Every request of the quote service is either answered or refused as not supported.
    static bool Answers(quot::NELOQuotMessage request);
    static bool Refuses(quot::NELOQuotMessage request);

private:
    struct SessionState {
        std::shared_ptr<CFrameSession> connection;
        std::int64_t sessionId = 0;
        std::string investorId;  // empty while not logged in
        std::set<std::size_t> instruments;
    };

    // A handler answers the request of its catalogue row `asked`.
    using Handle = void (CQuoteService::*)(SessionState&, CAPIPackage&, const quot::NELOQuotMessageDef& asked);
    struct Route {
        quot::NELOQuotMessage request;
        Handle handle;
    };
    static const Route kRoutes[];
    static const quot::NELOQuotMessage kRefused[];

    void OnLogin(SessionState& s, CAPIPackage& request, const quot::NELOQuotMessageDef& asked);
    void OnLogout(SessionState& s, CAPIPackage& request, const quot::NELOQuotMessageDef& asked);
    void OnSubscription(SessionState& s, CAPIPackage& request, const quot::NELOQuotMessageDef& asked);

    // Sends the message just built.
    void Send(SessionState& s) { s.connection->Send(builder_.Data(), builder_.Length()); }
    // Builds the quote push of one instrument.
    void EncodeQuote(std::size_t instrument);
    void SendQuote(SessionState& s, std::size_t instrument);

    const SimConfig& config_;
    CMarketSimulator& market_;
    const CTradingDesk& desk_;
    std::map<CFrameSession*, SessionState> sessions_;
    std::uint32_t nextSessionNumber_ = 1;
    CMessageBuilder builder_;
};
