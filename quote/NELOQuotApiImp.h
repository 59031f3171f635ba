// The quote service client: sends the quote service's requests over one back-end connection and turns
// every received package into one callback of its CNELOQuotSpi.
#pragma once

#include <atomic>
#include <cstdint>

#include "BackendClient.h"
#include "ConnectionOwner.h"
#include "NELOQuotApi.h"
#include "NELOQuotCatalog.h"

namespace quot {

class CNELOQuotApiImp final : public CNELOQuotApi, private CConnectionOwner {
public:
    CNELOQuotApiImp();
    ~CNELOQuotApiImp() override;
    CNELOQuotApiImp(const CNELOQuotApiImp&) = delete;
    CNELOQuotApiImp& operator=(const CNELOQuotApiImp&) = delete;

    void Release() override;
    // Register before Init; the callbacks run on the I/O thread.
    void RegisterSpi(CNELOQuotSpi* spi) override;
    int Init() override;
    // Once it returns no callback runs or will run; requests then return -1.
    int Stop() override;
    void RegisterFront(const char* hostPort) override;
    const char* GetErrorMsg(std::int32_t code) override;

    int ReqLogin(const NELOQuotLoginReqRecord* record, std::int32_t requestId) override;
    int ReqLogout(const NELOInvestorRecord* record, std::int32_t requestId) override;
    int ReqQuotSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) override;
    int ReqQuotUnSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) override;
    int ReqMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) override;
    int ReqDayDataQuery(const NELODayDataKeyRecord* record, std::int32_t requestId) override;
    int ReqSecondMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) override;
    int ReqThirdMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) override;
    int ReqTradeDetailDataQuery(const NELOTradeDetailKeyRecord* record, std::int32_t requestId) override;

    // Tests shorten the silence after which a connection counts as lost; call before Init.
    void SetHeartbeatTimeout(std::uint16_t seconds);

private:
    void OnFrontConnected() override;
    void OnFrontDisconnected() override;
    int DispatchPackage(CAPIPackage& package) override;

    // Sends the record as the catalogue's request `id`: its ServiceNo, its group, its layout.
    template <class Record>
    int Post(NELOQuotMessage id, const Record* record, std::int32_t requestId);

    std::atomic<CNELOQuotSpi*> spi_{nullptr};
    CBackendClient client_;
};

}  // namespace quot
