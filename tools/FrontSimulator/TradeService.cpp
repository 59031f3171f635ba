#include "TradeService.h"

#include "NELOAccountRecords.h"
#include "NELOPushRecords.h"
#include "NELOSessionRecords.h"
#include "QuotRecordFill.h"
#include "SimText.h"

namespace {

// Flow kinds, carried in the RequestID of a flow message.
constexpr std::int32_t kOrderKind = 124;
constexpr std::int32_t kTradeKind = 130;
constexpr std::int32_t kPosiDetailKind = 156;
constexpr std::int32_t kFundKind = 157;
constexpr std::int32_t kPosiKind = 158;
constexpr std::int32_t kMarketStatusKind = 129;

constexpr std::uint16_t kAccountFlow = 1;
constexpr std::uint16_t kMarketFlow = 2;
constexpr std::uint16_t kFlowSubscribeReply = 4;

// Market status letter of continuous trading.
constexpr char kContinuousTrading = '2';
constexpr const char* kSystemName = "narv front simulator";

NELORspInfoRecord StatusOf(SimReply code) {
    NELORspInfoRecord info{};
    info.RspNo = static_cast<std::int16_t>(code);
    SimCopy(info.RspDesc, SimReplyDescription(code));
    return info;
}

void AddStatus(CAPIPackage& package, SimReply code) {
    const NELORspInfoRecord info = StatusOf(code);
    TZOAddRecord(package, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
}

// The list services whose rows the simulator never has: answered with an empty list.
// clang-format off
const NELOServiceBinding* const kNothingKeptServices[] = {
    &kNELOBulletinQueryService, &kNELONoticeQueryService, &kNELOFundIODetailQueryService,
    &kNELOReportQueryService, &kNELOHisBulletinQueryService, &kNELOHisNoticeQueryService,
    &kNELOAccountBindQueryService,
};
// clang-format on

// Dates of history keys arrive as the caller wrote them, with or without dashes.
std::string DateDigits(const std::string& date) {
    std::string digits;
    for (char c : date)
        if (c != '-') digits += c;
    return digits;
}

// Whether the simulator's only day lies within a history key's range; an empty bound is open.
bool DayWithin(const std::string& day, const std::string& from, const std::string& to) {
    const std::string d = DateDigits(day), f = DateDigits(from), t = DateDigits(to);
    return (f.empty() || f <= d) && (t.empty() || d <= t);
}

template <class Row>
std::vector<Row> WithinDay(const SimConfig& config, const std::string& from, const std::string& to,
                           std::vector<Row> rows) {
    if (!DayWithin(config.tradingDay, from, to)) rows.clear();
    return rows;
}

SimQueryFilter FilterOf(const NELOQueryKeyRecord& key) { return {SimText(key.InstrumentID), SimText(key.ExchangeID)}; }
SimQueryFilter FilterOf(const NELORateKeyRecord& key) { return {SimText(key.InstrumentID), SimText(key.ExchangeID)}; }

}  // namespace

// clang-format off
const CTradeService::Route CTradeService::kRoutes[] = {
    {3,   &CTradeService::OnFlowSubscribe,           true},
    {116, &CTradeService::OnLogin,                   false},
    {118, &CTradeService::OnLogout,                  true},
    {120, &CTradeService::OnChangePassword,          true},
    {122, &CTradeService::OnInputOrder,              true},
    {127, &CTradeService::OnOrderCancel,             true},
    {131, &CTradeService::OnQuotQuery,               true},
    {137, &CTradeService::OnOrderQuery,              true},
    {139, &CTradeService::OnTradeQuery,              true},
    {141, &CTradeService::OnPosiQuery,               true},
    {143, &CTradeService::OnFundQuery,               true},
    {145, &CTradeService::OnInstrumentQuery,         true},
    {147, &CTradeService::OnPosiDetailQuery,         true},
    {159, &CTradeService::OnInputOrder,              true},
    {161, &CTradeService::OnNothingKeptQuery,        true},
    {163, &CTradeService::OnNothingKeptQuery,        true},
    {170, &CTradeService::OnNothingKeptQuery,        true},
    {172, &CTradeService::OnNothingKeptQuery,        true},
    {174, &CTradeService::OnHisOrderQuery,           true},
    {176, &CTradeService::OnHisTradeQuery,           true},
    {178, &CTradeService::OnNothingKeptQuery,        true},
    {180, &CTradeService::OnNothingKeptQuery,        true},
    {198, &CTradeService::OnNothingKeptQuery,        true},
    {200, &CTradeService::OnHisFundQuery,            true},
    {202, &CTradeService::OnHisPosiDetailQuery,      true},
    {301, &CTradeService::OnProductQuery,            true},
    {303, &CTradeService::OnExchangeQuery,           true},
    {305, &CTradeService::OnFeeRateQuery,            true},
    {307, &CTradeService::OnInvestorMarginRateQuery, true},
    {309, &CTradeService::OnExchangeMarginRateQuery, true},
};
// clang-format on

CTradeService::CTradeService(const SimConfig& config, CMarketSimulator& market, CTradingDesk::Clock clock)
    : config_(config), market_(market), desk_(config, market, *this, std::move(clock)), reference_(config) {
    for (const auto& account : config.accounts) accountFlows_[account.investorId];
    AppendMarketStatus();
}

const CFlowJournal& CTradeService::AccountFlow(const std::string& investorId) { return accountFlows_[investorId]; }

std::uint32_t CTradeService::MessagesSentTo(const std::string& investorId) const {
    std::uint32_t sent = 0;
    for (const auto& [key, state] : sessions_)
        if (state.investorId == investorId) sent += state.connection->MessagesSent();
    return sent;
}

void CTradeService::Adopt(const std::shared_ptr<CFrameSession>& session) {
    SessionState state;
    state.connection = session;
    state.sessionId = SimSessionId(config_.frontId, nextSessionNumber_++);
    sessions_[session.get()] = state;
}

void CTradeService::CloseAll() {
    // Closing reports back through OnClosed, which edits the map.
    std::vector<std::shared_ptr<CFrameSession>> open;
    for (auto& [key, state] : sessions_) open.push_back(state.connection);
    for (auto& session : open) session->Close();
}

void CTradeService::OnClosed(CFrameSession& session) { sessions_.erase(&session); }

void CTradeService::OnMarketStep() {
    deferring_ = true;
    desk_.MatchWorkingOrders();
    deferring_ = false;
    DeliverDeferred();
}

void CTradeService::OnMessage(CFrameSession& session, const std::uint8_t* message, std::uint32_t length) {
    auto found = sessions_.find(&session);
    if (found == sessions_.end()) return;
    SessionState& state = found->second;
    CAPIPackage request;
    request.OpenReceived(message, length);
    if (request.ServiceNo == 0) return;  // the client's heartbeat
    for (const Route& route : kRoutes) {
        if (route.serviceNo != request.ServiceNo) continue;
        if (route.needsLogin && state.investorId.empty()) {
            SendStatus(state, static_cast<std::uint16_t>(request.ServiceNo + 1), request.RequestID,
                       SimReply::NotLoggedIn);
            return;
        }
        // Replies go out before the pushes the request causes, as a front does.
        deferring_ = true;
        (this->*route.handle)(state, request);
        deferring_ = false;
        DeliverDeferred();
        return;
    }
    // A service this front does not provide is refused, never ignored: the client would wait forever.
    if (request.ServiceNo < 0xFFFF)
        SendStatus(state, static_cast<std::uint16_t>(request.ServiceNo + 1), request.RequestID, SimReply::NotSupported);
}

void CTradeService::SendStatus(SessionState& s, std::uint16_t serviceNo, std::int32_t requestId, SimReply code) {
    AddStatus(builder_.Begin(serviceNo, requestId), code);
    s.connection->Send(builder_.Data(), builder_.Length());
}

template <class Row>
void CTradeService::SendList(SessionState& s, std::uint16_t serviceNo, std::int32_t requestId, std::uint16_t listId,
                             const TZORecordLayout& layout, const std::vector<Row>& rows) {
    std::size_t next = 0;
    do {
        CAPIPackage& package = builder_.Begin(serviceNo, requestId);
        AddStatus(package, SimReply::Ok);
        auto list = package.AddRecordSet(listId);
        const std::size_t first = next;
        while (next < rows.size() && TZOAddRecordToSet(*list, layout, &rows[next]) >= 0) ++next;
        // A row too large for an empty message cannot be sent at all; it is dropped, not looped on.
        if (next == first && next < rows.size()) ++next;
        builder_.Package().SetEndFlag(next < rows.size() ? 1 : 0);
        s.connection->Send(builder_.Data(), builder_.Length());
    } while (next < rows.size());
}

void CTradeService::OnLogin(SessionState& s, CAPIPackage& request) {
    NELOLoginReqRecord login{};
    TZOReadGroup(request, TZOField::LoginReq.id, kNELOLoginReqLayout, &login);
    const std::string investor = SimText(login.InvestorID);
    const SimReply verdict = desk_.CheckLogin(investor, SimText(login.InvestorPassword));
    CAPIPackage& reply = builder_.Begin(117, request.RequestID);
    AddStatus(reply, verdict);
    if (verdict == SimReply::Ok) {
        // A new login on this connection starts without flows until it subscribes them.
        s.investorId = investor;
        s.accountFlow = s.marketFlow = false;
        NELOLoginRspRecord granted{};
        SimCopy(granted.InvestorID, investor);
        SimCopy(granted.TradeDate, config_.tradingDay);
        SimCopy(granted.InvestorName, desk_.InvestorName(investor));
        SimCopy(granted.SysName, kSystemName);
        granted.SessionID = s.sessionId;
        TZOAddRecord(reply, TZOField::LoginRsp.id, kNELOLoginRspLayout, &granted);
    }
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnLogout(SessionState& s, CAPIPackage& request) {
    CAPIPackage& reply = builder_.Begin(119, request.RequestID);
    AddStatus(reply, SimReply::Ok);
    NELOInvestorRecord investor{};
    SimCopy(investor.InvestorID, s.investorId);
    TZOAddRecord(reply, TZOField::LogoutRsp.id, kNELOInvestorLayout, &investor);
    s.investorId.clear();
    s.accountFlow = s.marketFlow = false;
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnChangePassword(SessionState& s, CAPIPackage& request) {
    NELOChangePasswordRecord change{};
    TZOReadGroup(request, TZOField::ChangePasswordReq.id, kNELOChangePasswordLayout, &change);
    const std::string named = SimText(change.InvestorID);
    const SimReply verdict = !named.empty() && named != s.investorId
                                 ? SimReply::InvestorMismatch
                                 : desk_.ChangePassword(s.investorId, SimText(change.InvestorOldPassword),
                                                        SimText(change.InvestorNewPassword));
    CAPIPackage& reply = builder_.Begin(121, request.RequestID);
    AddStatus(reply, verdict);
    NELOInvestorRecord investor{};
    SimCopy(investor.InvestorID, s.investorId);
    TZOAddRecord(reply, TZOField::ChangePasswordRsp.id, kNELOInvestorLayout, &investor);
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnFlowSubscribe(SessionState& s, CAPIPackage& request) {
    struct Replay {
        const CFlowJournal* journal;
        std::uint32_t start;
        bool* subscribed;
    };
    std::vector<Replay> replays;
    std::vector<NELOFlowSubscribeRecord> answers;
    auto rows = request.GetRecordSet(TZOField::FlowSubscribeReqList.id);
    while (rows->NextRecord()) {
        NELOFlowSubscribeRecord row{};
        if (TZODecodeRecord(kNELOFlowSubscribeLayout, &row, rows->RecordData(), rows->RecordLength()) < 0) continue;
        if (row.FlowID != kAccountFlow && row.FlowID != kMarketFlow) continue;
        const CFlowJournal& journal = row.FlowID == kAccountFlow ? accountFlows_[s.investorId] : marketFlow_;
        const std::uint32_t start = journal.ReplayStart(row.PkgNo);
        replays.push_back({&journal, start, row.FlowID == kAccountFlow ? &s.accountFlow : &s.marketFlow});
        answers.push_back({row.FlowID, static_cast<std::int32_t>(start)});
    }
    CAPIPackage& reply = builder_.Begin(kFlowSubscribeReply, request.RequestID);
    AddStatus(reply, SimReply::Ok);
    auto list = reply.AddRecordSet(TZOField::FlowSubscribeRspList.id);
    for (const auto& answer : answers) TZOAddRecordToSet(*list, kNELOFlowSubscribeLayout, &answer);
    s.connection->Send(builder_.Data(), builder_.Length());
    // The reply sets the client's sequence to the start, so the replay that follows is accepted whole.
    for (const auto& replay : replays) {
        replay.journal->ForEachAfter(replay.start,
                                     [&](const SimFlowEntry& entry) { s.connection->Send(entry.message); });
        *replay.subscribed = true;
    }
}

void CTradeService::OnInputOrder(SessionState& s, CAPIPackage& request) {
    NELOInputOrderRecord order{};
    TZOReadGroup(request, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
    NELOOrderRecord accepted{};
    const SimReply verdict = desk_.EnterOrder(s.investorId, s.sessionId, order, &accepted);
    if (verdict == SimReply::Ok) {
        SimCopy(order.OrderID, SimText(accepted.OrderID));
        order.SessionID = accepted.SessionID;
    }
    CAPIPackage& reply = builder_.Begin(static_cast<std::uint16_t>(request.ServiceNo + 1), request.RequestID);
    AddStatus(reply, verdict);
    TZOAddRecord(reply, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnOrderCancel(SessionState& s, CAPIPackage& request) {
    NELOOrderCancelRecord cancel{};
    TZOReadGroup(request, TZOField::OrderCancelReq.id, kNELOOrderCancelLayout, &cancel);
    const SimReply verdict = desk_.CancelOrder(s.investorId, cancel);
    CAPIPackage& reply = builder_.Begin(128, request.RequestID);
    AddStatus(reply, verdict);
    TZOAddRecord(reply, TZOField::OrderCancelRsp.id, kNELOOrderCancelLayout, &cancel);
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnQuotQuery(SessionState& s, CAPIPackage& request) {
    NELOQueryKeyRecord key{};
    TZOReadGroup(request, TZOField::QuotQueryReq.id, kNELOQueryKeyLayout, &key);
    const SimQueryFilter filter = FilterOf(key);
    std::vector<NELOQuotRecord> rows;
    for (std::size_t i = 0; i < market_.InstrumentCount(); ++i) {
        const SimInstrument& contract = market_.Instrument(i);
        if ((!filter.instrumentId.empty() && filter.instrumentId != contract.instrumentId) ||
            (!filter.exchangeId.empty() && filter.exchangeId != contract.exchangeId))
            continue;
        rows.emplace_back();
        SimFillQuotRecord(market_.Snapshot(i), rows.back());
    }
    SendList(s, 132, request.RequestID, TZOField::QuotList.id, kNELOQuotLayout, rows);
}

void CTradeService::OnOrderQuery(SessionState& s, CAPIPackage& request) {
    NELOQueryKeyRecord key{};
    TZOReadGroup(request, TZOField::OrderQueryReq.id, kNELOQueryKeyLayout, &key);
    SendList(s, 138, request.RequestID, TZOField::OrderList.id, kNELOOrderLayout,
             desk_.Orders(s.investorId, FilterOf(key)));
}

void CTradeService::OnTradeQuery(SessionState& s, CAPIPackage& request) {
    NELOQueryKeyRecord key{};
    TZOReadGroup(request, TZOField::TradeQueryReq.id, kNELOQueryKeyLayout, &key);
    SendList(s, 140, request.RequestID, TZOField::TradeList.id, kNELOTradeLayout,
             desk_.Trades(s.investorId, FilterOf(key)));
}

void CTradeService::OnPosiQuery(SessionState& s, CAPIPackage& request) {
    NELOQueryKeyRecord key{};
    TZOReadGroup(request, TZOField::PosiQueryReq.id, kNELOQueryKeyLayout, &key);
    SendList(s, 142, request.RequestID, TZOField::PosiList.id, kNELOPosiLayout,
             desk_.Positions(s.investorId, FilterOf(key)));
}

void CTradeService::OnFundQuery(SessionState& s, CAPIPackage& request) {
    SendList(s, 144, request.RequestID, TZOField::FundList.id, kNELOFundLayout,
             std::vector<NELOFundRecord>{desk_.Fund(s.investorId)});
}

void CTradeService::OnInstrumentQuery(SessionState& s, CAPIPackage& request) {
    NELOQueryKeyRecord key{};
    TZOReadGroup(request, TZOField::InstrumentQueryReq.id, kNELOQueryKeyLayout, &key);
    SendList(s, 146, request.RequestID, TZOField::InstrumentList.id, kNELOInstrumentLayout,
             reference_.Instruments(FilterOf(key)));
}

void CTradeService::OnPosiDetailQuery(SessionState& s, CAPIPackage& request) {
    NELOQueryKeyRecord key{};
    TZOReadGroup(request, TZOField::PosiDetailQueryReq.id, kNELOQueryKeyLayout, &key);
    SendList(s, 148, request.RequestID, TZOField::PosiDetailList.id, kNELOPosiDetailLayout,
             desk_.PositionDetails(s.investorId, FilterOf(key)));
}

void CTradeService::OnProductQuery(SessionState& s, CAPIPackage& request) {
    NELOProductKeyRecord key{};
    TZOReadGroup(request, TZOField::ProductQueryReq.id, kNELOProductKeyLayout, &key);
    SendList(s, 302, request.RequestID, TZOField::ProductList.id, kNELOProductLayout,
             reference_.Products(SimText(key.ExchangeID), SimText(key.ProductID)));
}

void CTradeService::OnExchangeQuery(SessionState& s, CAPIPackage& request) {
    NELOExchangeKeyRecord key{};
    TZOReadGroup(request, TZOField::ExchangeQueryReq.id, kNELOExchangeKeyLayout, &key);
    SendList(s, 304, request.RequestID, TZOField::ExchangeList.id, kNELOExchangeLayout,
             reference_.Exchanges(SimText(key.ExchangeID)));
}

void CTradeService::OnFeeRateQuery(SessionState& s, CAPIPackage& request) {
    NELORateKeyRecord key{};
    TZOReadGroup(request, TZOField::InvestorFeeRateQueryReq.id, kNELORateKeyLayout, &key);
    SendList(s, 306, request.RequestID, TZOField::InvestorFeeRateList.id, kNELOFeeRateLayout,
             reference_.FeeRates(s.investorId, FilterOf(key)));
}

void CTradeService::OnInvestorMarginRateQuery(SessionState& s, CAPIPackage& request) {
    NELORateKeyRecord key{};
    TZOReadGroup(request, TZOField::InvestorMarginRateQueryReq.id, kNELORateKeyLayout, &key);
    SendList(s, 308, request.RequestID, TZOField::InvestorMarginRateList.id, kNELOInvestorMarginRateLayout,
             reference_.MarginRates(s.investorId, FilterOf(key)));
}

void CTradeService::OnExchangeMarginRateQuery(SessionState& s, CAPIPackage& request) {
    NELORateKeyRecord key{};
    TZOReadGroup(request, TZOField::ExchangeMarginRateQueryReq.id, kNELORateKeyLayout, &key);
    SendList(s, 310, request.RequestID, TZOField::ExchangeMarginRateList.id, kNELOExchangeMarginRateLayout,
             reference_.MarginRates("", FilterOf(key)));
}

void CTradeService::OnHisOrderQuery(SessionState& s, CAPIPackage& request) {
    NELOHisKeyRecord key{};
    TZOReadGroup(request, TZOField::HisOrderQueryReq.id, kNELOHisKeyLayout, &key);
    SendList(s, 175, request.RequestID, TZOField::OrderList.id, kNELOOrderLayout,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       desk_.Orders(s.investorId, {SimText(key.InstrumentID), ""})));
}

void CTradeService::OnHisTradeQuery(SessionState& s, CAPIPackage& request) {
    NELOHisKeyRecord key{};
    TZOReadGroup(request, TZOField::HisTradeQueryReq.id, kNELOHisKeyLayout, &key);
    SendList(s, 177, request.RequestID, TZOField::TradeList.id, kNELOTradeLayout,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       desk_.Trades(s.investorId, {SimText(key.InstrumentID), ""})));
}

void CTradeService::OnHisFundQuery(SessionState& s, CAPIPackage& request) {
    NELODateRangeKeyRecord key{};
    TZOReadGroup(request, TZOField::HisFundQueryReq.id, kNELODateRangeKeyLayout, &key);
    SendList(s, 201, request.RequestID, TZOField::FundList.id, kNELOFundLayout,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       std::vector<NELOFundRecord>{desk_.Fund(s.investorId)}));
}

void CTradeService::OnHisPosiDetailQuery(SessionState& s, CAPIPackage& request) {
    NELOHisPosiKeyRecord key{};
    TZOReadGroup(request, TZOField::HisPosiDetailQueryReq.id, kNELOHisPosiKeyLayout, &key);
    SendList(s, 203, request.RequestID, TZOField::PosiDetailList.id, kNELOPosiDetailLayout,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       desk_.PositionDetails(s.investorId, {SimText(key.InstrumentID), SimText(key.ExchangeID)})));
}

void CTradeService::OnNothingKeptQuery(SessionState& s, CAPIPackage& request) {
    for (const NELOServiceBinding* service : kNothingKeptServices) {
        if (service->requestServiceNo != request.ServiceNo) continue;
        CAPIPackage& reply = builder_.Begin(service->replyServiceNo, request.RequestID);
        AddStatus(reply, SimReply::Ok);
        reply.AddRecordSet(service->replyBody->id);
        s.connection->Send(builder_.Data(), builder_.Length());
        return;
    }
}

template <class Record>
void CTradeService::Push(const std::string& investorId, std::int32_t kind, std::uint16_t groupId,
                         const TZORecordLayout& layout, const Record& record) {
    CFlowJournal& journal = accountFlows_[investorId];
    const SimFlowEntry& entry = journal.Append(kind, [&](std::uint32_t sequence, std::vector<std::uint8_t>& message) {
        CAPIPackage& package = builder_.Begin(kAccountFlow, kind);
        package.SetEndFlag(static_cast<std::int32_t>(sequence));
        TZOAddRecord(package, groupId, layout, &record);
        message = builder_.Bytes();
    });
    deferred_.push_back({investorId, entry.sequence});
    if (!deferring_) DeliverDeferred();
}

void CTradeService::DeliverDeferred() {
    for (const auto& [investorId, sequence] : deferred_) {
        const SimFlowEntry& entry = accountFlows_[investorId].Entries()[sequence - 1];
        for (auto& [key, state] : sessions_)
            if (state.accountFlow && state.investorId == investorId) state.connection->Send(entry.message);
    }
    deferred_.clear();
}

void CTradeService::AppendMarketStatus() {
    std::vector<std::string> exchanges;
    for (const auto& contract : config_.instruments)
        if (std::find(exchanges.begin(), exchanges.end(), contract.exchangeId) == exchanges.end())
            exchanges.push_back(contract.exchangeId);
    for (const auto& exchange : exchanges) {
        NELOMarketStatusRecord status{};
        status.MarketStatus = kContinuousTrading;
        SimCopy(status.MarketStatusDesc, kSimContinuousTradingText);
        SimCopy(status.ExchangeID, exchange);
        marketFlow_.Append(kMarketStatusKind, [&](std::uint32_t sequence, std::vector<std::uint8_t>& message) {
            CAPIPackage& package = builder_.Begin(kMarketFlow, kMarketStatusKind);
            package.SetEndFlag(static_cast<std::int32_t>(sequence));
            TZOAddRecord(package, TZOField::MarketStatusNty.id, kNELOMarketStatusLayout, &status);
            message = builder_.Bytes();
        });
    }
}

void CTradeService::OnOrderChanged(const std::string& investorId, const NELOOrderRecord& order) {
    Push(investorId, kOrderKind, TZOField::Order.id, kNELOOrderLayout, order);
}

void CTradeService::OnTrade(const std::string& investorId, const NELOTradeRecord& trade) {
    Push(investorId, kTradeKind, TZOField::Trade.id, kNELOTradeLayout, trade);
}

void CTradeService::OnPositionChanged(const std::string& investorId, const NELOPosiRecord& position) {
    Push(investorId, kPosiKind, TZOField::Posi.id, kNELOPosiLayout, position);
}

void CTradeService::OnPositionDetailChanged(const std::string& investorId, const NELOPosiDetailRecord& detail) {
    Push(investorId, kPosiDetailKind, TZOField::PosiDetail.id, kNELOPosiDetailLayout, detail);
}

void CTradeService::OnFundChanged(const std::string& investorId, const NELOFundRecord& fund) {
    Push(investorId, kFundKind, TZOField::Fund.id, kNELOFundLayout, fund);
}
