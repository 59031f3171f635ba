#include "QuoteWire.h"

#include <cstring>

#include "APIPackage.h"
#include "NELOQuotRecords.h"
#include "QuotRecordFill.h"
#include "SimText.h"

using namespace quot;

static_assert(kSimQuoteMessageMaxSize == kAPIMessageMaxSize, "one message limit for both services");

namespace {

// Quote-service service numbers the simulator reads.
constexpr std::uint16_t kLoginReq = 116;
constexpr std::uint16_t kLogoutReq = 118;
constexpr std::uint16_t kSubscribeReq = 7;
constexpr std::uint16_t kUnSubscribeReq = 9;

void AddStatus(CAPIPackage& package, SimReplyStatus status) {
    NELORspInfoRecord info{};
    info.RspNo = status.code;
    SimCopy(info.RspDesc, status.text);
    TZOAddRecord(package, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
}

}  // namespace

void SimQuoteWireRead(const std::uint8_t* message, std::uint32_t length, SimQuoteRequest& request) {
    request = SimQuoteRequest{};
    CAPIPackage package;
    package.OpenReceived(message, length);
    request.serviceNo = package.ServiceNo;
    request.requestId = package.RequestID;
    switch (package.ServiceNo) {
        case kLoginReq: {
            NELOQuotLoginReqRecord login{};
            TZOReadGroup(package, TZOField::LoginReq.id, kNELOQuotLoginReqLayout, &login);
            SimCopy(request.investorId, SimText(login.InvestorID));
            SimCopy(request.password, SimText(login.InvestorPassword));
            break;
        }
        case kLogoutReq: {
            NELOInvestorRecord investor{};
            TZOReadGroup(package, TZOField::LogoutReq.id, kNELOInvestorLayout, &investor);
            SimCopy(request.investorId, SimText(investor.InvestorID));
            break;
        }
        case kSubscribeReq:
        case kUnSubscribeReq: {
            NELOQuotKeyRecord key{};
            const auto group =
                package.ServiceNo == kSubscribeReq ? TZOField::QuotSubscribeReq.id : TZOField::QuotUnSubscribeReq.id;
            TZOReadGroup(package, group, kNELOQuotKeyLayout, &key);
            SimCopy(request.investorId, SimText(key.InvestorID));
            SimCopy(request.instrumentId, SimText(key.InstrumentID));
            break;
        }
        default:
            break;
    }
}

std::uint32_t SimQuoteWireLoginReply(std::uint8_t* buffer, std::int32_t requestId, SimReplyStatus status,
                                     const SimLoginGrant* grant) {
    CAPIPackage package;
    package.Begin(kLoginReq + 1, requestId, buffer);
    AddStatus(package, status);
    if (grant) {
        NELOLoginRspRecord login{};
        SimCopy(login.InvestorID, grant->investorId);
        SimCopy(login.TradeDate, grant->tradingDay);
        SimCopy(login.InvestorName, grant->investorName);
        SimCopy(login.SysName, grant->systemName);
        login.SessionID = grant->sessionId;
        TZOAddRecord(package, TZOField::LoginRsp.id, kNELOLoginRspLayout, &login);
    }
    return package.Length();
}

std::uint32_t SimQuoteWireLogoutReply(std::uint8_t* buffer, std::int32_t requestId, SimReplyStatus status,
                                      const char* investorId) {
    CAPIPackage package;
    package.Begin(kLogoutReq + 1, requestId, buffer);
    AddStatus(package, status);
    NELOInvestorRecord investor{};
    SimCopy(investor.InvestorID, investorId);
    TZOAddRecord(package, TZOField::LogoutRsp.id, kNELOInvestorLayout, &investor);
    return package.Length();
}

std::uint32_t SimQuoteWireSubscriptionReply(std::uint8_t* buffer, std::uint16_t serviceNo, std::int32_t requestId,
                                            SimReplyStatus status, const char* instrumentId) {
    CAPIPackage package;
    package.Begin(serviceNo, requestId, buffer);
    AddStatus(package, status);
    NELOInstrumentRecord instrument{};
    SimCopy(instrument.InstrumentID, instrumentId);
    const auto group = serviceNo == kSubscribeReq + 1 ? TZOField::QuotSubscribeRsp.id : TZOField::QuotUnSubscribeRsp.id;
    TZOAddRecord(package, group, kNELOInstrumentLayout, &instrument);
    return package.Length();
}

std::uint32_t SimQuoteWireStatusReply(std::uint8_t* buffer, std::uint16_t serviceNo, std::int32_t requestId,
                                      SimReplyStatus status) {
    CAPIPackage package;
    package.Begin(serviceNo, requestId, buffer);
    AddStatus(package, status);
    return package.Length();
}

std::uint32_t SimQuoteWireQuote(std::uint8_t* buffer, const SimDepthSnapshot& snapshot) {
    CAPIPackage package;
    package.Begin(125, 0, buffer);
    NELOQuotRecord quote;
    SimFillQuotRecord(snapshot, quote);
    TZOAddRecord(package, TZOField::Quot.id, kNELOQuotLayout, &quote);
    return package.Length();
}
