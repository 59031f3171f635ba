#include "SqelMdApiImpl.h"

#include <cstring>

#include "FacadeFront.h"
#include "FacadeReplies.h"
#include "FacadeResults.h"
#include "FacadeText.h"

using namespace quot;

namespace {

// Open interest travels as a 64-bit integer the application reads as an unsigned count.
double UnsignedToDouble(std::int64_t value) { return static_cast<double>(static_cast<std::uint64_t>(value)); }

// The low 32 bits of the total volume, as the exported field holds only those.
int Low32Bits(std::int64_t value) {
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value) & 0xFFFFFFFFu));
}

// Depth-quote fields copied unchanged from the back end's quote.
struct PriceCopy {
    double NarvDepthQuoteRecord::*to;
    double NELOQuotRecord::*from;
};
const PriceCopy kPriceCopies[] = {
    {&NarvDepthQuoteRecord::Price, &NELOQuotRecord::Price},
    {&NarvDepthQuoteRecord::PreSettle, &NELOQuotRecord::PreSettle},
    {&NarvDepthQuoteRecord::PreClose, &NELOQuotRecord::PreClose},
    {&NarvDepthQuoteRecord::OpenPrice, &NELOQuotRecord::OpenPrice},
    {&NarvDepthQuoteRecord::HighestPrice, &NELOQuotRecord::HighestPrice},
    {&NarvDepthQuoteRecord::LowestPrice, &NELOQuotRecord::LowestPrice},
    {&NarvDepthQuoteRecord::Amount, &NELOQuotRecord::Amount},
    {&NarvDepthQuoteRecord::ClosePrice, &NELOQuotRecord::Price},  // the last price once more
    {&NarvDepthQuoteRecord::SettlePrice, &NELOQuotRecord::SettlePrice},
    {&NarvDepthQuoteRecord::HighLimit, &NELOQuotRecord::HighLimit},
    {&NarvDepthQuoteRecord::LowLimit, &NELOQuotRecord::LowLimit},
    {&NarvDepthQuoteRecord::BidPrice, &NELOQuotRecord::BidPrice},
    {&NarvDepthQuoteRecord::AskPrice, &NELOQuotRecord::AskPrice},
    {&NarvDepthQuoteRecord::BidPrice2, &NELOQuotRecord::BidPrice2},
    {&NarvDepthQuoteRecord::AskPrice2, &NELOQuotRecord::AskPrice2},
    {&NarvDepthQuoteRecord::BidPrice3, &NELOQuotRecord::BidPrice3},
    {&NarvDepthQuoteRecord::AskPrice3, &NELOQuotRecord::AskPrice3},
    {&NarvDepthQuoteRecord::BidPrice4, &NELOQuotRecord::BidPrice4},
    {&NarvDepthQuoteRecord::AskPrice4, &NELOQuotRecord::AskPrice4},
    {&NarvDepthQuoteRecord::BidPrice5, &NELOQuotRecord::BidPrice5},
    {&NarvDepthQuoteRecord::AskPrice5, &NELOQuotRecord::AskPrice5},
};

struct QtyCopy {
    int NarvDepthQuoteRecord::*to;
    std::int32_t NELOQuotRecord::*from;
};
const QtyCopy kQtyCopies[] = {
    {&NarvDepthQuoteRecord::BidQty, &NELOQuotRecord::BidQty},
    {&NarvDepthQuoteRecord::AskQty, &NELOQuotRecord::AskQty},
    {&NarvDepthQuoteRecord::BidQty2, &NELOQuotRecord::BidQty2},
    {&NarvDepthQuoteRecord::AskQty2, &NELOQuotRecord::AskQty2},
    {&NarvDepthQuoteRecord::BidQty3, &NELOQuotRecord::BidQty3},
    {&NarvDepthQuoteRecord::AskQty3, &NELOQuotRecord::AskQty3},
    {&NarvDepthQuoteRecord::BidQty4, &NELOQuotRecord::BidQty4},
    {&NarvDepthQuoteRecord::AskQty4, &NELOQuotRecord::AskQty4},
    {&NarvDepthQuoteRecord::BidQty5, &NELOQuotRecord::BidQty5},
    {&NarvDepthQuoteRecord::AskQty5, &NELOQuotRecord::AskQty5},
};

