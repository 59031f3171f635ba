#include "SqelTraderApiImpl.h"

#include <cstddef>

#include "FacadeFront.h"
#include "FacadeResults.h"
#include "FacadeText.h"
#include "NELOTradeApiImp.h"
#include "TraderCodeTables.h"
#include "TraderLocalReplies.h"
#include "TraderRecordConversions.h"

namespace {

constexpr int kNotProvided = kFacadeNotProvided;
constexpr int kNotSent = kFacadeNotSent;

NarvRspInfoRecord NotSupportedInfo() {
    NarvRspInfoRecord info{};
    info.ErrorID = kNotSupportedErrorID;
    FacadeCopyString(info.ErrorMsg, kNotSupportedErrorMsg, 80);
    return info;
}

// A reply delivered on the dispatch thread. It owns its record and response info, so they stay valid
// for the whole callback whatever the application requests meanwhile.
template <class Record>
struct LocalReplyItem {
    using Callback = void (CNarvSqelTraderSpi::*)(const Record*, const NarvRspInfoRecord*, int, bool);

    CNarvSqelTraderSpi* spi;
    Callback callback;
    bool hasRecord;
    Record record;
    bool hasInfo;
    NarvRspInfoRecord info;
    int requestId;

    void operator()() { (spi->*callback)(hasRecord ? &record : nullptr, hasInfo ? &info : nullptr, requestId, true); }
};

// The empty and "Not supported" replies: the record is the application's own request (or none).
struct TableReplyItem {
    CNarvSqelTraderSpi* spi;
    TraderExtCallback callback;
    const void* request;
    bool hasInfo;
    NarvRspInfoRecord info;
    int requestId;

    void operator()() { (spi->*callback)(request, hasInfo ? &info : nullptr, requestId, true); }
};

}  // namespace

CSqelTraderApiImpl* CSqelTraderApiImpl::Create(const CFacadeLocalClock& clock) { return new CSqelTraderApiImpl(clock); }

CSqelTraderApiImpl::CSqelTraderApiImpl(const CFacadeLocalClock& clock) : clock_(clock) {
    CNELOTradeApiImp* client = new CNELOTradeApiImp;
    client->RegisterSpi(this);
    client_ = client;
}

CSqelTraderApiImpl::~CSqelTraderApiImpl() = default;

// ---- lifecycle ----------------------------------------------------------------------------------

void CSqelTraderApiImpl::Release() {
    spi_.store(nullptr, std::memory_order_release);
    if (queue_.OnDispatchThread()) {
        // Called from one of our own local replies: the thread cannot wait for itself, so it finishes
        // the teardown once that reply has returned.
        ReleaseTradeClient();
        queue_.Shutdown([this] { delete this; });
        return;
    }
    queue_.Shutdown();  // the dispatch thread has ended: no local reply is running or will run
    // Also right from a reply or push we are passing on (on the I/O thread): the trade client allows
    // its release from inside its own callbacks, and no conversion touches this object once it has
    // called the application.
    ReleaseTradeClient();
    delete this;
}

void CSqelTraderApiImpl::ReleaseTradeClient() {
    if (client_ != nullptr) {
        client_->Release();  // stops its I/O thread: no converted callback runs after this
        client_ = nullptr;
    }
}

void CSqelTraderApiImpl::Init() {
    queue_.Start();
    client_->Init();
}

int CSqelTraderApiImpl::Join() { return queue_.Join(); }

const char* CSqelTraderApiImpl::GetTradingDay() { return tradingDayTexts_.TextFor(session_.Fields().tradingDay); }

void CSqelTraderApiImpl::RegisterFront(const char* frontAddress) {
    if (const char* hostAndPort = FacadeHostAndPort(frontAddress)) {
        client_->RegisterFront(hostAndPort);
    }
}

void CSqelTraderApiImpl::RegisterExt5(const void* /*address*/) {}
void CSqelTraderApiImpl::RegisterExt6(const void* /*address*/) {}

