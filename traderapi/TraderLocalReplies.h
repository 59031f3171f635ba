// The records of the requests that the facade answers by itself, built from the request, the session
// and the local clock.
#pragma once

#include "FacadeClock.h"
#include "NarvSqelTraderApi.h"
#include "TraderSession.h"

NarvAuthenticateRspRecord TraderBuildAuthenticateRsp(const NarvAuthenticateReqRecord& request);
NarvAcknowledgeRecord TraderBuildAcknowledge();
NarvMaxOrderQtyRecord TraderBuildMaxOrderQty(const NarvMaxOrderQtyRecord& request);
// ReqSettlementConfirm echoes the request's account and settlement number ...
NarvSettlementConfirmRecord TraderBuildSettlementConfirm(const NarvSettlementConfirmRecord& request,
                                                         const TraderSessionFields& session,
                                                         const FacadeLocalTime& now);
// ... ReqSettlementConfirmQuery reads no request at all.
NarvSettlementConfirmRecord TraderBuildSettlementConfirmQuery(const TraderSessionFields& session,
                                                              const FacadeLocalTime& now);
NarvInvestorRecord TraderBuildInvestor(const TraderSessionFields& session);
NarvCurrencyRecord TraderBuildCurrency(const TraderSessionFields& session);