// Levels 6 to 10, MatchID, Qty and BSFlag have no place in the exported record; the spare fields and
// AvgPrice stay zero.
NarvDepthQuoteRecord ConvertDepthQuote(const NELOQuotRecord& quote) {
    NarvDepthQuoteRecord out{};
    FacadeCopyDashlessDate(out.TradingDay, quote.TradeDate);
    FacadeCopyText(out.ExchangeID, quote.ExchangeID, 8);
    for (const PriceCopy& copy : kPriceCopies) out.*copy.to = quote.*copy.from;
    for (const QtyCopy& copy : kQtyCopies) out.*copy.to = quote.*copy.from;
    out.PreOI = UnsignedToDouble(quote.PreOI);
    out.OI = UnsignedToDouble(quote.OI);
    out.QtyTotal = Low32Bits(quote.QtyTotal);
    FacadeCopyText(out.ModifyTime, quote.ModifyTime, 8);
    FacadeCopyDashlessDate(out.ModifyDate, quote.ModifyDate);
    FacadeCopyText(out.InstrumentID, quote.InstrumentID, 80);
    return out;
}

}  // namespace

CSqelMdApiImpl::CSqelMdApiImpl(const CFacadeLocalClock& clock) : clock_(clock), quote_(new CNELOQuotApiImp) {
    quote_->RegisterSpi(this);
}

CSqelMdApiImpl::~CSqelMdApiImpl() = default;

void CSqelMdApiImpl::Release() {
    spi_.store(nullptr);
    quote_->Release();  // stops first: no callback of ours runs after this
    quote_ = nullptr;
    delete this;
}

void CSqelMdApiImpl::Init() { quote_->Init(); }

int CSqelMdApiImpl::Join() { return 0; }

// The stored day is read under the lock the login reply writes it under; the text handed out is one
// that no later login rewrites.
const char* CSqelMdApiImpl::GetTradingDay() {
    char day[9];
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        std::memcpy(day, tradingDay_, sizeof day);
    }
    return tradingDayTexts_.TextFor(day);
}

void CSqelMdApiImpl::RegisterFront(const char* frontAddress) {
    if (const char* hostAndPort = FacadeHostAndPort(frontAddress)) quote_->RegisterFront(hostAndPort);
}

void CSqelMdApiImpl::RegisterExt5(const void*) {}

void CSqelMdApiImpl::RegisterExt6(const void*) {}

void CSqelMdApiImpl::RegisterSpi(CNarvSqelMdSpi* spi) { spi_.store(spi); }

int CSqelMdApiImpl::ReqQuotSubscribe(const char* const* instrumentIDs, int count) {
    RequestEachInstrument(&CNELOQuotApi::ReqQuotSubscribe, instrumentIDs, count);
    return 0;
}

int CSqelMdApiImpl::ReqQuotUnSubscribe(const char* const* instrumentIDs, int count) {
    RequestEachInstrument(&CNELOQuotApi::ReqQuotUnSubscribe, instrumentIDs, count);
    return 0;
}

// One request per instrument, each with request number 0 and no investor. A count below one sends
// nothing, and so does a missing array or a missing id (for that id only).
void CSqelMdApiImpl::RequestEachInstrument(QuoteRequest request, const char* const* instrumentIDs, int count) {
    if (!instrumentIDs) return;
    for (int i = 0; i < count; ++i) {
        if (!instrumentIDs[i]) continue;
        NELOQuotKeyRecord key{};
        FacadeCopyString(key.InstrumentID, instrumentIDs[i], 15);
        (quote_->*request)(&key, 0);
    }
}

int CSqelMdApiImpl::ReqExt10(const char* const*, int) { return kFacadeNotProvided; }

int CSqelMdApiImpl::ReqExt11(const char* const*, int) { return kFacadeNotProvided; }

int CSqelMdApiImpl::ReqExt14(const void*, int) { return kFacadeNotProvided; }