void CSqelTraderApiImpl::RegisterSpi(CNarvSqelTraderSpi* spi) { spi_.store(spi, std::memory_order_release); }

void CSqelTraderApiImpl::SetAccountFlowResume(int resumeMode) {
    session_.SetFlowResume(1, TraderFlowResumeMode(resumeMode));
}

void CSqelTraderApiImpl::SetMarketFlowResume(int resumeMode) {
    session_.SetFlowResume(2, TraderFlowResumeMode(resumeMode));
}

// ---- local answers ------------------------------------------------------------------------------

template <class Record>
void CSqelTraderApiImpl::PostLocalReply(void (CNarvSqelTraderSpi::*callback)(const Record*, const NarvRspInfoRecord*,
                                                                             int, bool),
                                        const Record* record, LocalInfo info, int requestId) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return;
    }
    LocalReplyItem<Record> item{
        spi, callback, record != nullptr, Record{}, info == LocalInfo::Success, NarvRspInfoRecord{}, requestId};
    if (record != nullptr) {
        item.record = *record;
    }
    queue_.Post(std::move(item));
}

int CSqelTraderApiImpl::AnswerByTable(int position, const void* request, int requestId) {
    const TraderLocalAnswer& answer = kTraderLocalAnswers[position];
    if (answer.kind != TraderAnswerKind::EmptyReply && answer.kind != TraderAnswerKind::NotSupported) {
        return kNotProvided;
    }
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return 0;
    }
    if (answer.kind == TraderAnswerKind::EmptyReply) {
        queue_.Post(TableReplyItem{spi, answer.callback, nullptr, false, NarvRspInfoRecord{}, requestId});
    } else {
        queue_.Post(TableReplyItem{spi, answer.callback, request, true, NotSupportedInfo(), requestId});
    }
    return 0;
}

int CSqelTraderApiImpl::ReqAuthenticate(const NarvAuthenticateReqRecord* authenticate, int requestId) {
    if (authenticate == nullptr) {
        return kNotSent;
    }
    const NarvAuthenticateRspRecord reply = TraderBuildAuthenticateRsp(*authenticate);
    PostLocalReply(&CNarvSqelTraderSpi::OnAuthenticateRsp, &reply, LocalInfo::Success, requestId);
    return 0;
}

int CSqelTraderApiImpl::ReqAcknowledge(const NarvAcknowledgeRecord* /*acknowledge*/, int requestId) {
    const NarvAcknowledgeRecord reply = TraderBuildAcknowledge();
    PostLocalReply(&CNarvSqelTraderSpi::OnAcknowledgeRsp, &reply, LocalInfo::None, requestId);
    return 0;
}

int CSqelTraderApiImpl::ReqMaxOrderQtyQuery(const NarvMaxOrderQtyRecord* maxOrderQty, int requestId) {
    if (maxOrderQty == nullptr) {
        return kNotSent;
    }
    const NarvMaxOrderQtyRecord reply = TraderBuildMaxOrderQty(*maxOrderQty);
    PostLocalReply(&CNarvSqelTraderSpi::OnMaxOrderQtyQueryRsp, &reply, LocalInfo::None, requestId);
    return 0;
}

int CSqelTraderApiImpl::ReqSettlementConfirm(const NarvSettlementConfirmRecord* confirm, int requestId) {
    if (confirm == nullptr) {
        return kNotSent;
    }
    const NarvSettlementConfirmRecord reply = TraderBuildSettlementConfirm(*confirm, session_.Fields(), clock_.Now());
    PostLocalReply(&CNarvSqelTraderSpi::OnSettlementConfirmRsp, &reply, LocalInfo::Success, requestId);
    return 0;
}

int CSqelTraderApiImpl::ReqInvestorQuery(const NarvInvestorQueryRecord* /*investorQuery*/, int requestId) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return 0;
    }
    // Built when delivered, from the session as it is then.
    queue_.Post([this, spi, requestId] {
        const NarvInvestorRecord reply = TraderBuildInvestor(session_.Fields());
        const NarvRspInfoRecord info{};
        spi->OnInvestorQueryRsp(&reply, &info, requestId, true);
    });
    return 0;
}

