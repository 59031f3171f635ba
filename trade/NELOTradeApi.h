// The trade service client as seen by the trading facade: the request interface and the callback
// interface, each in its fixed slot order. Positions without a role keep their place.
//
// Requests return 0 once handed to the I/O thread and -1 when nothing was sent (no connection, or no
// record). Every callback arrives on the client's I/O thread; a record passed to a callback is valid
// only while that callback runs. Reply callbacks carry the request's RequestID and a continuation
// flag that is non-zero while more rows of the same reply follow.
#pragma once

#include <cstdint>

#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOSessionRecords.h"

// Query and account records live with their own layouts.
struct NELOQueryKeyRecord;
struct NELOProductKeyRecord;
struct NELOExchangeKeyRecord;
struct NELORateKeyRecord;
struct NELOQuotRecord;
struct NELOOrderRecord;
struct NELOTradeRecord;
struct NELOPosiRecord;
struct NELOPosiDetailRecord;
struct NELOFundRecord;
struct NELOInstrumentRecord;
struct NELOProductRecord;
struct NELOExchangeRecord;
struct NELOFeeRateRecord;
struct NELOMarginRateRecord;
struct NELODateRangeKeyRecord;
struct NELOHisKeyRecord;
struct NELOHisPosiKeyRecord;
struct NELOBulletinRecord;
struct NELONoticeRecord;
struct NELOFundTransferReqRecord;
struct NELOFundTransferRspRecord;
struct NELOFundTransferNtyRecord;
struct NELOFundIODetailRecord;
struct NELOReportRecord;
struct NELOAccountBindReqRecord;
struct NELOAccountBindRspRecord;
struct NELOAccountBindRecord;

