#include "DemoMarketData.h"

#include "DisplayText.h"
#include "RecordText.h"

namespace {

constexpr const char* kSource = "quote";

bool IsError(const NarvRspInfoRecord* rspInfo) { return rspInfo && rspInfo->ErrorID != 0; }

void Fail(DemoAnswer& answer, const NarvRspInfoRecord& rspInfo) {
    if (answer.errorId != 0) return;  // the first error tells what went wrong
    answer.errorId = rspInfo.ErrorID;
    answer.error = DisplayText(rspInfo.ErrorMsg);
}

}  // namespace

CDemoMarketData::CDemoMarketData(CDemoConsole& console, int quotesToPrint)
    : console_(console), quotesToPrint_(quotesToPrint), api_(CNarvSqelMdApi::CreateSqelMdApi("", false, false)) {
    api_->RegisterSpi(this);
}

CDemoMarketData::~CDemoMarketData() { api_->Release(); }

void CDemoMarketData::OnConnected() {
    console_.Line(kSource, "connected");
    state_.Update([](DemoMarketDataState& s) { s.connected = true; });
}

void CDemoMarketData::OnDisconnected(int) {
    console_.Line(kSource, "connection lost");
    state_.Update([](DemoMarketDataState& s) { s.lost = s.connected; });
}

void CDemoMarketData::OnLoginRsp(const NarvLoginRspRecord* loginRsp, const NarvRspInfoRecord* rspInfo, int,
                                 bool isLast) {
    if (IsError(rspInfo))
        console_.Line(kSource, "login refused: " + DescribeRspInfo(*rspInfo));
    else if (loginRsp)
        console_.Line(kSource, "logged in as " + FieldText(loginRsp->InvestorID) + ", trading day " +
                                   FieldText(loginRsp->TradingDay));
    state_.Update([&](DemoMarketDataState& s) {
        if (IsError(rspInfo)) Fail(s.login, *rspInfo);
        if (loginRsp) ++s.login.rows;
        s.login.done = s.login.done || isLast;
    });
}

void CDemoMarketData::OnLogoutRsp(const NarvLogoutRecord*, const NarvRspInfoRecord* rspInfo, int, bool isLast) {
    console_.Line(kSource, IsError(rspInfo) ? "logout refused: " + DescribeRspInfo(*rspInfo) : "logged out");
    state_.Update([&](DemoMarketDataState& s) {
        if (IsError(rspInfo)) Fail(s.logout, *rspInfo);
        s.logout.done = s.logout.done || isLast;
    });
}

void CDemoMarketData::OnQuotSubscribeRsp(const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo,
                                         int, bool isLast) {
    SubscriptionAnswer("subscribed", &DemoMarketDataState::subscriptions, instrument, rspInfo, isLast);
}

void CDemoMarketData::OnQuotUnSubscribeRsp(const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo,
                                           int, bool isLast) {
    SubscriptionAnswer("unsubscribed", &DemoMarketDataState::unsubscriptions, instrument, rspInfo, isLast);
}

void CDemoMarketData::SubscriptionAnswer(const char* what,
                                         std::map<std::string, DemoAnswer> DemoMarketDataState::*answers,
                                         const NarvQuotInstrumentRecord* instrument, const NarvRspInfoRecord* rspInfo,
                                         bool isLast) {
    // Every request of a subscription carries request number 0, so only the instrument tells them apart.
    const std::string id = instrument ? FieldText(instrument->InstrumentID) : std::string();
    console_.Line(kSource, (id.empty() ? std::string("?") : id) + ": " +
                               (IsError(rspInfo) ? std::string("not ") + what + ", " + DescribeRspInfo(*rspInfo)
                                                 : std::string(what)));
    state_.Update([&](DemoMarketDataState& s) {
        if (id.empty()) {
            if (IsError(rspInfo) && s.anonymousError.empty()) s.anonymousError = DescribeRspInfo(*rspInfo);
            return;
        }
        DemoAnswer& answer = (s.*answers)[id];
        ++answer.rows;
        if (IsError(rspInfo)) Fail(answer, *rspInfo);
        answer.done = answer.done || isLast;
    });
}

void CDemoMarketData::OnDepthQuoteNty(const NarvDepthQuoteRecord* depthQuote) {
    if (!depthQuote) return;
    const std::string id = FieldText(depthQuote->InstrumentID);
    int count = 0;
    state_.Update([&](DemoMarketDataState& s) {
        count = ++s.quoteCounts[id];
        s.latestQuotes[id] = *depthQuote;
    });
    if (count <= quotesToPrint_) console_.Line(kSource, DescribeQuote(*depthQuote));
}
