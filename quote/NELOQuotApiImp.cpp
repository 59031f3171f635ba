#include "NELOQuotApiImp.h"

#include <cstring>

#include "APIPackage.h"
#include "NELOErrorMessages.h"

namespace quot {

namespace {

using RequestRoute = CNELOQuotApiImp::RequestRoute;

// Service numbers and groups of every request. The three minute-data services carry the same group;
// which data each serves is the server's business.
const RequestRoute kLoginRoute{116, TZOField::LoginReq.id, &kNELOQuotLoginReqLayout};
const RequestRoute kLogoutRoute{118, TZOField::LogoutReq.id, &kNELOInvestorLayout};
const RequestRoute kSubscribeRoute{7, TZOField::QuotSubscribeReq.id, &kNELOQuotKeyLayout};
const RequestRoute kUnSubscribeRoute{9, TZOField::QuotUnSubscribeReq.id, &kNELOQuotKeyLayout};
const RequestRoute kMinDataRoute{150, TZOField::MinDataQueryReq.id, &kNELOMinDataKeyLayout};
const RequestRoute kDayDataRoute{152, TZOField::DayDataQueryReq.id, &kNELODayDataKeyLayout};
const RequestRoute kSecondMinDataRoute{192, TZOField::MinDataQueryReq.id, &kNELOMinDataKeyLayout};
const RequestRoute kThirdMinDataRoute{194, TZOField::MinDataQueryReq.id, &kNELOMinDataKeyLayout};
const RequestRoute kTradeDetailRoute{211, TZOField::TradeDetailDataQueryReq.id, &kNELOTradeDetailKeyLayout};

constexpr std::uint16_t kRspInfoGroup = TZOField::RspInfo.id;

template <class Record>
using ReplyCallback = void (CNELOQuotSpi::*)(Record*, NELORspInfoRecord*, std::int32_t, std::int32_t);

// A group that is missing or does not decode leaves the record zeroed rather than half filled.
template <class Record>
bool ReadGroupOrZero(CAPIPackage& package, std::uint16_t groupId, const TZORecordLayout& layout, Record& record) {
    if (TZOReadGroup(package, groupId, layout, &record) == 0) return true;
    record = Record{};
    return false;
}

// Login and logout replies: the owner always gets both records, zeroed where a group is missing.
template <class Record, const TZORecordLayout& Layout, std::uint16_t GroupId, ReplyCallback<Record> Callback>
void DeliverSessionReply(CNELOQuotSpi& spi, CAPIPackage& package) {
    NELORspInfoRecord info{};
    ReadGroupOrZero(package, kRspInfoGroup, kNELORspInfoLayout, info);
    Record record{};
    ReadGroupOrZero(package, GroupId, Layout, record);
    (spi.*Callback)(&record, &info, package.RequestID, package.EndFlag);
}

// Other single-record replies: a pointer is null where its group is missing or does not decode.
template <class Record, const TZORecordLayout& Layout, std::uint16_t GroupId, ReplyCallback<Record> Callback>
void DeliverSingleReply(CNELOQuotSpi& spi, CAPIPackage& package) {
    NELORspInfoRecord info{};
    const bool hasInfo = ReadGroupOrZero(package, kRspInfoGroup, kNELORspInfoLayout, info);
    Record record{};
    const bool hasRecord = ReadGroupOrZero(package, GroupId, Layout, record);
    (spi.*Callback)(hasRecord ? &record : nullptr, hasInfo ? &info : nullptr, package.RequestID, package.EndFlag);
}

// List replies: one callback per complete row, flagged 1 while more rows follow in this package and with
// the package's EndFlag on the last row; one callback with a null record when there is no row at all.
template <class Record, const TZORecordLayout& Layout, std::uint16_t ListId, ReplyCallback<Record> Callback>
void DeliverListReply(CNELOQuotSpi& spi, CAPIPackage& package) {
    NELORspInfoRecord info{};
    NELORspInfoRecord* infoArg = ReadGroupOrZero(package, kRspInfoGroup, kNELORspInfoLayout, info) ? &info : nullptr;
    CTZORecordSet rows;
    bool delivered = false;
    if (package.GetRecordSet(ListId, &rows) == 0) {
        while (rows.NextRecord()) {
            Record record{};
            TZODecodeRecord(Layout, &record, rows.RecordData(), rows.RecordLength());
            const std::int32_t continuation = rows.HasMoreRecords() ? 1 : package.EndFlag;
            (spi.*Callback)(&record, infoArg, package.RequestID, continuation);
            delivered = true;
        }
    }
    if (!delivered) (spi.*Callback)(nullptr, infoArg, package.RequestID, package.EndFlag);
}

// The quote push: the record is always given, zeroed where the group is missing.
void DeliverQuote(CNELOQuotSpi& spi, CAPIPackage& package) {
    NELOQuotRecord quote{};
    ReadGroupOrZero(package, TZOField::Quot.id, kNELOQuotLayout, quote);
    spi.OnQuotNty(&quote);
}

struct ReplyRoute {
    std::uint16_t serviceNo;
    void (*deliver)(CNELOQuotSpi&, CAPIPackage&);
};

// Every package the quote service sends, by ServiceNo; anything else (heartbeats included) is ignored.
const ReplyRoute kReplyRoutes[] = {
    {117,
     &DeliverSessionReply<NELOLoginRspRecord, kNELOLoginRspLayout, TZOField::LoginRsp.id, &CNELOQuotSpi::OnLoginRsp>},
    {119,
     &DeliverSessionReply<NELOInvestorRecord, kNELOInvestorLayout, TZOField::LogoutRsp.id, &CNELOQuotSpi::OnLogoutRsp>},
    {8, &DeliverSingleReply<NELOInstrumentRecord, kNELOInstrumentLayout, TZOField::QuotSubscribeRsp.id,
                            &CNELOQuotSpi::OnQuotSubscribeRsp>},
    {10, &DeliverSingleReply<NELOInstrumentRecord, kNELOInstrumentLayout, TZOField::QuotUnSubscribeRsp.id,
                             &CNELOQuotSpi::OnQuotUnSubscribeRsp>},
    {125, &DeliverQuote},
    {151, &DeliverListReply<NELOMinDataRecord, kNELOMinDataLayout, TZOField::MinDataList.id,
                            &CNELOQuotSpi::OnMinDataQueryRsp>},
    {153, &DeliverListReply<NELODayDataRecord, kNELODayDataLayout, TZOField::DayDataList.id,
                            &CNELOQuotSpi::OnDayDataQueryRsp>},
    {193, &DeliverListReply<NELOMinDataRecord, kNELOMinDataLayout, TZOField::MinDataList.id,
                            &CNELOQuotSpi::OnSecondMinDataQueryRsp>},
    {195, &DeliverListReply<NELOMinDataRecord, kNELOMinDataLayout, TZOField::MinDataList.id,
                            &CNELOQuotSpi::OnThirdMinDataQueryRsp>},
    {212, &DeliverListReply<NELOTradeDetailRecord, kNELOTradeDetailLayout, TZOField::TradeDetailDataList.id,
                            &CNELOQuotSpi::OnTradeDetailDataQueryRsp>},
};

}  // namespace

CNELOQuotApiImp::CNELOQuotApiImp() : client_(*this) {}

CNELOQuotApiImp::~CNELOQuotApiImp() {
    // Stop before any member goes: the I/O thread calls back into this object until then.
    client_.Stop();
}

void CNELOQuotApiImp::Release() { delete this; }

void CNELOQuotApiImp::RegisterSpi(CNELOQuotSpi* spi) { spi_.store(spi); }

int CNELOQuotApiImp::Init() { return client_.Init(); }

int CNELOQuotApiImp::Stop() { return client_.Stop(); }

void CNELOQuotApiImp::RegisterFront(const char* hostPort) {
    if (hostPort) client_.RegisterFront(hostPort);
}

const char* CNELOQuotApiImp::GetErrorMsg(std::int32_t code) { return NELOErrorMessage(code); }

void CNELOQuotApiImp::SetHeartbeatTimeout(std::uint16_t seconds) { client_.SetHeartbeatTimeout(seconds); }

template <class Record>
int CNELOQuotApiImp::Post(const RequestRoute& route, const Record* record, std::int32_t requestId) {
    if (!record) return -1;
    // The body depends on the record alone: sent from the calling thread.
    return client_.SendRequest(route.serviceNo, requestId, [copy = *record, &route](CAPIPackage& package) {
        return TZOAddRecord(package, route.groupId, *route.layout, &copy);
    });
}

int CNELOQuotApiImp::ReqLogin(const NELOQuotLoginReqRecord* record, std::int32_t requestId) {
    return Post(kLoginRoute, record, requestId);
}

int CNELOQuotApiImp::ReqLogout(const NELOInvestorRecord* record, std::int32_t requestId) {
    return Post(kLogoutRoute, record, requestId);
}

int CNELOQuotApiImp::ReqQuotSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) {
    return Post(kSubscribeRoute, record, requestId);
}

