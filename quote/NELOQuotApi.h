// The quote service client as its owner sees it: requests in one interface, replies and pushes in the
// other. Both keep their positions fixed; a position without a role keeps its place.
#pragma once

#include <cstdint>

#include "NELOQuotRecords.h"

namespace quot {

// Callbacks of the quote client. All run on the client's I/O thread, one at a time; records are valid
// only while the callback runs. Reply callbacks carry (record, reply info, request number, continuation
// flag): the flag is non-zero while more rows of the same reply follow.
class CNELOQuotSpi {
public:
    virtual void OnFrontConnected() {}
    virtual void OnFrontDisconnected() {}
    virtual void OnLoginRsp(NELOLoginRspRecord* /*record*/, NELORspInfoRecord* /*info*/, std::int32_t /*requestId*/,
                            std::int32_t /*continuation*/) {}
    virtual void OnLogoutRsp(NELOInvestorRecord* /*record*/, NELORspInfoRecord* /*info*/, std::int32_t /*requestId*/,
                             std::int32_t /*continuation*/) {}
    virtual void OnQuotSubscribeRsp(NELOInstrumentRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                    std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}
    virtual void OnQuotUnSubscribeRsp(NELOInstrumentRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                      std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}
    virtual void OnQuotNty(NELOQuotRecord* /*record*/) {}
    virtual void OnMinDataQueryRsp(NELOMinDataRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                   std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}
    virtual void OnDayDataQueryRsp(NELODayDataRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                   std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}
    virtual void OnSecondMinDataQueryRsp(NELOMinDataRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                         std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}
    virtual void OnThirdMinDataQueryRsp(NELOMinDataRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                        std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}
    virtual void OnTradeDetailDataQueryRsp(NELOTradeDetailRecord* /*record*/, NELORspInfoRecord* /*info*/,
                                           std::int32_t /*requestId*/, std::int32_t /*continuation*/) {}

protected:
    ~CNELOQuotSpi() = default;
};

// Requests of the quote client. Each returns 0 once the request is handed to the I/O thread and -1 when
// it cannot be (not started, not connected, stopped, or no record given); the caller's record may be
// reused at once.
class CNELOQuotApi {
public:
    virtual void Release() = 0;
    virtual void RegisterSpi(CNELOQuotSpi* spi) = 0;
    virtual int Init() = 0;
    virtual int Stop() = 0;
    virtual void RegisterFront(const char* hostPort) = 0;
    virtual const char* GetErrorMsg(std::int32_t code) = 0;
    virtual int ReqLogin(const NELOQuotLoginReqRecord* record, std::int32_t requestId) = 0;
    virtual int ReqLogout(const NELOInvestorRecord* record, std::int32_t requestId) = 0;
    virtual int ReqQuotSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) = 0;
    virtual int ReqQuotUnSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) = 0;
    virtual int ReqMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) = 0;
    virtual int ReqDayDataQuery(const NELODayDataKeyRecord* record, std::int32_t requestId) = 0;
    virtual int ReqSecondMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) = 0;
    virtual int ReqThirdMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) = 0;
    virtual int ReqTradeDetailDataQuery(const NELOTradeDetailKeyRecord* record, std::int32_t requestId) = 0;

protected:
    // Last position; objects are destroyed through Release.
    virtual ~CNELOQuotApi() = default;
};

}  // namespace quot
