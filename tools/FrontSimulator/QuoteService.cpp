#include "QuoteService.h"

#include <algorithm>
#include <iterator>

#include "NELOQuotRecords.h"
#include "QuotRecordFill.h"
#include "SimText.h"

namespace {

using M = quot::NELOQuotMessage;

constexpr const char* kSystemName = "narv front simulator";

void AddStatus(CAPIPackage& package, SimReply code) {
    NELORspInfoRecord info{};
    info.RspNo = static_cast<std::int16_t>(code);
    SimCopy(info.RspDesc, SimReplyDescription(code));
    TZOAddRecord(package, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
}

const quot::NELOQuotMessageDef& ReplyTo(const quot::NELOQuotMessageDef& asked) {
    return *quot::NELOFindQuotReceived(NELOReplyServiceNo(asked.serviceNo));
}

}  // namespace

// clang-format off
const CQuoteService::Route CQuoteService::kRoutes[] = {
    {M::Login,            &CQuoteService::OnLogin},
    {M::Logout,           &CQuoteService::OnLogout},
    {M::QuotSubscribe,    &CQuoteService::OnSubscription},
    {M::QuotUnSubscribe,  &CQuoteService::OnSubscription},
};

// The simulator keeps no history: the history queries are refused as not supported.
const quot::NELOQuotMessage CQuoteService::kRefused[] = {
    M::MinDataQuery, M::DayDataQuery, M::SecondMinDataQuery, M::ThirdMinDataQuery, M::TradeDetailDataQuery,
};
// clang-format on

bool CQuoteService::Answers(quot::NELOQuotMessage request) {
    return std::any_of(std::begin(kRoutes), std::end(kRoutes), [&](const Route& r) { return r.request == request; });
}

bool CQuoteService::Refuses(quot::NELOQuotMessage request) {
    return std::find(std::begin(kRefused), std::end(kRefused), request) != std::end(kRefused);
}

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

void CQuoteService::EncodeQuote(std::size_t instrument) {
    const quot::NELOQuotMessageDef& push = quot::NELOQuotMessageOf(M::QuotNty);
    CAPIPackage& package = builder_.Begin(push.serviceNo, 0);
    NELOQuotRecord quote;
    SimFillQuotRecord(market_.Snapshot(instrument), quote);
    AddBody(package, push.body, quote);
}

void CQuoteService::SendQuote(SessionState& s, std::size_t instrument) {
    EncodeQuote(instrument);
    Send(s);
}

void CQuoteService::OnMarketStep() {
    for (std::size_t i = 0; i < market_.InstrumentCount(); ++i) {
        bool encoded = false;
        for (auto& [key, state] : sessions_) {
            if (!state.instruments.count(i)) continue;
            if (!encoded) {
                EncodeQuote(i);
                encoded = true;
            }
            Send(state);
        }
    }
}

void CQuoteService::OnMessage(CFrameSession& session, const std::uint8_t* message, std::uint32_t length) {
    auto found = sessions_.find(&session);
    if (found == sessions_.end()) return;
    SessionState& s = found->second;
    CAPIPackage request;
    request.OpenReceived(message, length);
    if (request.ServiceNo == 0) return;  // the client's heartbeat
    for (const Route& route : kRoutes) {
        const quot::NELOQuotMessageDef& asked = quot::NELOQuotMessageOf(route.request);
        if (asked.serviceNo != request.ServiceNo) continue;
        (this->*route.handle)(s, request, asked);
        return;
    }
    // History queries and anything else this front does not provide.
    if (request.ServiceNo < 0xFFFF) {
        AddStatus(builder_.Begin(NELOReplyServiceNo(static_cast<std::uint16_t>(request.ServiceNo)), request.RequestID),
                  SimReply::NotSupported);
        Send(s);
    }
}

void CQuoteService::OnLogin(SessionState& s, CAPIPackage& request, const quot::NELOQuotMessageDef& asked) {
    const auto login = RequestRecord<quot::NELOQuotLoginReqRecord>(request, asked);
    const std::string investor = SimText(login.InvestorID);
    const SimReply verdict = desk_.CheckLogin(investor, SimText(login.InvestorPassword));
    const quot::NELOQuotMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, verdict);
    if (verdict == SimReply::Ok) {
        s.investorId = investor;
        s.instruments.clear();
        NELOLoginRspRecord granted{};
        SimCopy(granted.InvestorID, investor);
        SimCopy(granted.TradeDate, config_.tradingDay);
        SimCopy(granted.InvestorName, desk_.InvestorName(investor));
        SimCopy(granted.SysName, kSystemName);
        granted.SessionID = s.sessionId;
        AddBody(reply, answer.body, granted);
    }
    Send(s);
}

void CQuoteService::OnLogout(SessionState& s, CAPIPackage& request, const quot::NELOQuotMessageDef& asked) {
    const quot::NELOQuotMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, SimReply::Ok);
    NELOInvestorRecord investor{};
    SimCopy(investor.InvestorID, s.investorId);
    AddBody(reply, answer.body, investor);
    Send(s);
    s.investorId.clear();
    s.instruments.clear();
}

void CQuoteService::OnSubscription(SessionState& s, CAPIPackage& request, const quot::NELOQuotMessageDef& asked) {
    const auto key = RequestRecord<quot::NELOQuotKeyRecord>(request, asked);
    const std::string instrumentId = SimText(key.InstrumentID);
    const int instrument = market_.Find(instrumentId);
    const SimReply verdict = s.investorId.empty() ? SimReply::NotLoggedIn
                             : instrument < 0     ? SimReply::UnknownInstrument
                                                  : SimReply::Ok;
    const quot::NELOQuotMessageDef& answer = ReplyTo(asked);
    CAPIPackage& reply = builder_.Begin(answer.serviceNo, request.RequestID);
    AddStatus(reply, verdict);
    quot::NELOInstrumentRecord named{};
    SimCopy(named.InstrumentID, instrumentId);
    AddBody(reply, answer.body, named);
    Send(s);
    if (verdict != SimReply::Ok) return;
    const auto index = static_cast<std::size_t>(instrument);
    if (asked.id == M::QuotSubscribe) {
        s.instruments.insert(index);
        SendQuote(s, index);  // the current quote at once, not only at the next step
    } else {
        s.instruments.erase(index);
    }
}
