// The object behind CNarvSqelTraderApi: converts the application's requests for the trade client,
// converts the trade client's replies and pushes back into the application's callbacks (on the trade
// client's I/O thread), and answers the requests the back end has no counterpart for by itself (on its
// own dispatch thread).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

#include "NELOTradeApi.h"
#include "NarvSqelTraderApi.h"
#include "TraderDispatchQueue.h"
#include "TraderLocalAnswers.h"
#include "TraderLocalClock.h"
#include "TraderSession.h"
#include "transport/SocketLibrary.h"

class CSqelTraderApiImpl final : public CNarvSqelTraderApi, public CNELOTradeSpi {
public:
    // A new object on the given clock (the computer's own unless a test fixes the time). Destroyed only
    // by Release.
    static CSqelTraderApiImpl* Create(const CTraderLocalClock& clock = CTraderSystemClock::Instance());

    CSqelTraderApiImpl(const CSqelTraderApiImpl&) = delete;
    CSqelTraderApiImpl& operator=(const CSqelTraderApiImpl&) = delete;

    // ---- CNarvSqelTraderApi, in position order ----
    void Release() override;
    void Init() override;
    int Join() override;
    const char* GetTradingDay() override;
    void RegisterFront(const char* frontAddress) override;
    void RegisterExt5(const void* address) override;
    void RegisterExt6(const void* address) override;
    void RegisterSpi(CNarvSqelTraderSpi* spi) override;
    void SetAccountFlowResume(int resumeMode) override;
    void SetMarketFlowResume(int resumeMode) override;
    int ReqAuthenticate(const NarvAuthenticateReqRecord* authenticate, int requestId) override;
    int ReqExt11(const void* request) override;
    int ReqExt12(const void* request) override;
    int ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) override;
    int ReqLogout(const NarvLogoutRecord* logout, int requestId) override;
    int ReqChangePassword(const NarvChangePasswordRecord* changePassword, int requestId) override;
    int ReqExt16(const void* request, int requestId) override;
    int ReqAcknowledge(const NarvAcknowledgeRecord* acknowledge, int requestId) override;
    int ReqExt18(const void* request, int requestId) override;
    int ReqExt19(const void* request, int requestId) override;
    int ReqExt20(const void* request, int requestId) override;
    int ReqExt21(const void* request, int requestId) override;
    int ReqExt22(const void* request, int requestId) override;
    int ReqInputOrder(const NarvInputOrderRecord* inputOrder, int requestId) override;
    int ReqExt24(const void* request, int requestId) override;
    int ReqExt25(const void* request, int requestId) override;
    int ReqOrderCancel(const NarvOrderActionRecord* orderAction, int requestId) override;
    int ReqMaxOrderQtyQuery(const NarvMaxOrderQtyRecord* maxOrderQty, int requestId) override;
    int ReqSettlementConfirm(const NarvSettlementConfirmRecord* confirm, int requestId) override;
    int ReqExt29(const void* request, int requestId) override;
    int ReqExt30(const void* request, int requestId) override;
    int ReqExt31(const void* request, int requestId) override;
    int ReqExt32(const void* request, int requestId) override;
    int ReqExt33(const void* request, int requestId) override;
    int ReqExt34(const void* request, int requestId) override;
    int ReqExt35(const void* request, int requestId) override;
    int ReqExt36(const void* request, int requestId) override;
    int ReqExt37(const void* request, int requestId) override;
    int ReqExt38(const void* request, int requestId) override;
    int ReqExt39(const void* request, int requestId) override;
    int ReqOrderQuery(const NarvOrderQueryRecord* orderQuery, int requestId) override;
    int ReqTradeQuery(const NarvTradeQueryRecord* tradeQuery, int requestId) override;
    int ReqPosiQuery(const NarvPosiQueryRecord* posiQuery, int requestId) override;
    int ReqFundQuery(const NarvFundQueryRecord* fundQuery, int requestId) override;
    int ReqInvestorQuery(const NarvInvestorQueryRecord* investorQuery, int requestId) override;
    int ReqExt45(const void* request, int requestId) override;
    int ReqInvestorMarginRateQuery(const NarvInvestorMarginRateQueryRecord* marginRateQuery,
                                   int requestId) override;
    int ReqInvestorFeeRateQuery(const NarvInvestorFeeRateQueryRecord* feeRateQuery, int requestId) override;
    int ReqExchangeQuery(const NarvExchangeQueryRecord* exchangeQuery, int requestId) override;
    int ReqProductQuery(const NarvProductQueryRecord* productQuery, int requestId) override;
    int ReqInstrumentQuery(const NarvInstrumentQueryRecord* instrumentQuery, int requestId) override;
    int ReqQuotQuery(const NarvQuotQueryRecord* quotQuery, int requestId) override;
    int ReqExt52(const void* request, int requestId) override;
    int ReqExt53(const void* request, int requestId) override;
    int ReqPosiDetailQuery(const NarvPosiDetailQueryRecord* posiDetailQuery, int requestId) override;
    int ReqExt55(const void* request, int requestId) override;
    int ReqSettlementConfirmQuery(const NarvSettlementConfirmRecord* confirmQuery, int requestId) override;
    int ReqExt57(const void* request, int requestId) override;
    int ReqExt58(const void* request, int requestId) override;
    int ReqExt59(const void* request, int requestId) override;
    int ReqExt60(const void* request, int requestId) override;
    int ReqExchangeMarginRateQuery(const NarvExchangeMarginRateQueryRecord* marginRateQuery,
                                   int requestId) override;
    int ReqExt62(const void* request, int requestId) override;
    int ReqExt63(const void* request, int requestId) override;
    int ReqExt64(const void* request, int requestId) override;
    int ReqExt65(const void* request, int requestId) override;
    int ReqExt66(const void* request, int requestId) override;
    int ReqExt67(const void* request, int requestId) override;
    int ReqExt68(const void* request, int requestId) override;
    int ReqExt69(const void* request, int requestId) override;
    int ReqExt70(const void* request, int requestId) override;
    int ReqExt71(const void* request, int requestId) override;
    int ReqExt72(const void* request, int requestId) override;
    int ReqExt73(const void* request, int requestId) override;
    int ReqExt74(const void* request, int requestId) override;
    int ReqExt75(const void* request, int requestId) override;
    int ReqExt76(const void* request, int requestId) override;
    int ReqExt77(const void* request, int requestId) override;
    int ReqExt78(const void* request, int requestId) override;
    int ReqExt79(const void* request, int requestId) override;
    int ReqExt80(const void* request, int requestId) override;
    int ReqExt81(const void* request, int requestId) override;
    int ReqExt82(const void* request, int requestId) override;
    int ReqExt83(const void* request, int requestId) override;
    int ReqExt84(const void* request, int requestId) override;
    int ReqExt85(const void* request, int requestId) override;
    int ReqExt86(const void* request, int requestId) override;
    int ReqExt87(const void* request, int requestId) override;
    int ReqCurrencyQuery(const NarvCurrencyRecord* currencyQuery, int requestId) override;
    int ReqExt89(const void* request, int requestId) override;
    int ReqExt90(const void* request, int requestId) override;
    int ReqExt91(const void* request, int requestId) override;
    int ReqExt92(const void* request, int requestId) override;
    int ReqExt93(const void* request, int requestId) override;
    int ReqExt94(const void* request, int requestId) override;
    int ReqExt95(const void* request, int requestId) override;

    // ---- CNELOTradeSpi: the trade client's events, on its I/O thread ----
    void OnFrontConnected() override;
    void OnFrontDisconnected() override;
    void OnLoginRsp(const NELOLoginRspRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                    std::int32_t continuation) override;
    void OnLogoutRsp(const NELOInvestorRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                     std::int32_t continuation) override;
    void OnChangePasswordRsp(const NELOInvestorRecord* record, const NELORspInfoRecord* info,
                             std::int32_t requestID, std::int32_t continuation) override;
    void OnInputOrderRsp(const NELOInputOrderRecord* record, const NELORspInfoRecord* info,
                         std::int32_t requestID, std::int32_t continuation) override;
    void OnOrderNty(const NELOOrderRecord* record) override;
    void OnOrderCancelRsp(const NELOOrderCancelRecord* record, const NELORspInfoRecord* info,
                          std::int32_t requestID, std::int32_t continuation) override;
    void OnTradeNty(const NELOTradeRecord* record) override;
    void OnQuotQueryRsp(const NELOQuotRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                        std::int32_t continuation) override;
    void OnOrderQueryRsp(const NELOOrderRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                         std::int32_t continuation) override;
    void OnTradeQueryRsp(const NELOTradeRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                         std::int32_t continuation) override;
    void OnPosiQueryRsp(const NELOPosiRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                        std::int32_t continuation) override;
    void OnFundQueryRsp(const NELOFundRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                        std::int32_t continuation) override;
    void OnInstrumentQueryRsp(const NELOInstrumentRecord* record, const NELORspInfoRecord* info,
                              std::int32_t requestID, std::int32_t continuation) override;
    void OnPosiDetailQueryRsp(const NELOPosiDetailRecord* record, const NELORspInfoRecord* info,
                              std::int32_t requestID, std::int32_t continuation) override;
    void OnProductQueryRsp(const NELOProductRecord* record, const NELORspInfoRecord* info,
                           std::int32_t requestID, std::int32_t continuation) override;
    void OnExchangeQueryRsp(const NELOExchangeRecord* record, const NELORspInfoRecord* info,
                            std::int32_t requestID, std::int32_t continuation) override;
    void OnInvestorFeeRateQueryRsp(const NELOFeeRateRecord* record, const NELORspInfoRecord* info,
                                   std::int32_t requestID, std::int32_t continuation) override;
    void OnInvestorMarginRateQueryRsp(const NELOMarginRateRecord* record, const NELORspInfoRecord* info,
                                      std::int32_t requestID, std::int32_t continuation) override;
    void OnExchangeMarginRateQueryRsp(const NELOMarginRateRecord* record, const NELORspInfoRecord* info,
                                      std::int32_t requestID, std::int32_t continuation) override;

