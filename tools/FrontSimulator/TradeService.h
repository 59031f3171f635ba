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
    using Handle = void (CTradeService::*)(SessionState&, CAPIPackage&);
    struct Route {
        std::uint16_t serviceNo;
        Handle handle;
        bool needsLogin;
    };
    static const Route kRoutes[];

    void OnLogin(SessionState& s, CAPIPackage& request);
    void OnLogout(SessionState& s, CAPIPackage& request);
    void OnChangePassword(SessionState& s, CAPIPackage& request);
    void OnFlowSubscribe(SessionState& s, CAPIPackage& request);
    void OnInputOrder(SessionState& s, CAPIPackage& request);
    void OnOrderCancel(SessionState& s, CAPIPackage& request);
    void OnQuotQuery(SessionState& s, CAPIPackage& request);
    void OnOrderQuery(SessionState& s, CAPIPackage& request);
    void OnTradeQuery(SessionState& s, CAPIPackage& request);
    void OnPosiQuery(SessionState& s, CAPIPackage& request);
    void OnFundQuery(SessionState& s, CAPIPackage& request);
    void OnInstrumentQuery(SessionState& s, CAPIPackage& request);
    void OnPosiDetailQuery(SessionState& s, CAPIPackage& request);
    void OnProductQuery(SessionState& s, CAPIPackage& request);
    void OnExchangeQuery(SessionState& s, CAPIPackage& request);
    void OnFeeRateQuery(SessionState& s, CAPIPackage& request);
    void OnInvestorMarginRateQuery(SessionState& s, CAPIPackage& request);
    void OnExchangeMarginRateQuery(SessionState& s, CAPIPackage& request);
    void OnHisOrderQuery(SessionState& s, CAPIPackage& request);
    void OnHisTradeQuery(SessionState& s, CAPIPackage& request);
    void OnHisFundQuery(SessionState& s, CAPIPackage& request);
    void OnHisPosiDetailQuery(SessionState& s, CAPIPackage& request);
    // Bulletins, notices, transfers, reports and bank bindings: the simulator keeps none of them.
    void OnNothingKeptQuery(SessionState& s, CAPIPackage& request);

    // A reply holding only the reply information.
    void SendStatus(SessionState& s, std::uint16_t serviceNo, std::int32_t requestId, SimReply code);
    // A list reply, in as many messages as the rows need; all but the last carry EndFlag 1.
    template <class Row>
    void SendList(SessionState& s, std::uint16_t serviceNo, std::int32_t requestId, std::uint16_t listId,
                  const TZORecordLayout& layout, const std::vector<Row>& rows);
    template <class Record>
    void Push(const std::string& investorId, std::int32_t kind, std::uint16_t groupId, const TZORecordLayout& layout,
              const Record& record);
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
