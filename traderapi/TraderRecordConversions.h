// Conversions between the application's records and the trade client's. Requests are built into
// zeroed back-end records; replies fill zeroed application records. Each function reads the session
// fields from a copy taken by its caller, so none of them touches shared state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "FacadeClock.h"
#include "FacadeText.h"
#include "NELOQueryRecords.h"
#include "NELOTradeApi.h"
#include "NarvSqelTraderApi.h"
#include "TraderSession.h"

// ---- requests -----------------------------------------------------------------------------------

NELOLoginReqRecord TraderBuildLoginReq(const TraderSessionFields& session, const NarvLoginReqRecord& request);
NELOInvestorRecord TraderBuildInvestorKey(const TraderSessionFields& session);
NELOChangePasswordRecord TraderBuildChangePassword(const TraderSessionFields& session,
                                                   const NarvChangePasswordRecord& request);
NELOInputOrderRecord TraderBuildInputOrder(const TraderSessionFields& session, const NarvInputOrderRecord& request);
NELOOrderCancelRecord TraderBuildOrderCancel(const NarvOrderActionRecord& request);

// The two shapes of a query key, filled from the session investor and the request's exchange and
// instrument filters (each request record names them ExchangeID and InstrumentID at its own offsets).
template <class QueryRequest>
NELOQueryKeyRecord TraderBuildQueryKey(const TraderSessionFields& session, const QueryRequest& request) {
    NELOQueryKeyRecord key{};
    FacadeCopyText(key.InvestorID, session.investorID, 15);
    FacadeCopyText(key.ExchangeID, request.ExchangeID, 16);
    FacadeCopyText(key.InstrumentID, request.InstrumentID, 15);
    return key;
}
template <class RateRequest>
NELORateKeyRecord TraderBuildRateKey(const TraderSessionFields& session, const RateRequest& request) {
    NELORateKeyRecord key{};
    FacadeCopyText(key.InvestorID, session.investorID, 15);
    FacadeCopyText(key.ExchangeID, request.ExchangeID, 16);
    FacadeCopyText(key.InstrumentID, request.InstrumentID, 15);
    return key;
}
NELOExchangeKeyRecord TraderBuildExchangeKey(const NarvExchangeQueryRecord& request);
// The product class decides InstrumentType; false for the classes answered locally as not supported.
bool TraderBuildProductKey(const NarvProductQueryRecord& request, NELOProductKeyRecord* key);

// ---- replies ------------------------------------------------------------------------------------

void TraderFillRspInfo(const NELORspInfoRecord& source, NarvRspInfoRecord* target);
// The login reply as both libraries fill it, from this object's session.
void TraderFillLoginRsp(const NELOLoginRspRecord& source, const TraderSessionFields& session,
                        const FacadeLocalTime& now, NarvLoginRspRecord* target);
void TraderFillLogout(const TraderSessionFields& session, NarvLogoutRecord* target);
void TraderFillChangePassword(const TraderSessionFields& session, const NarvChangePasswordRecord& saved,
                              NarvChangePasswordRecord* target);
void TraderFillInputOrderRsp(const NELOInputOrderRecord& source, const TraderSessionFields& session,
                             NarvInputOrderRecord* target);
void TraderFillOrderActionRsp(const NELOOrderCancelRecord& source, const TraderSessionFields& session,
                              std::int32_t requestID, NarvOrderActionRecord* target);
void TraderFillOrder(const NELOOrderRecord& source, const TraderSessionFields& session, NarvOrderRecord* target);
void TraderFillTrade(const NELOTradeRecord& source, const TraderSessionFields& session, NarvTradeRecord* target);
void TraderFillFund(const NELOFundRecord& source, const TraderSessionFields& session, NarvFundRecord* target);
void TraderFillPosi(const NELOPosiRecord& source, const TraderSessionFields& session, NarvPosiRecord* target);
void TraderFillPosiDetail(const NELOPosiDetailRecord& source, const TraderSessionFields& session,
                          NarvPosiDetailRecord* target);
void TraderFillInstrument(const NELOInstrumentRecord& source, const TraderSessionFields& session,
                          NarvInstrumentRecord* target);
void TraderFillFeeRate(const NELOFeeRateRecord& source, const TraderSessionFields& session,
                       NarvInvestorFeeRateRecord* target);
void TraderFillInvestorMarginRate(const NELOMarginRateRecord& source, const TraderSessionFields& session,
                                  NarvInvestorMarginRateRecord* target);
void TraderFillExchangeMarginRate(const NELOMarginRateRecord& source, const TraderSessionFields& session,
                                  NarvExchangeMarginRateRecord* target);
void TraderFillProduct(const NELOProductRecord& source, const TraderSessionFields& session, NarvProductRecord* target);
void TraderFillExchange(const NELOExchangeRecord& source, const TraderSessionFields& session,
                        NarvExchangeRecord* target);
void TraderFillQuot(const NELOQuotRecord& source, const TraderSessionFields& session, NarvQuotRecord* target);