class CNELOTradeSpi {
public:
    virtual void OnFrontConnected() {}
    virtual void OnFrontDisconnected() {}
    virtual void OnLoginRsp(const NELOLoginRspRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnLogoutRsp(const NELOInvestorRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnChangePasswordRsp(const NELOInvestorRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnInputOrderRsp(const NELOInputOrderRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnOrderNty(const NELOOrderRecord*) {}
    virtual void OnOrderCancelRsp(const NELOOrderCancelRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnMarketStatusNty(const NELOMarketStatusRecord*) {}
    virtual void OnTradeNty(const NELOTradeRecord*) {}
    virtual void OnQuotQueryRsp(const NELOQuotRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnOrderQueryRsp(const NELOOrderRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnTradeQueryRsp(const NELOTradeRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnPosiQueryRsp(const NELOPosiRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnFundQueryRsp(const NELOFundRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnInstrumentQueryRsp(const NELOInstrumentRecord*, const NELORspInfoRecord*, std::int32_t,
                                      std::int32_t) {}
    virtual void OnPosiDetailQueryRsp(const NELOPosiDetailRecord*, const NELORspInfoRecord*, std::int32_t,
                                      std::int32_t) {}
    virtual void OnProfitLossStopSetRsp(const NELOProfitLossStopRecord*, const NELORspInfoRecord*, std::int32_t,
                                        std::int32_t) {}
    virtual void OnPosiDetailNty(const NELOPosiDetailRecord*) {}
    virtual void OnFundNty(const NELOFundRecord*) {}
    virtual void OnPosiNty(const NELOPosiRecord*) {}
    virtual void OnInputOrderExRsp(const NELOInputOrderRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnBulletinQueryRsp(const NELOBulletinRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnNoticeQueryRsp(const NELONoticeRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnBulletinNty(const NELOBulletinRecord*) {}
    virtual void OnNoticeNty(const NELONoticeRecord*) {}
    virtual void OnElectronicFundIORsp(const NELOFundTransferRspRecord*, const NELORspInfoRecord*, std::int32_t,
                                       std::int32_t) {}
    virtual void OnElectronicFundIONty(const NELOFundTransferNtyRecord*) {}
    virtual void OnFundIODetailQueryRsp(const NELOFundIODetailRecord*, const NELORspInfoRecord*, std::int32_t,
                                        std::int32_t) {}
    virtual void OnReportQueryRsp(const NELOReportRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnHisOrderQueryRsp(const NELOOrderRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnHisTradeQueryRsp(const NELOTradeRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnHisBulletinQueryRsp(const NELOBulletinRecord*, const NELORspInfoRecord*, std::int32_t,
                                       std::int32_t) {}
    virtual void OnHisNoticeQueryRsp(const NELONoticeRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnAccountBindRsp(const NELOAccountBindRspRecord*, const NELORspInfoRecord*, std::int32_t,
                                  std::int32_t) {}
    virtual void OnAccountBindQueryRsp(const NELOAccountBindRecord*, const NELORspInfoRecord*, std::int32_t,
                                       std::int32_t) {}
    virtual void OnHisFundQueryRsp(const NELOFundRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnHisPosiDetailQueryRsp(const NELOPosiDetailRecord*, const NELORspInfoRecord*, std::int32_t,
                                         std::int32_t) {}
    virtual void OnAccountBindNty(const NELOAccountBindRecord*) {}
    virtual void OnProductQueryRsp(const NELOProductRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnExchangeQueryRsp(const NELOExchangeRecord*, const NELORspInfoRecord*, std::int32_t, std::int32_t) {}
    virtual void OnInvestorFeeRateQueryRsp(const NELOFeeRateRecord*, const NELORspInfoRecord*, std::int32_t,
                                           std::int32_t) {}
    virtual void OnInvestorMarginRateQueryRsp(const NELOMarginRateRecord*, const NELORspInfoRecord*, std::int32_t,
                                              std::int32_t) {}
    virtual void OnExchangeMarginRateQueryRsp(const NELOMarginRateRecord*, const NELORspInfoRecord*, std::int32_t,
                                              std::int32_t) {}

protected:
    ~CNELOTradeSpi() = default;  // never deleted through this interface
};

class CNELOTradeApi {
public:
    // Clears the callback object (no callback follows) and destroys the client.
    virtual void Release() = 0;
    virtual void RegisterSpi(CNELOTradeSpi* spi) = 0;
    virtual int Init() = 0;
    virtual int Stop() = 0;
    // "host:port"; fronts are tried in registration order.
    virtual void RegisterFront(const char* hostPort) = 0;
    virtual const char* GetErrorMsg(std::int32_t code) = 0;

    virtual int ReqLogin(const NELOLoginReqRecord* req, std::int32_t requestID) = 0;
    virtual int ReqLogout(const NELOInvestorRecord* req, std::int32_t requestID) = 0;
    // Modes per flow: 0 leave it, 1 from the beginning, 2 resume after the last seen push, else only new ones.
    virtual int ReqFlowSubscribe(std::int32_t flow1Mode, std::int32_t flow2Mode) = 0;
    virtual int ReqChangePassword(const NELOChangePasswordRecord* req, std::int32_t requestID) = 0;
    virtual int ReqInputOrder(const NELOInputOrderRecord* req, std::int32_t requestID) = 0;
    virtual int ReqOrderCancel(const NELOOrderCancelRecord* req, std::int32_t requestID) = 0;
    virtual int ReqQuotQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqOrderQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqTradeQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqPosiQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqFundQuery(const NELOInvestorRecord* key, std::int32_t requestID) = 0;
    virtual int ReqInstrumentQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqPosiDetailQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqProfitLossStopSet(const NELOProfitLossStopRecord* req, std::int32_t requestID) = 0;
    virtual int ReqInputOrderEx(const NELOInputOrderRecord* req, std::int32_t requestID) = 0;
    virtual int ReqBulletinQuery(const NELOInvestorRecord* key, std::int32_t requestID) = 0;
    virtual int ReqNoticeQuery(const NELOInvestorRecord* key, std::int32_t requestID) = 0;
    virtual int ReqElectronicFundIO(const NELOFundTransferReqRecord* req, std::int32_t requestID) = 0;
    virtual int ReqFundIODetailQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqReportQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqHisOrderQuery(const NELOHisKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqHisTradeQuery(const NELOHisKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqHisBulletinQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqHisNoticeQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqAccountBind(const NELOAccountBindReqRecord* req, std::int32_t requestID) = 0;
    virtual int ReqAccountBindQuery(const NELOInvestorRecord* key, std::int32_t requestID) = 0;
    virtual int ReqHisFundQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqHisPosiDetailQuery(const NELOHisPosiKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqProductQuery(const NELOProductKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqExchangeQuery(const NELOExchangeKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqInvestorFeeRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqInvestorMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) = 0;
    virtual int ReqExchangeMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) = 0;

protected:
    // Last position; the client is destroyed only through Release.
    virtual ~CNELOTradeApi() = default;
};
