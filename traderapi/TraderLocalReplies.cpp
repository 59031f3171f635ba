#include "TraderLocalReplies.h"

#include <cstring>

#include "FacadeText.h"

NarvAuthenticateRspRecord TraderBuildAuthenticateRsp(const NarvAuthenticateReqRecord& request) {
    NarvAuthenticateRspRecord reply{};
    FacadeCopyText(reply.FirmID, request.FirmID, 10);
    FacadeCopyText(reply.InvestorID, request.InvestorID, 15);
    FacadeCopyText(reply.UserProductInfo, request.UserProductInfo, 10);
    return reply;
}

NarvAcknowledgeRecord TraderBuildAcknowledge() {
    NarvAcknowledgeRecord reply{};
    reply.Result = 0;
    return reply;
}

NarvMaxOrderQtyRecord TraderBuildMaxOrderQty(const NarvMaxOrderQtyRecord& request) {
    NarvMaxOrderQtyRecord reply{};
    FacadeCopyText(reply.FirmID, request.FirmID, 10);
    FacadeCopyText(reply.InvestorID, request.InvestorID, 12);
    reply.BSFlag = request.BSFlag;
    reply.OCFlag = request.OCFlag;
    reply.HedgeFlag = request.HedgeFlag;
    reply.MaxQty = 2147483647;  // no limit is known here
    FacadeCopyText(reply.ExchangeID, request.ExchangeID, 8);
    FacadeCopyText(reply.InvestorUnit, request.InvestorUnit, 16);
    FacadeCopyText(reply.InstrumentID, request.InstrumentID, 80);
    return reply;
}

namespace {

void StampConfirmation(const TraderSessionFields& session, const FacadeLocalTime& now,
                       NarvSettlementConfirmRecord* reply) {
    std::memset(reply->FirmID, 0, sizeof(reply->FirmID));
    std::memset(reply->InvestorID, 0, sizeof(reply->InvestorID));
    FacadeCopyText(reply->FirmID, session.firmID, 10);
    FacadeCopyText(reply->InvestorID, session.investorID, 12);
    CFacadeLocalClock::FormatDate(now, reply->ConfirmDate);
    CFacadeLocalClock::FormatTime(now, reply->ConfirmTime);
}

}  // namespace

NarvSettlementConfirmRecord TraderBuildSettlementConfirm(const NarvSettlementConfirmRecord& request,
                                                         const TraderSessionFields& session,
                                                         const FacadeLocalTime& now) {
    NarvSettlementConfirmRecord reply = request;  // the request's bytes are the starting point
    std::memset(reply.AccountID, 0, sizeof(reply.AccountID));
    FacadeCopyText(reply.AccountID, request.AccountID, 12);
    StampConfirmation(session, now, &reply);
    return reply;
}

NarvSettlementConfirmRecord TraderBuildSettlementConfirmQuery(const TraderSessionFields& session,
                                                              const FacadeLocalTime& now) {
    NarvSettlementConfirmRecord reply{};
    StampConfirmation(session, now, &reply);
    return reply;
}

NarvInvestorRecord TraderBuildInvestor(const TraderSessionFields& session) {
    NarvInvestorRecord reply{};
    FacadeCopyText(reply.InvestorID, session.investorID, 12);
    FacadeCopyText(reply.FirmID, session.firmID, 10);
    FacadeCopyText(reply.InvestorName, session.investorID, 80);
    reply.IsActive = 1;
    return reply;
}

NarvCurrencyRecord TraderBuildCurrency(const TraderSessionFields& session) {
    NarvCurrencyRecord reply{};
    FacadeCopyText(reply.FirmID, session.firmID, 10);
    FacadeCopyText(reply.InvestorID, session.investorID, 12);
    reply.CurrencyKind = '4';
    reply.SettleKind = '2';
    FacadeCopyText(reply.CurrencyID, "RMB", 3);
    reply.AccountKind = '4';
    return reply;
}
