#include "TraderLocalReplies.h"

#include <cstring>

#include "TraderText.h"

NarvAuthenticateRspRecord TraderBuildAuthenticateRsp(const NarvAuthenticateReqRecord& request) {
    NarvAuthenticateRspRecord reply{};
    TraderCopyText(reply.FirmID, request.FirmID, 10);
    TraderCopyText(reply.InvestorID, request.InvestorID, 15);
    TraderCopyText(reply.UserProductInfo, request.UserProductInfo, 10);
    return reply;
}

NarvAcknowledgeRecord TraderBuildAcknowledge() {
    NarvAcknowledgeRecord reply{};
    reply.Result = 0;
    return reply;
}

NarvMaxOrderQtyRecord TraderBuildMaxOrderQty(const NarvMaxOrderQtyRecord& request) {
    NarvMaxOrderQtyRecord reply{};
    TraderCopyText(reply.FirmID, request.FirmID, 10);
    TraderCopyText(reply.InvestorID, request.InvestorID, 12);
    reply.BSFlag = request.BSFlag;
    reply.OCFlag = request.OCFlag;
    reply.HedgeFlag = request.HedgeFlag;
    reply.MaxQty = 2147483647;  // no limit is known here
    TraderCopyText(reply.ExchangeID, request.ExchangeID, 8);
    TraderCopyText(reply.InvestorUnit, request.InvestorUnit, 16);
    TraderCopyText(reply.InstrumentID, request.InstrumentID, 80);
    return reply;
}

namespace {

void StampConfirmation(const TraderSessionFields& session, const TraderLocalTime& now,
                       NarvSettlementConfirmRecord* reply) {
    std::memset(reply->FirmID, 0, sizeof(reply->FirmID));
    std::memset(reply->InvestorID, 0, sizeof(reply->InvestorID));
    TraderCopyText(reply->FirmID, session.firmID, 10);
    TraderCopyText(reply->InvestorID, session.investorID, 12);
    CTraderLocalClock::FormatDate(now, reply->ConfirmDate);
    CTraderLocalClock::FormatTime(now, reply->ConfirmTime);
}

}  // namespace

NarvSettlementConfirmRecord TraderBuildSettlementConfirm(const NarvSettlementConfirmRecord& request,
                                                         const TraderSessionFields& session,
                                                         const TraderLocalTime& now) {
    NarvSettlementConfirmRecord reply = request;  // the request's bytes are the starting point
    std::memset(reply.AccountID, 0, sizeof(reply.AccountID));
    TraderCopyText(reply.AccountID, request.AccountID, 12);
    StampConfirmation(session, now, &reply);
    return reply;
}

NarvSettlementConfirmRecord TraderBuildSettlementConfirmQuery(const TraderSessionFields& session,
                                                              const TraderLocalTime& now) {
    NarvSettlementConfirmRecord reply{};
    StampConfirmation(session, now, &reply);
    return reply;
}

NarvInvestorRecord TraderBuildInvestor(const TraderSessionFields& session) {
    NarvInvestorRecord reply{};
    TraderCopyText(reply.InvestorID, session.investorID, 12);
    TraderCopyText(reply.FirmID, session.firmID, 10);
    TraderCopyText(reply.InvestorName, session.investorID, 80);
    reply.IsActive = 1;
    return reply;
}

NarvCurrencyRecord TraderBuildCurrency(const TraderSessionFields& session) {
    NarvCurrencyRecord reply{};
    TraderCopyText(reply.FirmID, session.firmID, 10);
    TraderCopyText(reply.InvestorID, session.investorID, 12);
    reply.CurrencyKind = '4';
    reply.SettleKind = '2';
    TraderCopyText(reply.CurrencyID, "RMB", 3);
    reply.AccountKind = '4';
    return reply;
}
