// The market-data API object behind CNarvSqelMdApi: a translator between the application's records and
// the quote client's. It owns the quote client and is its only callback object; it has no thread of its
// own, so every application callback runs on the quote client's I/O thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "FacadeClock.h"
#include "FacadeTradingDayTexts.h"
#include "NELOQuotApiImp.h"
#include "NarvSqelMdApi.h"

class CSqelMdApiImpl final : public CNarvSqelMdApi, public quot::CNELOQuotSpi {
public:
    // A new object on the given clock (the computer's own unless a test fixes the time). Destroyed only
    // by Release.
    explicit CSqelMdApiImpl(const CFacadeLocalClock& clock = CFacadeSystemClock::Instance());
    CSqelMdApiImpl(const CSqelMdApiImpl&) = delete;
    CSqelMdApiImpl& operator=(const CSqelMdApiImpl&) = delete;

    // CNarvSqelMdApi
    void Release() override;
    void Init() override;
    int Join() override;
    const char* GetTradingDay() override;
    void RegisterFront(const char* frontAddress) override;
    void RegisterExt5(const void* address) override;
    void RegisterExt6(const void* address) override;
    void RegisterSpi(CNarvSqelMdSpi* spi) override;
    int ReqQuotSubscribe(const char* const* instrumentIDs, int count) override;
    int ReqQuotUnSubscribe(const char* const* instrumentIDs, int count) override;
    int ReqExt10(const char* const* instrumentIDs, int count) override;
    int ReqExt11(const char* const* instrumentIDs, int count) override;
    int ReqLogin(const NarvLoginReqRecord* loginReq, int requestId) override;
    int ReqLogout(const NarvLogoutRecord* logout, int requestId) override;
    int ReqExt14(const void* request, int requestId) override;

    // CNELOQuotSpi
    void OnFrontConnected() override;
    void OnFrontDisconnected() override;
    void OnLoginRsp(quot::NELOLoginRspRecord* record, quot::NELORspInfoRecord* info, std::int32_t requestId,
                    std::int32_t continuation) override;
    void OnLogoutRsp(quot::NELOInvestorRecord* record, quot::NELORspInfoRecord* info, std::int32_t requestId,
                     std::int32_t continuation) override;
    void OnQuotSubscribeRsp(quot::NELOInstrumentRecord* record, quot::NELORspInfoRecord* info, std::int32_t requestId,
                            std::int32_t continuation) override;
    void OnQuotUnSubscribeRsp(quot::NELOInstrumentRecord* record, quot::NELORspInfoRecord* info, std::int32_t requestId,
                              std::int32_t continuation) override;
    void OnQuotNty(quot::NELOQuotRecord* record) override;

private:
    ~CSqelMdApiImpl();

    using QuoteRequest = int (quot::CNELOQuotApi::*)(const quot::NELOQuotKeyRecord*, std::int32_t);
    void RequestEachInstrument(QuoteRequest request, const char* const* instrumentIDs, int count);
    void DeliverInstrumentReply(void (CNarvSqelMdSpi::*callback)(const NarvQuotInstrumentRecord*,
                                                                 const NarvRspInfoRecord*, int, bool),
                                const quot::NELOInstrumentRecord* record, const quot::NELORspInfoRecord* info,
                                std::int32_t requestId);

    // Session fields: written by ReqLogin on the caller's thread and by the login reply on the I/O
    // thread, so both sides hold the lock.
    std::mutex sessionMutex_;
    char investorId_[16] = {};
    char logoutInvestorId_[16] = {};  // the same value; the logout request and reply read this copy
    char firmId_[11] = {};
    std::int32_t frontId_ = 0;
    std::int32_t sessionId_ = 0;
    char tradingDay_[9] = {};                 // of the last login reply
    CFacadeTradingDayTexts tradingDayTexts_;  // what GetTradingDay hands out

    const CFacadeLocalClock& clock_;

    quot::CNELOQuotApiImp* quote_;
    std::atomic<CNarvSqelMdSpi*> spi_{nullptr};
};
