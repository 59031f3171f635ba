#include "TradeService.h"

#include <algorithm>
#include <iterator>

#include "NELOAccountRecords.h"
#include "NELOPushRecords.h"
#include "NELOSessionRecords.h"
#include "NELOTradeCatalog.h"
#include "QuotRecordFill.h"
#include "SimText.h"

namespace {

using M = NELOTradeMessage;
using P = NELOTradePush;

// The flows a subscription row may name.
const std::uint16_t kAccountFlow = NELOTradeMessageOf(M::AccountFlow).serviceNo;
const std::uint16_t kMarketFlow = NELOTradeMessageOf(M::MarketFlow).serviceNo;

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

const NELOTradeMessageDef& ReplyTo(const NELOTradeMessageDef& asked) { return *NELOTradeReplyTo(asked); }

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

// Bulletins, notices, transfers, reports and bank bindings: the simulator keeps none of them and answers
// with empty lists.
// clang-format off
const CTradeService::Route CTradeService::kRoutes[] = {
    {M::FlowSubscribe,          &CTradeService::OnFlowSubscribe,           true},
    {M::Login,                  &CTradeService::OnLogin,                   false},
    {M::Logout,                 &CTradeService::OnLogout,                  true},
    {M::ChangePassword,         &CTradeService::OnChangePassword,          true},
    {M::InputOrder,             &CTradeService::OnInputOrder,              true},
    {M::OrderCancel,            &CTradeService::OnOrderCancel,             true},
    {M::QuotQuery,              &CTradeService::OnQuotQuery,               true},
    {M::OrderQuery,             &CTradeService::OnOrderQuery,              true},
    {M::TradeQuery,             &CTradeService::OnTradeQuery,              true},
    {M::PosiQuery,              &CTradeService::OnPosiQuery,               true},
    {M::FundQuery,              &CTradeService::OnFundQuery,               true},
    {M::InstrumentQuery,        &CTradeService::OnInstrumentQuery,         true},
    {M::PosiDetailQuery,        &CTradeService::OnPosiDetailQuery,         true},
    {M::InputOrderEx,           &CTradeService::OnInputOrder,              true},
    {M::BulletinQuery,          &CTradeService::OnNothingKeptQuery,        true},
    {M::NoticeQuery,            &CTradeService::OnNothingKeptQuery,        true},
    {M::FundIODetailQuery,      &CTradeService::OnNothingKeptQuery,        true},
    {M::ReportQuery,            &CTradeService::OnNothingKeptQuery,        true},
    {M::HisOrderQuery,          &CTradeService::OnHisOrderQuery,           true},
    {M::HisTradeQuery,          &CTradeService::OnHisTradeQuery,           true},
    {M::HisBulletinQuery,       &CTradeService::OnNothingKeptQuery,        true},
    {M::HisNoticeQuery,         &CTradeService::OnNothingKeptQuery,        true},
    {M::AccountBindQuery,       &CTradeService::OnNothingKeptQuery,        true},
    {M::HisFundQuery,           &CTradeService::OnHisFundQuery,            true},
    {M::HisPosiDetailQuery,     &CTradeService::OnHisPosiDetailQuery,      true},
    {M::ProductQuery,           &CTradeService::OnProductQuery,            true},
    {M::ExchangeQuery,          &CTradeService::OnExchangeQuery,           true},
    {M::InvestorFeeRateQuery,   &CTradeService::OnFeeRateQuery,            true},
    {M::InvestorMarginRateQuery,&CTradeService::OnInvestorMarginRateQuery, true},
    {M::ExchangeMarginRateQuery,&CTradeService::OnExchangeMarginRateQuery, true},
};
// clang-format on

// Profit/loss stops, fund transfers and bank bindings change nothing the simulator models: they are refused
// as not supported, which the client reports like any refusal.
const NELOTradeMessage CTradeService::kRefused[] = {M::ProfitLossStopSet, M::ElectronicFundIO, M::AccountBind};

bool CTradeService::Answers(NELOTradeMessage request) {
    return std::any_of(std::begin(kRoutes), std::end(kRoutes), [&](const Route& r) { return r.request == request; });
}

bool CTradeService::Refuses(NELOTradeMessage request) {
    return std::find(std::begin(kRefused), std::end(kRefused), request) != std::end(kRefused);
}

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
        const NELOTradeMessageDef& asked = NELOTradeMessageOf(route.request);
        if (asked.serviceNo != request.ServiceNo) continue;
        if (route.needsLogin && state.investorId.empty()) {
            SendStatus(state, ReplyTo(asked).serviceNo, request.RequestID, SimReply::NotLoggedIn);
            return;
        }
        // Replies go out before the pushes the request causes, as a front does.
        deferring_ = true;
        (this->*route.handle)(state, request, asked);
        deferring_ = false;
        DeliverDeferred();
        return;
    }
    // A service this front does not provide is refused, never ignored: the client would wait forever.
    if (request.ServiceNo < 0xFFFF)
        SendStatus(state, NELOReplyServiceNo(static_cast<std::uint16_t>(request.ServiceNo)), request.RequestID,
                   SimReply::NotSupported);
}

