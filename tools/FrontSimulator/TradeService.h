// The trade service of the simulated front: sessions (login, logout, password change), order entry and
// cancellation, the two push flows with replay, and every query of the service answered from the desk.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FlowJournal.h"
#include "FrameSession.h"
#include "MarketSimulator.h"
#include "MessageBuilder.h"
#include "NELOTradeCatalog.h"
#include "ReferenceData.h"
#include "SimConfig.h"
#include "TradingDesk.h"

class CTradeService : public CFrameSession::Handler, private ITradeEventSink {
public:
    CTradeService(const SimConfig& config, CMarketSimulator& market, CTradingDesk::Clock clock);

    // A new connection, already started by the caller.
    void Adopt(const std::shared_ptr<CFrameSession>& session);
    void CloseAll();
    // After each market step: working orders may now trade.
    void OnMarketStep();

    void OnMessage(CFrameSession& session, const std::uint8_t* message, std::uint32_t length) override;
    void OnClosed(CFrameSession& session) override;

    // Every request of the trade service is either answered or refused as not supported.
    static bool Answers(NELOTradeMessage request);
    static bool Refuses(NELOTradeMessage request);

    const CTradingDesk& Desk() const { return desk_; }
    // For inspection by tests.
    const CFlowJournal& AccountFlow(const std::string& investorId);
    const CFlowJournal& MarketFlow() const { return marketFlow_; }
    std::size_t SessionCount() const { return sessions_.size(); }
    // Messages sent so far on the open connections logged in as this investor, heartbeats not counted.
    std::uint32_t MessagesSentTo(const std::string& investorId) const;

private:
    struct SessionState {
        std::shared_ptr<CFrameSession> connection;
        std::int64_t sessionId = 0;
        std::string investorId;  // empty while not logged in
        bool accountFlow = false;
        bool marketFlow = false;
    };
    // A handler answers the request of its catalogue row `asked`, with the row that replies to it.
    using Handle = void (CTradeService::*)(SessionState&, CAPIPackage&, const NELOTradeMessageDef& asked);
    struct Route {
        NELOTradeMessage request;
        Handle handle;
        bool needsLogin;
    };
    static const Route kRoutes[];
    static const NELOTradeMessage kRefused[];

    void OnLogin(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnLogout(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnChangePassword(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnFlowSubscribe(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnInputOrder(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnOrderCancel(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnQuotQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnOrderQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnTradeQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnPosiQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnFundQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnInstrumentQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnPosiDetailQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnProductQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnExchangeQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnFeeRateQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnInvestorMarginRateQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnExchangeMarginRateQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnHisOrderQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnHisTradeQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnHisFundQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    void OnHisPosiDetailQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);
    // Bulletins, notices, transfers, reports and bank bindings: the simulator keeps none of them.
    void OnNothingKeptQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked);

    // A reply holding only the reply information.
    void SendStatus(SessionState& s, std::uint16_t serviceNo, std::int32_t requestId, SimReply code);
    // The list reply to `asked`, in as many messages as the rows need; all but the last carry EndFlag 1.
    template <class Row>
    void SendList(SessionState& s, const NELOTradeMessageDef& asked, std::int32_t requestId,
                  const std::vector<Row>& rows);
    template <class Record>
    void Push(const std::string& investorId, NELOTradePush kind, const Record& record);
    void AppendMarketStatus();
    void DeliverDeferred();

    void OnOrderChanged(const std::string& investorId, const NELOOrderRecord& order) override;
    void OnTrade(const std::string& investorId, const NELOTradeRecord& trade) override;
    void OnPositionChanged(const std::string& investorId, const NELOPosiRecord& position) override;
    void OnPositionDetailChanged(const std::string& investorId, const NELOPosiDetailRecord& detail) override;
    void OnFundChanged(const std::string& investorId, const NELOFundRecord& fund) override;

    const SimConfig& config_;
    CMarketSimulator& market_;
    CTradingDesk desk_;
    CReferenceData reference_;
    std::map<std::string, CFlowJournal> accountFlows_;
    CFlowJournal marketFlow_;
    std::map<CFrameSession*, SessionState> sessions_;
    std::uint32_t nextSessionNumber_ = 1;
    // Pushes made while a request is handled wait for its reply: (investor, sequence) in order.
    std::vector<std::pair<std::string, std::uint32_t>> deferred_;
    bool deferring_ = false;
    CMessageBuilder builder_;
};