int CSqelTraderApiImpl::ReqSettlementConfirmQuery(const NarvSettlementConfirmRecord* /*confirmQuery*/, int requestId) {
    const NarvSettlementConfirmRecord reply = TraderBuildSettlementConfirmQuery(session_.Fields(), clock_.Now());
    PostLocalReply(&CNarvSqelTraderSpi::OnSettlementConfirmQueryRsp, &reply, LocalInfo::Success, requestId);
    return 0;
}

int CSqelTraderApiImpl::ReqCurrencyQuery(const NarvCurrencyRecord* /*currencyQuery*/, int requestId) {
    const NarvCurrencyRecord reply = TraderBuildCurrency(session_.Fields());
    PostLocalReply(&CNarvSqelTraderSpi::OnCurrencyQueryRsp, &reply, LocalInfo::Success, requestId);
    return 0;
}

// ---- session ------------------------------------------------------------------------------------

int CSqelTraderApiImpl::ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) {
    if (loginReq == nullptr) {
        return kNotSent;
    }
    session_.BeginLogin(loginReq->FirmID, loginReq->InvestorID);
    const NELOLoginReqRecord record = TraderBuildLoginReq(session_.Fields(), *loginReq);
    return client_->ReqLogin(&record, requestId);
}

int CSqelTraderApiImpl::ReqLogout(const NarvLogoutRecord* /*logout*/, int requestId) {
    const NELOInvestorRecord record = TraderBuildInvestorKey(session_.Fields());
    return client_->ReqLogout(&record, requestId);
}

int CSqelTraderApiImpl::ReqChangePassword(const NarvChangePasswordRecord* changePassword, int requestId) {
    if (changePassword == nullptr) {
        return kNotSent;
    }
    const NELOChangePasswordRecord record = TraderBuildChangePassword(session_.Fields(), *changePassword);
    session_.SavePasswordChange(*changePassword);
    return client_->ReqChangePassword(&record, requestId);
}

void CSqelTraderApiImpl::OnFrontConnected() {
    if (CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire)) {
        spi->OnConnected();
    }
}

void CSqelTraderApiImpl::OnFrontDisconnected() {
    if (CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire)) {
        spi->OnDisconnected(0);
    }
}

void CSqelTraderApiImpl::OnLoginRsp(const NELOLoginRspRecord* record, const NELORspInfoRecord* info,
                                    std::int32_t requestID, std::int32_t /*continuation*/) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return;
    }
    NarvLoginRspRecord reply{};
    if (record != nullptr) {
        TraderFillLoginRsp(*record, session_.Fields(), clock_.Now(), &reply);
        session_.SetSessionNumbers(reply.FrontID, reply.SessionID);
    }
    NarvRspInfoRecord replyInfo{};
    if (info != nullptr) {
        TraderFillRspInfo(*info, &replyInfo);
    }
    if (replyInfo.ErrorID == 0 && record != nullptr) {
        const TraderFlowSubscription subscription = session_.AcceptLogin(reply.TradingDay);
        if (subscription.subscribe) {
            client_->ReqFlowSubscribe(subscription.flow1Mode, subscription.flow2Mode);
        }
    }
    spi->OnLoginRsp(record != nullptr ? &reply : nullptr, &replyInfo, requestID, true);
}

void CSqelTraderApiImpl::OnLogoutRsp(const NELOInvestorRecord* record, const NELORspInfoRecord* info,
                                     std::int32_t requestID, std::int32_t /*continuation*/) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return;
    }
    NarvLogoutRecord reply{};
    if (record != nullptr) {
        TraderFillLogout(session_.Fields(), &reply);
    }
    NarvRspInfoRecord replyInfo{};
    if (info != nullptr) {
        TraderFillRspInfo(*info, &replyInfo);
    }
    spi->OnLogoutRsp(record != nullptr ? &reply : nullptr, info != nullptr ? &replyInfo : nullptr, requestID, true);
}