void CTradeService::SendStatus(SessionState& s, std::uint16_t serviceNo, std::int32_t requestId, SimReply code) {
    AddStatus(builder_.Begin(serviceNo, requestId), code);
    s.connection->Send(builder_.Data(), builder_.Length());
}

template <class Row>
void CTradeService::SendList(SessionState& s, const NELOTradeMessageDef& asked, std::int32_t requestId,
                             const std::vector<Row>& rows) {
    const NELOTradeMessageDef& reply = ReplyTo(asked);
    const TZORecordLayout& layout = *reply.body.record->layout;
    std::size_t next = 0;
    do {
        CAPIPackage& package = builder_.Begin(reply.serviceNo, requestId);
        AddStatus(package, SimReply::Ok);
        auto list = package.AddRecordSet(reply.body.field->id);
        const std::size_t first = next;
        while (next < rows.size() && TZOAddRecordToSet(*list, layout, &rows[next]) >= 0) ++next;
        // A row too large for an empty message cannot be sent at all; it is dropped, not looped on.
        if (next == first && next < rows.size()) ++next;
        builder_.Package().SetEndFlag(next < rows.size() ? 1 : 0);
        s.connection->Send(builder_.Data(), builder_.Length());
    } while (next < rows.size());
}

void CTradeService::OnLogin(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOLoginReqRecord login = RequestRecord<NELOLoginReqRecord>(request, asked);
    const std::string investor = SimText(login.InvestorID);
    const SimReply verdict = desk_.CheckLogin(investor, SimText(login.InvestorPassword));
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
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
        AddBody(reply, answer.body, granted);
    }
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnLogout(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, SimReply::Ok);
    NELOInvestorRecord investor{};
    SimCopy(investor.InvestorID, s.investorId);
    AddBody(reply, answer.body, investor);
    s.investorId.clear();
    s.accountFlow = s.marketFlow = false;
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnChangePassword(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOChangePasswordRecord change = RequestRecord<NELOChangePasswordRecord>(request, asked);
    const std::string named = SimText(change.InvestorID);
    const SimReply verdict = !named.empty() && named != s.investorId
                                 ? SimReply::InvestorMismatch
                                 : desk_.ChangePassword(s.investorId, SimText(change.InvestorOldPassword),
                                                        SimText(change.InvestorNewPassword));
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, verdict);
    NELOInvestorRecord investor{};
    SimCopy(investor.InvestorID, s.investorId);
    AddBody(reply, answer.body, investor);
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnFlowSubscribe(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    struct Replay {
        const CFlowJournal* journal;
        std::uint32_t start;
        bool* subscribed;
    };
    std::vector<Replay> replays;
    std::vector<NELOFlowSubscribeRecord> answers;
    const TZORecordLayout& rowLayout = *asked.body.record->layout;
    auto rows = request.GetRecordSet(asked.body.field->id);
    while (rows->NextRecord()) {
        NELOFlowSubscribeRecord row{};
        if (TZODecodeRecord(rowLayout, &row, rows->RecordData(), rows->RecordLength()) != 0) continue;
        if (row.FlowID != kAccountFlow && row.FlowID != kMarketFlow) continue;
        const CFlowJournal& journal = row.FlowID == kAccountFlow ? accountFlows_[s.investorId] : marketFlow_;
        const std::uint32_t start = journal.ReplayStart(row.PkgNo);
        replays.push_back({&journal, start, row.FlowID == kAccountFlow ? &s.accountFlow : &s.marketFlow});
        answers.push_back({row.FlowID, static_cast<std::int32_t>(start)});
    }
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, SimReply::Ok);
    auto list = reply.AddRecordSet(answer.body.field->id);
    for (const auto& started : answers) TZOAddRecordToSet(*list, *answer.body.record->layout, &started);
    s.connection->Send(builder_.Data(), builder_.Length());
    // The reply sets the client's sequence to the start, so the replay that follows is accepted whole.
    for (const auto& replay : replays) {
        replay.journal->ForEachAfter(replay.start,
                                     [&](const SimFlowEntry& entry) { s.connection->Send(entry.message); });
        *replay.subscribed = true;
    }
}

void CTradeService::OnInputOrder(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOInputOrderRecord order = RequestRecord<NELOInputOrderRecord>(request, asked);
    NELOOrderRecord accepted{};
    const SimReply verdict = desk_.EnterOrder(s.investorId, s.sessionId, order, &accepted);
    if (verdict == SimReply::Ok) {
        SimCopy(order.OrderID, SimText(accepted.OrderID));
        order.SessionID = accepted.SessionID;
    }
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, verdict);
    AddBody(reply, answer.body, order);
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnOrderCancel(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOOrderCancelRecord cancel = RequestRecord<NELOOrderCancelRecord>(request, asked);
    const SimReply verdict = desk_.CancelOrder(s.investorId, cancel);
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, verdict);
    AddBody(reply, answer.body, cancel);
    s.connection->Send(builder_.Data(), builder_.Length());
}

void CTradeService::OnQuotQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOQueryKeyRecord key = RequestRecord<NELOQueryKeyRecord>(request, asked);
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
    SendList(s, asked, request.RequestID, rows);
}

