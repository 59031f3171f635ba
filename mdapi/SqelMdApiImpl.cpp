#include "SqelMdApiImpl.h"

#include <cstdio>
#include <cstring>
#include <ctime>

using namespace quot;

namespace {

// The front address the application registers starts with a scheme such as "tcp://"; the quote client
// wants host:port only.
constexpr std::size_t kFrontSchemeLength = 6;

// Operation not provided by this library; no callback follows.
constexpr int kNotProvided = -3;

// Copies at most `limit` characters of `src` (fewer when the terminator comes first) into `dest`, which
// always ends NUL-terminated. The caller's text need not be terminated within the limit.
template <std::size_t N>
void CopyText(char (&dest)[N], const char* src, std::size_t limit) {
    static_assert(N > 0, "room for the terminator");
    if (limit > N - 1) limit = N - 1;
    std::size_t n = 0;
    if (src)
        while (n < limit && src[n] != '\0') ++n;
    std::memcpy(dest, src ? src : "", n);
    std::memset(dest + n, 0, N - n);
}

// YYYY-MM-DD as the eight digits YYYYMMDD: characters 0 to 3, 5 and 6, 8 and 9.
template <std::size_t N>
void CopyDateWithoutDashes(char (&dest)[9], const char (&date)[N]) {
    static_assert(N >= 10, "a date with dashes");
    static const std::size_t kDigits[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (std::size_t i = 0; i < 8; ++i) dest[i] = date[kDigits[i]];
    dest[8] = '\0';
}

NarvRspInfoRecord ConvertRspInfo(const NELORspInfoRecord& info) {
    NarvRspInfoRecord out{};
    out.ErrorID = static_cast<int>(static_cast<std::uint16_t>(info.RspNo));  // zero-extended: 0xFFFF is 65535
    CopyText(out.ErrorMsg, info.RspDesc, 80);
    return out;
}

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
    CopyDateWithoutDashes(out.TradingDay, quote.TradeDate);
    CopyText(out.ExchangeID, quote.ExchangeID, 8);
    for (const PriceCopy& copy : kPriceCopies) out.*copy.to = quote.*copy.from;
    for (const QtyCopy& copy : kQtyCopies) out.*copy.to = quote.*copy.from;
    out.PreOI = UnsignedToDouble(quote.PreOI);
    out.OI = UnsignedToDouble(quote.OI);
    out.QtyTotal = Low32Bits(quote.QtyTotal);
    CopyText(out.ModifyTime, quote.ModifyTime, 8);
    CopyDateWithoutDashes(out.ModifyDate, quote.ModifyDate);
    CopyText(out.InstrumentID, quote.InstrumentID, 80);
    return out;
}

// This computer's clock as HH:MM:SS.
void FormatLocalTime(char (&dest)[9]) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // The fields are small non-negative numbers; the modulo only tells the compiler the text fits.
    std::snprintf(dest, sizeof dest, "%02u:%02u:%02u", static_cast<unsigned>(local.tm_hour) % 100u,
                  static_cast<unsigned>(local.tm_min) % 100u, static_cast<unsigned>(local.tm_sec) % 100u);
}

}  // namespace

CSqelMdApiImpl::CSqelMdApiImpl() : quote_(new CNELOQuotApiImp) { quote_->RegisterSpi(this); }

CSqelMdApiImpl::~CSqelMdApiImpl() = default;

void CSqelMdApiImpl::Release() {
    spi_.store(nullptr);
    quote_->Release();  // stops first: no callback of ours runs after this
    quote_ = nullptr;
    delete this;
}

void CSqelMdApiImpl::Init() { quote_->Init(); }

int CSqelMdApiImpl::Join() { return 0; }

const char* CSqelMdApiImpl::GetTradingDay() { return tradingDay_; }

void CSqelMdApiImpl::RegisterFront(const char* frontAddress) {
    // An address too short to hold the scheme has no host:port behind it.
    if (!frontAddress || std::strlen(frontAddress) < kFrontSchemeLength) return;
    quote_->RegisterFront(frontAddress + kFrontSchemeLength);
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
        CopyText(key.InstrumentID, instrumentIDs[i], 15);
        (quote_->*request)(&key, 0);
    }
}

int CSqelMdApiImpl::ReqExt10(const char* const*, int) { return kNotProvided; }

int CSqelMdApiImpl::ReqExt11(const char* const*, int) { return kNotProvided; }

int CSqelMdApiImpl::ReqExt14(const void*, int) { return kNotProvided; }