int CNELOQuotApiImp::ReqQuotUnSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) {
    return Post(kUnSubscribeRoute, record, requestId);
}

int CNELOQuotApiImp::ReqMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) {
    return Post(kMinDataRoute, record, requestId);
}

int CNELOQuotApiImp::ReqDayDataQuery(const NELODayDataKeyRecord* record, std::int32_t requestId) {
    return Post(kDayDataRoute, record, requestId);
}

int CNELOQuotApiImp::ReqSecondMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) {
    return Post(kSecondMinDataRoute, record, requestId);
}

int CNELOQuotApiImp::ReqThirdMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) {
    return Post(kThirdMinDataRoute, record, requestId);
}

int CNELOQuotApiImp::ReqTradeDetailDataQuery(const NELOTradeDetailKeyRecord* record, std::int32_t requestId) {
    return Post(kTradeDetailRoute, record, requestId);
}

void CNELOQuotApiImp::OnFrontConnected() {
    if (CNELOQuotSpi* spi = spi_.load()) spi->OnFrontConnected();
}

void CNELOQuotApiImp::OnFrontDisconnected() {
    if (CNELOQuotSpi* spi = spi_.load()) spi->OnFrontDisconnected();
}

int CNELOQuotApiImp::DispatchPackage(CAPIPackage& package) {
    CNELOQuotSpi* spi = spi_.load();
    if (!spi) return 0;
    for (const ReplyRoute& route : kReplyRoutes) {
        if (route.serviceNo == package.ServiceNo) {
            route.deliver(*spi, package);
            break;
        }
    }
    return 0;
}

}  // namespace quot