void CTradeService::OnOrderQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOQueryKeyRecord key = RequestRecord<NELOQueryKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, desk_.Orders(s.investorId, FilterOf(key)));
}

void CTradeService::OnTradeQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOQueryKeyRecord key = RequestRecord<NELOQueryKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, desk_.Trades(s.investorId, FilterOf(key)));
}

void CTradeService::OnPosiQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOQueryKeyRecord key = RequestRecord<NELOQueryKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, desk_.Positions(s.investorId, FilterOf(key)));
}

void CTradeService::OnFundQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    SendList(s, asked, request.RequestID, std::vector<NELOFundRecord>{desk_.Fund(s.investorId)});
}

void CTradeService::OnInstrumentQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOQueryKeyRecord key = RequestRecord<NELOQueryKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, reference_.Instruments(FilterOf(key)));
}

void CTradeService::OnPosiDetailQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOQueryKeyRecord key = RequestRecord<NELOQueryKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, desk_.PositionDetails(s.investorId, FilterOf(key)));
}

void CTradeService::OnProductQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOProductKeyRecord key = RequestRecord<NELOProductKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, reference_.Products(SimText(key.ExchangeID), SimText(key.ProductID)));
}

void CTradeService::OnExchangeQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOExchangeKeyRecord key = RequestRecord<NELOExchangeKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, reference_.Exchanges(SimText(key.ExchangeID)));
}

void CTradeService::OnFeeRateQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELORateKeyRecord key = RequestRecord<NELORateKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, reference_.FeeRates(s.investorId, FilterOf(key)));
}

void CTradeService::OnInvestorMarginRateQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELORateKeyRecord key = RequestRecord<NELORateKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, reference_.MarginRates(s.investorId, FilterOf(key)));
}

void CTradeService::OnExchangeMarginRateQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELORateKeyRecord key = RequestRecord<NELORateKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID, reference_.MarginRates("", FilterOf(key)));
}

void CTradeService::OnHisOrderQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOHisKeyRecord key = RequestRecord<NELOHisKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       desk_.Orders(s.investorId, {SimText(key.InstrumentID), ""})));
}

void CTradeService::OnHisTradeQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOHisKeyRecord key = RequestRecord<NELOHisKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       desk_.Trades(s.investorId, {SimText(key.InstrumentID), ""})));
}

void CTradeService::OnHisFundQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELODateRangeKeyRecord key = RequestRecord<NELODateRangeKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       std::vector<NELOFundRecord>{desk_.Fund(s.investorId)}));
}

void CTradeService::OnHisPosiDetailQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    NELOHisPosiKeyRecord key = RequestRecord<NELOHisPosiKeyRecord>(request, asked);
    SendList(s, asked, request.RequestID,
             WithinDay(config_, SimText(key.DateFrom), SimText(key.DateTo),
                       desk_.PositionDetails(s.investorId, {SimText(key.InstrumentID), SimText(key.ExchangeID)})));
}

void CTradeService::OnNothingKeptQuery(SessionState& s, CAPIPackage& request, const NELOTradeMessageDef& asked) {
    const NELOTradeMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, SimReply::Ok);
    reply.AddRecordSet(answer.body.field->id);
    s.connection->Send(builder_.Data(), builder_.Length());
}

template <class Record>
void CTradeService::Push(const std::string& investorId, NELOTradePush kind, const Record& record) {
    const NELOTradePushDef& push = NELOTradePushOf(kind);
    CFlowJournal& journal = accountFlows_[investorId];
    const SimFlowEntry& entry =
        journal.Append(push.kind, [&](std::uint32_t sequence, std::vector<std::uint8_t>& message) {
            CAPIPackage& package = builder_.Begin(push.flow, push.kind);
            package.SetEndFlag(static_cast<std::int32_t>(sequence));
            AddBody(package, push.body, record);
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
        const NELOTradePushDef& push = NELOTradePushOf(P::MarketStatusNty);
        marketFlow_.Append(push.kind, [&](std::uint32_t sequence, std::vector<std::uint8_t>& message) {
            CAPIPackage& package = builder_.Begin(push.flow, push.kind);
            package.SetEndFlag(static_cast<std::int32_t>(sequence));
            AddBody(package, push.body, status);
            message = builder_.Bytes();
        });
    }
}

void CTradeService::OnOrderChanged(const std::string& investorId, const NELOOrderRecord& order) {
    Push(investorId, P::OrderNty, order);
}

void CTradeService::OnTrade(const std::string& investorId, const NELOTradeRecord& trade) {
    Push(investorId, P::TradeNty, trade);
}

void CTradeService::OnPositionChanged(const std::string& investorId, const NELOPosiRecord& position) {
    Push(investorId, P::PosiNty, position);
}

void CTradeService::OnPositionDetailChanged(const std::string& investorId, const NELOPosiDetailRecord& detail) {
    Push(investorId, P::PosiDetailNty, detail);
}

void CTradeService::OnFundChanged(const std::string& investorId, const NELOFundRecord& fund) {
    Push(investorId, P::FundNty, fund);
}