int CSqelMdApiImpl::ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) {
    if (!loginReq) return kFacadeNotSent;
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        FacadeCopyText(firmId_, loginReq->FirmID, 10);
        FacadeCopyText(investorId_, loginReq->InvestorID, 15);
        FacadeCopyText(logoutInvestorId_, loginReq->InvestorID, 15);
    }
    NELOQuotLoginReqRecord request{};
    FacadeCopyText(request.InvestorID, loginReq->InvestorID, 15);
    FacadeCopyText(request.InvestorPassword, loginReq->InvestorPassword, 20);
    return quote_->ReqLogin(&request, requestId);
}

// The record is not read: the session's investor logs out.
int CSqelMdApiImpl::ReqLogout(const NarvLogoutRecord*, int requestId) {
    NELOInvestorRecord request{};
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        FacadeCopyText(request.InvestorID, logoutInvestorId_, 15);
    }
    return quote_->ReqLogout(&request, requestId);
}

void CSqelMdApiImpl::OnFrontConnected() {
    if (CNarvSqelMdSpi* spi = spi_.load()) spi->OnConnected();
}

void CSqelMdApiImpl::OnFrontDisconnected() {
    if (CNarvSqelMdSpi* spi = spi_.load()) spi->OnDisconnected(0);
}

// The trading day and session numbers are taken from every login record, whatever its reply code.
void CSqelMdApiImpl::OnLoginRsp(NELOLoginRspRecord* record, NELORspInfoRecord* info, std::int32_t requestId,
                                std::int32_t) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi) return;
    NarvLoginRspRecord reply{};
    if (record) {
        const FacadeLocalTime now = clock_.Now();
        std::lock_guard<std::mutex> lock(sessionMutex_);
        FacadeFillLoginRsp(*record, firmId_, investorId_, now, &reply);
        std::memcpy(tradingDay_, reply.TradingDay, sizeof tradingDay_);
        frontId_ = reply.FrontID;
        sessionId_ = reply.SessionID;
    }
    NarvRspInfoRecord rspInfo{};
    if (info) FacadeFillRspInfo(*info, &rspInfo);
    spi->OnLoginRsp(record ? &reply : nullptr, &rspInfo, requestId, true);
}

void CSqelMdApiImpl::OnLogoutRsp(NELOInvestorRecord* record, NELORspInfoRecord* info, std::int32_t requestId,
                                 std::int32_t) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi) return;
    NarvLogoutRecord reply{};
    if (record) {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        FacadeCopyText(reply.InvestorID, logoutInvestorId_, 15);
    }
    NarvRspInfoRecord rspInfo{};
    if (info) FacadeFillRspInfo(*info, &rspInfo);
    spi->OnLogoutRsp(record ? &reply : nullptr, info ? &rspInfo : nullptr, requestId, true);
}

void CSqelMdApiImpl::DeliverInstrumentReply(void (CNarvSqelMdSpi::*callback)(const NarvQuotInstrumentRecord*,
                                                                             const NarvRspInfoRecord*, int, bool),
                                            const NELOInstrumentRecord* record, const NELORspInfoRecord* info,
                                            std::int32_t requestId) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi) return;
    NarvQuotInstrumentRecord reply{};
    if (record) FacadeCopyText(reply.InstrumentID, record->InstrumentID, 80);
    NarvRspInfoRecord rspInfo{};
    if (info) FacadeFillRspInfo(*info, &rspInfo);
    (spi->*callback)(record ? &reply : nullptr, info ? &rspInfo : nullptr, requestId, true);
}

void CSqelMdApiImpl::OnQuotSubscribeRsp(NELOInstrumentRecord* record, NELORspInfoRecord* info, std::int32_t requestId,
                                        std::int32_t) {
    DeliverInstrumentReply(&CNarvSqelMdSpi::OnQuotSubscribeRsp, record, info, requestId);
}

void CSqelMdApiImpl::OnQuotUnSubscribeRsp(NELOInstrumentRecord* record, NELORspInfoRecord* info, std::int32_t requestId,
                                          std::int32_t) {
    DeliverInstrumentReply(&CNarvSqelMdSpi::OnQuotUnSubscribeRsp, record, info, requestId);
}

void CSqelMdApiImpl::OnQuotNty(NELOQuotRecord* record) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi || !record) return;
    const NarvDepthQuoteRecord quote = ConvertDepthQuote(*record);
    spi->OnDepthQuoteNty(&quote);
}