int CSqelMdApiImpl::ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) {
    if (!loginReq) return -1;
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        CopyText(firmId_, loginReq->FirmID, 10);
        CopyText(investorId_, loginReq->InvestorID, 15);
        CopyText(logoutInvestorId_, loginReq->InvestorID, 15);
    }
    NELOQuotLoginReqRecord request{};
    CopyText(request.InvestorID, loginReq->InvestorID, 15);
    CopyText(request.InvestorPassword, loginReq->InvestorPassword, 20);
    return quote_->ReqLogin(&request, requestId);
}

// The record is not read: the session's investor logs out.
int CSqelMdApiImpl::ReqLogout(const NarvLogoutRecord*, int requestId) {
    NELOInvestorRecord request{};
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        CopyText(request.InvestorID, logoutInvestorId_, 15);
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
    {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        if (record) {
            char day[9];
            CopyDateWithoutDashes(day, record->TradeDate);
            if (std::memcmp(day, tradingDay_, sizeof day) != 0) std::memcpy(tradingDay_, day, sizeof day);
            const auto session = static_cast<std::uint64_t>(record->SessionID);
            frontId_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(session >> 32));
            sessionId_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(session & 0xFFFFFFFFu));
        }
        CopyText(reply.TradingDay, tradingDay_, 8);
        CopyText(reply.FirmID, firmId_, 10);
        CopyText(reply.InvestorID, investorId_, 15);
        reply.FrontID = frontId_;
        reply.SessionID = sessionId_;
    }
    FormatLocalTime(reply.LoginTime);
    if (record) CopyText(reply.SysName, record->SysName, 40);
    CopyText(reply.InitialOrderRef, "1", 12);
    char (*stamps[])[9] = {&reply.StampTime1, &reply.StampTime2, &reply.StampTime3, &reply.StampTime4,
                           &reply.StampTime5};
    for (auto stamp : stamps) CopyText(*stamp, reply.LoginTime, 8);
    const NarvRspInfoRecord rspInfo = info ? ConvertRspInfo(*info) : NarvRspInfoRecord{};
    spi->OnLoginRsp(record ? &reply : nullptr, &rspInfo, requestId, true);
}

void CSqelMdApiImpl::OnLogoutRsp(NELOInvestorRecord* record, NELORspInfoRecord* info, std::int32_t requestId,
                                 std::int32_t) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi) return;
    NarvLogoutRecord reply{};
    if (record) {
        std::lock_guard<std::mutex> lock(sessionMutex_);
        CopyText(reply.InvestorID, logoutInvestorId_, 15);
    }
    NarvRspInfoRecord rspInfo{};
    if (info) rspInfo = ConvertRspInfo(*info);
    spi->OnLogoutRsp(record ? &reply : nullptr, info ? &rspInfo : nullptr, requestId, true);
}

void CSqelMdApiImpl::DeliverInstrumentReply(void (CNarvSqelMdSpi::*callback)(const NarvQuotInstrumentRecord*,
                                                                              const NarvRspInfoRecord*, int, bool),
                                            const NELOInstrumentRecord* record, const NELORspInfoRecord* info,
                                            std::int32_t requestId) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi) return;
    NarvQuotInstrumentRecord reply{};
    if (record) CopyText(reply.InstrumentID, record->InstrumentID, 80);
    NarvRspInfoRecord rspInfo{};
    if (info) rspInfo = ConvertRspInfo(*info);
    (spi->*callback)(record ? &reply : nullptr, info ? &rspInfo : nullptr, requestId, true);
}

void CSqelMdApiImpl::OnQuotSubscribeRsp(NELOInstrumentRecord* record, NELORspInfoRecord* info,
                                        std::int32_t requestId, std::int32_t) {
    DeliverInstrumentReply(&CNarvSqelMdSpi::OnQuotSubscribeRsp, record, info, requestId);
}

void CSqelMdApiImpl::OnQuotUnSubscribeRsp(NELOInstrumentRecord* record, NELORspInfoRecord* info,
                                          std::int32_t requestId, std::int32_t) {
    DeliverInstrumentReply(&CNarvSqelMdSpi::OnQuotUnSubscribeRsp, record, info, requestId);
}

void CSqelMdApiImpl::OnQuotNty(NELOQuotRecord* record) {
    CNarvSqelMdSpi* spi = spi_.load();
    if (!spi || !record) return;
    const NarvDepthQuoteRecord quote = ConvertDepthQuote(*record);
    spi->OnDepthQuoteNty(&quote);
}

CNarvSqelMdApi* CNarvSqelMdApi::CreateSqelMdApi(const char*, bool, bool) { return new CSqelMdApiImpl; }

const char* CNarvSqelMdApi::GetApiVersion() { return "6.5.1"; }