private:
    // What response info a local reply carries.
    enum class LocalInfo { None, Success };

    explicit CSqelTraderApiImpl(const CTraderLocalClock& clock);
    ~CSqelTraderApiImpl();

    // Empty, "Not supported" and -3 answers, as the position's row says.
    int AnswerByTable(int position, const void* request, int requestId);
    // Queues `callback(record copy or null, info, requestId, true)` for the dispatch thread, addressed
    // to the callback object registered now; nothing when none is.
    template <class Record>
    void PostLocalReply(void (CNarvSqelTraderSpi::*callback)(const Record*, const NarvRspInfoRecord*, int, bool),
                        const Record* record, LocalInfo info, int requestId);
    // Converts one query reply row and hands it to the application.
    template <class Exported, class Received>
    void ForwardQueryReply(void (CNarvSqelTraderSpi::*callback)(const Exported*, const NarvRspInfoRecord*, int, bool),
                           void (*fill)(const Received&, const TraderSessionFields&, Exported*),
                           const Received* record, const NELORspInfoRecord* info, std::int32_t requestID,
                           std::int32_t continuation);
    void ReleaseTradeClient();

    CSocketLibraryRef sockets_;  // the dispatch queue's own reference, as every I/O service holds one
    const CTraderLocalClock& clock_;
    CTraderSession session_;
    std::atomic<CNarvSqelTraderSpi*> spi_{nullptr};
    // Every trading day GetTradingDay has handed out. An entry never changes once added (and a deque
    // never moves its entries), so a text the application holds stays as it was while a later login
    // changes the session's trading day on another thread. One entry per trading day seen.
    std::mutex tradingDayTextsMutex_;
    std::deque<std::array<char, 9>> tradingDayTexts_;
    CTraderDispatchQueue queue_;
    CNELOTradeApi* client_ = nullptr;  // owned; destroyed through its Release
};