void CSqelTraderApiImpl::OnChangePasswordRsp(const NELOInvestorRecord* record, const NELORspInfoRecord* info,
                                             std::int32_t requestID, std::int32_t /*continuation*/) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return;
    }
    NarvChangePasswordRecord reply{};
    if (record != nullptr) {
        TraderFillChangePassword(session_.Fields(), session_.SavedPasswordChange(), &reply);
    }
    NarvRspInfoRecord replyInfo{};
    if (info != nullptr) {
        TraderFillRspInfo(*info, &replyInfo);
    }
    spi->OnChangePasswordRsp(record != nullptr ? &reply : nullptr, info != nullptr ? &replyInfo : nullptr, requestID,
                             true);
}

// ---- orders -------------------------------------------------------------------------------------

int CSqelTraderApiImpl::ReqInputOrder(const NarvInputOrderRecord* inputOrder, int requestId) {
    if (inputOrder == nullptr) {
        return kNotSent;
    }
    const NELOInputOrderRecord record = TraderBuildInputOrder(session_.Fields(), *inputOrder);
    return client_->ReqInputOrder(&record, requestId);
}

int CSqelTraderApiImpl::ReqOrderCancel(const NarvOrderActionRecord* orderAction, int requestId) {
    if (orderAction == nullptr) {
        return kNotSent;
    }
    const NELOOrderCancelRecord record = TraderBuildOrderCancel(*orderAction);
    return client_->ReqOrderCancel(&record, requestId);
}

void CSqelTraderApiImpl::OnInputOrderRsp(const NELOInputOrderRecord* record, const NELORspInfoRecord* info,
                                         std::int32_t requestID, std::int32_t /*continuation*/) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr || info == nullptr || info->RspNo == 0) {
        return;  // an accepted order shows itself through OnOrderNty
    }
    NarvRspInfoRecord replyInfo{};
    TraderFillRspInfo(*info, &replyInfo);
    NarvInputOrderRecord reply{};
    if (record != nullptr) {
        TraderFillInputOrderRsp(*record, session_.Fields(), &reply);
    }
    // A rejection without its order record is still a rejection: the application hears of it.
    spi->OnInputOrderRsp(record != nullptr ? &reply : nullptr, &replyInfo, requestID, true);
}

void CSqelTraderApiImpl::OnOrderCancelRsp(const NELOOrderCancelRecord* record, const NELORspInfoRecord* info,
                                          std::int32_t requestID, std::int32_t /*continuation*/) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr || info == nullptr || info->RspNo == 0) {
        return;
    }
    NarvRspInfoRecord replyInfo{};
    TraderFillRspInfo(*info, &replyInfo);
    NarvOrderActionRecord reply{};
    if (record != nullptr) {
        TraderFillOrderActionRsp(*record, session_.Fields(), requestID, &reply);
    }
    spi->OnOrderCancelRsp(record != nullptr ? &reply : nullptr, &replyInfo, requestID, true);
}

void CSqelTraderApiImpl::OnOrderNty(const NELOOrderRecord* record) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr || record == nullptr) {
        return;
    }
    NarvOrderRecord order;
    TraderFillOrder(*record, session_.Fields(), &order);
    spi->OnOrderNty(&order);
}

void CSqelTraderApiImpl::OnTradeNty(const NELOTradeRecord* record) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr || record == nullptr) {
        return;
    }
    NarvTradeRecord trade;
    TraderFillTrade(*record, session_.Fields(), &trade);
    spi->OnTradeNty(&trade);
}

// ---- queries ------------------------------------------------------------------------------------

