// The trade service client: turns each request into one envelope package on the current connection and
// each received package into one or more callbacks of the registered callback object.
//
//     CNELOTradeApiImp* client = new CNELOTradeApiImp;
//     client->RegisterSpi(&spi);
//     client->RegisterFront("10.0.0.1:7001");   // any number, tried in order
//     client->Init();                            // OnFrontConnected follows on the I/O thread
//     ...
//     client->Release();                         // clears the spi, stops and destroys
//
// Release may also be called from inside one of the client's own callbacks: no callback follows it.
// Requests may be issued from any thread; each copies its record, so the caller may reuse it at once.
#pragma once

#include <cstdint>
#include <memory>

#include "BackendClient.h"
#include "NELOTradeApi.h"
#include "NELOTradeCatalog.h"
#include "NELOTradeSession.h"

class CNELOTradeApiImp final : public CNELOTradeApi, public CConnectionOwner {
public:
    CNELOTradeApiImp();
    // Stops first: no callback runs once destruction has begun.
    ~CNELOTradeApiImp() override;
    CNELOTradeApiImp(const CNELOTradeApiImp&) = delete;
    CNELOTradeApiImp& operator=(const CNELOTradeApiImp&) = delete;

    void Release() override;
    void RegisterSpi(CNELOTradeSpi* spi) override;
    int Init() override;
    int Stop() override;
    void RegisterFront(const char* hostPort) override;
    const char* GetErrorMsg(std::int32_t code) override;

    int ReqLogin(const NELOLoginReqRecord* req, std::int32_t requestID) override;
    int ReqLogout(const NELOInvestorRecord* req, std::int32_t requestID) override;
    int ReqFlowSubscribe(std::int32_t flow1Mode, std::int32_t flow2Mode) override;
    int ReqChangePassword(const NELOChangePasswordRecord* req, std::int32_t requestID) override;
    int ReqInputOrder(const NELOInputOrderRecord* req, std::int32_t requestID) override;
    int ReqOrderCancel(const NELOOrderCancelRecord* req, std::int32_t requestID) override;
    int ReqQuotQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) override;
    int ReqOrderQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) override;
    int ReqTradeQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) override;
    int ReqPosiQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) override;
    int ReqFundQuery(const NELOInvestorRecord* key, std::int32_t requestID) override;
    int ReqInstrumentQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) override;
    int ReqPosiDetailQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) override;
    int ReqProfitLossStopSet(const NELOProfitLossStopRecord* req, std::int32_t requestID) override;
    int ReqInputOrderEx(const NELOInputOrderRecord* req, std::int32_t requestID) override;
    int ReqBulletinQuery(const NELOInvestorRecord* key, std::int32_t requestID) override;
    int ReqNoticeQuery(const NELOInvestorRecord* key, std::int32_t requestID) override;
    int ReqElectronicFundIO(const NELOFundTransferReqRecord* req, std::int32_t requestID) override;
    int ReqFundIODetailQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) override;
    int ReqReportQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) override;
    int ReqHisOrderQuery(const NELOHisKeyRecord* key, std::int32_t requestID) override;
    int ReqHisTradeQuery(const NELOHisKeyRecord* key, std::int32_t requestID) override;
    int ReqHisBulletinQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) override;
    int ReqHisNoticeQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) override;
    int ReqAccountBind(const NELOAccountBindReqRecord* req, std::int32_t requestID) override;
    int ReqAccountBindQuery(const NELOInvestorRecord* key, std::int32_t requestID) override;
    int ReqHisFundQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) override;
    int ReqHisPosiDetailQuery(const NELOHisPosiKeyRecord* key, std::int32_t requestID) override;
    int ReqProductQuery(const NELOProductKeyRecord* key, std::int32_t requestID) override;
    int ReqExchangeQuery(const NELOExchangeKeyRecord* key, std::int32_t requestID) override;
    int ReqInvestorFeeRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) override;
    int ReqInvestorMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) override;
    int ReqExchangeMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) override;

    // Connection events and received packages, on the I/O thread.
    void OnFrontConnected() override;
    void OnFrontDisconnected() override;
    int DispatchPackage(CAPIPackage& package) override;

    // Before Init. What ships keeps the defaults; tests shorten the intervals.
    void SetTransportSettings(const TransportSettings& settings) { client_.SetTransportSettings(settings); }

private:
    // Sends the record as the catalogue's request `id`: its ServiceNo, its group, its layout.
    template <class Record>
    int PostRecord(NELOTradeMessage id, const Record* record, std::int32_t requestID);

    // Shared with the package being dispatched: a callback may release the client, and the rest of
    // that package (further rows, the flow's sequence) is still worked off against a live session.
    std::shared_ptr<CNELOTradeSession> session_ = std::make_shared<CNELOTradeSession>();
    CBackendClient client_;  // last: stopped and destroyed before the session it dispatches into
};
