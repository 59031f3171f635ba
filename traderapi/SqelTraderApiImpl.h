// The object behind CNarvSqelTraderApi: converts the application's requests for the trade client,
// converts the trade client's replies and pushes back into the application's callbacks (on the trade
// client's I/O thread), and answers the requests the back end has no counterpart for by itself (on its
// own dispatch thread).
#pragma once

#include <atomic>
#include <cstdint>

#include "FacadeClock.h"
#include "FacadeTradingDayTexts.h"
#include "NELOTradeApi.h"
#include "NarvSqelTraderApi.h"
#include "SocketLibrary.h"
#include "TraderDispatchQueue.h"
#include "TraderLocalAnswers.h"
#include "TraderSession.h"

// A position the table alone answers: its row is checked when this is compiled, so the table and the
// implementation cannot disagree.
#define NARV_TRADER_TABLE_ANSWER(N) \
    int ReqExt##N(const void* request, int requestId) override { return AnswerByTable<N>(request, requestId); }

class CSqelTraderApiImpl final : public CNarvSqelTraderApi, public CNELOTradeSpi {
public:
    // A new object on the given clock (the computer's own unless a test fixes the time). Destroyed only
    // by Release.
    static CSqelTraderApiImpl* Create(const CFacadeLocalClock& clock = CFacadeSystemClock::Instance());

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
    int ReqExt11(const void* request) override { return AnswerByTable<11>(request, 0); }
    int ReqExt12(const void* request) override { return AnswerByTable<12>(request, 0); }
    int ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) override;
    int ReqLogout(const NarvLogoutRecord* logout, int requestId) override;
    int ReqChangePassword(const NarvChangePasswordRecord* changePassword, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(16)
    int ReqAcknowledge(const NarvAcknowledgeRecord* acknowledge, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(18)
    NARV_TRADER_TABLE_ANSWER(19)
    NARV_TRADER_TABLE_ANSWER(20)
    NARV_TRADER_TABLE_ANSWER(21)
    NARV_TRADER_TABLE_ANSWER(22)
    int ReqInputOrder(const NarvInputOrderRecord* inputOrder, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(24)
    NARV_TRADER_TABLE_ANSWER(25)
    int ReqOrderCancel(const NarvOrderActionRecord* orderAction, int requestId) override;
    int ReqMaxOrderQtyQuery(const NarvMaxOrderQtyRecord* maxOrderQty, int requestId) override;
    int ReqSettlementConfirm(const NarvSettlementConfirmRecord* confirm, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(29)
    NARV_TRADER_TABLE_ANSWER(30)
    NARV_TRADER_TABLE_ANSWER(31)
    NARV_TRADER_TABLE_ANSWER(32)
    NARV_TRADER_TABLE_ANSWER(33)
    NARV_TRADER_TABLE_ANSWER(34)
    NARV_TRADER_TABLE_ANSWER(35)
    NARV_TRADER_TABLE_ANSWER(36)
    NARV_TRADER_TABLE_ANSWER(37)
    NARV_TRADER_TABLE_ANSWER(38)
    NARV_TRADER_TABLE_ANSWER(39)
    int ReqOrderQuery(const NarvOrderQueryRecord* orderQuery, int requestId) override;
    int ReqTradeQuery(const NarvTradeQueryRecord* tradeQuery, int requestId) override;
    int ReqPosiQuery(const NarvPosiQueryRecord* posiQuery, int requestId) override;
    int ReqFundQuery(const NarvFundQueryRecord* fundQuery, int requestId) override;
    int ReqInvestorQuery(const NarvInvestorQueryRecord* investorQuery, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(45)
    int ReqInvestorMarginRateQuery(const NarvInvestorMarginRateQueryRecord* marginRateQuery, int requestId) override;
    int ReqInvestorFeeRateQuery(const NarvInvestorFeeRateQueryRecord* feeRateQuery, int requestId) override;
    int ReqExchangeQuery(const NarvExchangeQueryRecord* exchangeQuery, int requestId) override;
    int ReqProductQuery(const NarvProductQueryRecord* productQuery, int requestId) override;
    int ReqInstrumentQuery(const NarvInstrumentQueryRecord* instrumentQuery, int requestId) override;
    int ReqQuotQuery(const NarvQuotQueryRecord* quotQuery, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(52)
    NARV_TRADER_TABLE_ANSWER(53)
    int ReqPosiDetailQuery(const NarvPosiDetailQueryRecord* posiDetailQuery, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(55)
    int ReqSettlementConfirmQuery(const NarvSettlementConfirmRecord* confirmQuery, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(57)
    NARV_TRADER_TABLE_ANSWER(58)
    NARV_TRADER_TABLE_ANSWER(59)
    NARV_TRADER_TABLE_ANSWER(60)
    int ReqExchangeMarginRateQuery(const NarvExchangeMarginRateQueryRecord* marginRateQuery, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(62)
    NARV_TRADER_TABLE_ANSWER(63)
    NARV_TRADER_TABLE_ANSWER(64)
    NARV_TRADER_TABLE_ANSWER(65)
    NARV_TRADER_TABLE_ANSWER(66)
    NARV_TRADER_TABLE_ANSWER(67)
    NARV_TRADER_TABLE_ANSWER(68)
    NARV_TRADER_TABLE_ANSWER(69)
    NARV_TRADER_TABLE_ANSWER(70)
    NARV_TRADER_TABLE_ANSWER(71)
    NARV_TRADER_TABLE_ANSWER(72)
    NARV_TRADER_TABLE_ANSWER(73)
    NARV_TRADER_TABLE_ANSWER(74)
    NARV_TRADER_TABLE_ANSWER(75)
    NARV_TRADER_TABLE_ANSWER(76)
    NARV_TRADER_TABLE_ANSWER(77)
    NARV_TRADER_TABLE_ANSWER(78)
    NARV_TRADER_TABLE_ANSWER(79)
    NARV_TRADER_TABLE_ANSWER(80)
    NARV_TRADER_TABLE_ANSWER(81)
    NARV_TRADER_TABLE_ANSWER(82)
    NARV_TRADER_TABLE_ANSWER(83)
    NARV_TRADER_TABLE_ANSWER(84)
    NARV_TRADER_TABLE_ANSWER(85)
    NARV_TRADER_TABLE_ANSWER(86)
    NARV_TRADER_TABLE_ANSWER(87)
    int ReqCurrencyQuery(const NarvCurrencyRecord* currencyQuery, int requestId) override;
    NARV_TRADER_TABLE_ANSWER(89)
    NARV_TRADER_TABLE_ANSWER(90)
    NARV_TRADER_TABLE_ANSWER(91)
    NARV_TRADER_TABLE_ANSWER(92)
    NARV_TRADER_TABLE_ANSWER(93)
    NARV_TRADER_TABLE_ANSWER(94)
    NARV_TRADER_TABLE_ANSWER(95)

    // ---- CNELOTradeSpi: the trade client's events, on its I/O thread ----
    void OnFrontConnected() override;
    void OnFrontDisconnected() override;
    void OnLoginRsp(const NELOLoginRspRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                    std::int32_t continuation) override;
    void OnLogoutRsp(const NELOInvestorRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                     std::int32_t continuation) override;
    void OnChangePasswordRsp(const NELOInvestorRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                             std::int32_t continuation) override;
    void OnInputOrderRsp(const NELOInputOrderRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                         std::int32_t continuation) override;
    void OnOrderNty(const NELOOrderRecord* record) override;
    void OnOrderCancelRsp(const NELOOrderCancelRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                          std::int32_t continuation) override;
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
    void OnInstrumentQueryRsp(const NELOInstrumentRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                              std::int32_t continuation) override;
    void OnPosiDetailQueryRsp(const NELOPosiDetailRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                              std::int32_t continuation) override;
    void OnProductQueryRsp(const NELOProductRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                           std::int32_t continuation) override;
    void OnExchangeQueryRsp(const NELOExchangeRecord* record, const NELORspInfoRecord* info, std::int32_t requestID,
                            std::int32_t continuation) override;
    void OnInvestorFeeRateQueryRsp(const NELOFeeRateRecord* record, const NELORspInfoRecord* info,
                                   std::int32_t requestID, std::int32_t continuation) override;
    void OnInvestorMarginRateQueryRsp(const NELOMarginRateRecord* record, const NELORspInfoRecord* info,
                                      std::int32_t requestID, std::int32_t continuation) override;
    void OnExchangeMarginRateQueryRsp(const NELOMarginRateRecord* record, const NELORspInfoRecord* info,
                                      std::int32_t requestID, std::int32_t continuation) override;

private:
    // What response info a local reply carries.
    enum class LocalInfo { None, Success };

    explicit CSqelTraderApiImpl(const CFacadeLocalClock& clock);
    ~CSqelTraderApiImpl();

    // Empty, "Not supported" and -3 answers, as the position's row says.
    template <int Position>
    int AnswerByTable(const void* request, int requestId) {
        static_assert(TraderAnsweredByTable(Position), "the table answers this position by itself");
        return AnswerByTable(Position, request, requestId);
    }
    int AnswerByTable(int position, const void* request, int requestId);
    // Queues `callback(record copy or null, info, requestId, true)` for the dispatch thread, addressed
    // to the callback object registered now; nothing when none is.
    template <class Record>
    void PostLocalReply(void (CNarvSqelTraderSpi::*callback)(const Record*, const NarvRspInfoRecord*, int, bool),
                        const Record* record, LocalInfo info, int requestId);
    // Converts one query reply row and hands it to the application.
    template <class Exported, class Received>
    void ForwardQueryReply(void (CNarvSqelTraderSpi::*callback)(const Exported*, const NarvRspInfoRecord*, int, bool),
                           void (*fill)(const Received&, const TraderSessionFields&, Exported*), const Received* record,
                           const NELORspInfoRecord* info, std::int32_t requestID, std::int32_t continuation);
    void ReleaseTradeClient();

    CSocketLibraryRef sockets_;  // the dispatch queue's own reference, as every I/O service holds one
    const CFacadeLocalClock& clock_;
    CTraderSession session_;
    std::atomic<CNarvSqelTraderSpi*> spi_{nullptr};
    CFacadeTradingDayTexts tradingDayTexts_;  // what GetTradingDay hands out
    CTraderDispatchQueue queue_;
    CNELOTradeApi* client_ = nullptr;  // owned; destroyed through its Release
};