int CSqelTraderApiImpl::ReqOrderQuery(const NarvOrderQueryRecord* orderQuery, int requestId) {
    if (orderQuery == nullptr) {
        return kNotSent;
    }
    const NELOQueryKeyRecord key = TraderBuildQueryKey(session_.Fields(), *orderQuery);
    return client_->ReqOrderQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqTradeQuery(const NarvTradeQueryRecord* tradeQuery, int requestId) {
    if (tradeQuery == nullptr) {
        return kNotSent;
    }
    const NELOQueryKeyRecord key = TraderBuildQueryKey(session_.Fields(), *tradeQuery);
    return client_->ReqTradeQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqPosiQuery(const NarvPosiQueryRecord* posiQuery, int requestId) {
    if (posiQuery == nullptr) {
        return kNotSent;
    }
    const NELOQueryKeyRecord key = TraderBuildQueryKey(session_.Fields(), *posiQuery);
    return client_->ReqPosiQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqFundQuery(const NarvFundQueryRecord* /*fundQuery*/, int requestId) {
    const NELOInvestorRecord key = TraderBuildInvestorKey(session_.Fields());
    return client_->ReqFundQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqInvestorMarginRateQuery(const NarvInvestorMarginRateQueryRecord* marginRateQuery,
                                                   int requestId) {
    if (marginRateQuery == nullptr) {
        return kNotSent;
    }
    const NELORateKeyRecord key = TraderBuildRateKey(session_.Fields(), *marginRateQuery);
    return client_->ReqInvestorMarginRateQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqInvestorFeeRateQuery(const NarvInvestorFeeRateQueryRecord* feeRateQuery, int requestId) {
    if (feeRateQuery == nullptr) {
        return kNotSent;
    }
    const NELORateKeyRecord key = TraderBuildRateKey(session_.Fields(), *feeRateQuery);
    return client_->ReqInvestorFeeRateQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqExchangeQuery(const NarvExchangeQueryRecord* exchangeQuery, int requestId) {
    if (exchangeQuery == nullptr) {
        return kNotSent;
    }
    const NELOExchangeKeyRecord key = TraderBuildExchangeKey(*exchangeQuery);
    return client_->ReqExchangeQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqProductQuery(const NarvProductQueryRecord* productQuery, int requestId) {
    if (productQuery == nullptr) {
        return kNotSent;
    }
    NELOProductKeyRecord key;
    if (!TraderBuildProductKey(*productQuery, &key)) {
        const NarvRspInfoRecord notSupported = NotSupportedInfo();
        CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
        if (spi != nullptr) {
            queue_.Post(LocalReplyItem<NarvProductRecord>{spi, &CNarvSqelTraderSpi::OnProductQueryRsp, false,
                                                          NarvProductRecord{}, true, notSupported, requestId});
        }
        return 0;
    }
    return client_->ReqProductQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqInstrumentQuery(const NarvInstrumentQueryRecord* instrumentQuery, int requestId) {
    if (instrumentQuery == nullptr) {
        return kNotSent;
    }
    const NELOQueryKeyRecord key = TraderBuildQueryKey(session_.Fields(), *instrumentQuery);
    return client_->ReqInstrumentQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqQuotQuery(const NarvQuotQueryRecord* quotQuery, int requestId) {
    if (quotQuery == nullptr) {
        return kNotSent;
    }
    const NELOQueryKeyRecord key = TraderBuildQueryKey(session_.Fields(), *quotQuery);
    return client_->ReqQuotQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqPosiDetailQuery(const NarvPosiDetailQueryRecord* posiDetailQuery, int requestId) {
    if (posiDetailQuery == nullptr) {
        return kNotSent;
    }
    const NELOQueryKeyRecord key = TraderBuildQueryKey(session_.Fields(), *posiDetailQuery);
    return client_->ReqPosiDetailQuery(&key, requestId);
}

int CSqelTraderApiImpl::ReqExchangeMarginRateQuery(const NarvExchangeMarginRateQueryRecord* marginRateQuery,
                                                   int requestId) {
    if (marginRateQuery == nullptr) {
        return kNotSent;
    }
    const NELORateKeyRecord key = TraderBuildRateKey(session_.Fields(), *marginRateQuery);
    return client_->ReqExchangeMarginRateQuery(&key, requestId);
}

template <class Exported, class Received>
void CSqelTraderApiImpl::ForwardQueryReply(void (CNarvSqelTraderSpi::*callback)(const Exported*,
                                                                                const NarvRspInfoRecord*, int, bool),
                                           void (*fill)(const Received&, const TraderSessionFields&, Exported*),
                                           const Received* record, const NELORspInfoRecord* info,
                                           std::int32_t requestID, std::int32_t continuation) {
    CNarvSqelTraderSpi* spi = spi_.load(std::memory_order_acquire);
    if (spi == nullptr) {
        return;
    }
    Exported reply;
    if (record != nullptr) {
        fill(*record, session_.Fields(), &reply);
    }
    NarvRspInfoRecord replyInfo{};
    if (info != nullptr) {
        TraderFillRspInfo(*info, &replyInfo);
    }
    (spi->*callback)(record != nullptr ? &reply : nullptr, info != nullptr ? &replyInfo : nullptr, requestID,
                     continuation == 0);
}

void CSqelTraderApiImpl::OnQuotQueryRsp(const NELOQuotRecord* record, const NELORspInfoRecord* info,
                                        std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnQuotQueryRsp, &TraderFillQuot, record, info, requestID, continuation);
}

void CSqelTraderApiImpl::OnOrderQueryRsp(const NELOOrderRecord* record, const NELORspInfoRecord* info,
                                         std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnOrderQueryRsp, &TraderFillOrder, record, info, requestID, continuation);
}

void CSqelTraderApiImpl::OnTradeQueryRsp(const NELOTradeRecord* record, const NELORspInfoRecord* info,
                                         std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnTradeQueryRsp, &TraderFillTrade, record, info, requestID, continuation);
}

void CSqelTraderApiImpl::OnPosiQueryRsp(const NELOPosiRecord* record, const NELORspInfoRecord* info,
                                        std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnPosiQueryRsp, &TraderFillPosi, record, info, requestID, continuation);
}

void CSqelTraderApiImpl::OnFundQueryRsp(const NELOFundRecord* record, const NELORspInfoRecord* info,
                                        std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnFundQueryRsp, &TraderFillFund, record, info, requestID, continuation);
}

void CSqelTraderApiImpl::OnInstrumentQueryRsp(const NELOInstrumentRecord* record, const NELORspInfoRecord* info,
                                              std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnInstrumentQueryRsp, &TraderFillInstrument, record, info, requestID,
                      continuation);
}

void CSqelTraderApiImpl::OnPosiDetailQueryRsp(const NELOPosiDetailRecord* record, const NELORspInfoRecord* info,
                                              std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnPosiDetailQueryRsp, &TraderFillPosiDetail, record, info, requestID,
                      continuation);
}

void CSqelTraderApiImpl::OnProductQueryRsp(const NELOProductRecord* record, const NELORspInfoRecord* info,
                                           std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnProductQueryRsp, &TraderFillProduct, record, info, requestID,
                      continuation);
}

void CSqelTraderApiImpl::OnExchangeQueryRsp(const NELOExchangeRecord* record, const NELORspInfoRecord* info,
                                            std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnExchangeQueryRsp, &TraderFillExchange, record, info, requestID,
                      continuation);
}

void CSqelTraderApiImpl::OnInvestorFeeRateQueryRsp(const NELOFeeRateRecord* record, const NELORspInfoRecord* info,
                                                   std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnInvestorFeeRateQueryRsp, &TraderFillFeeRate, record, info, requestID,
                      continuation);
}

void CSqelTraderApiImpl::OnInvestorMarginRateQueryRsp(const NELOMarginRateRecord* record, const NELORspInfoRecord* info,
                                                      std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnInvestorMarginRateQueryRsp, &TraderFillInvestorMarginRate, record, info,
                      requestID, continuation);
}

void CSqelTraderApiImpl::OnExchangeMarginRateQueryRsp(const NELOMarginRateRecord* record, const NELORspInfoRecord* info,
                                                      std::int32_t requestID, std::int32_t continuation) {
    ForwardQueryReply(&CNarvSqelTraderSpi::OnExchangeMarginRateQueryRsp, &TraderFillExchangeMarginRate, record, info,
                      requestID, continuation);
}
