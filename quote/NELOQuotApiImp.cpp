#include "NELOQuotApiImp.h"

#include "APIPackage.h"
#include "NELOErrorMessages.h"
#include "NELOQuotCatalog.h"

namespace quot {

using M = NELOQuotMessage;

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
int CNELOQuotApiImp::Post(NELOQuotMessage id, const Record* record, std::int32_t requestId) {
    if (!record) return -1;
    const NELOQuotMessageDef& message = NELOQuotMessageOf(id);
    // The body depends on the record alone: sent from the calling thread.
    return client_.SendRequest(message.serviceNo, requestId, [copy = *record, &message](CAPIPackage& package) {
        return TZOAddRecord(package, message.body.field->id, *message.body.record->layout, &copy);
    });
}

int CNELOQuotApiImp::ReqLogin(const NELOQuotLoginReqRecord* record, std::int32_t requestId) {
    return Post(M::Login, record, requestId);
}

int CNELOQuotApiImp::ReqLogout(const NELOInvestorRecord* record, std::int32_t requestId) {
    return Post(M::Logout, record, requestId);
}

int CNELOQuotApiImp::ReqQuotSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) {
    return Post(M::QuotSubscribe, record, requestId);
}

int CNELOQuotApiImp::ReqQuotUnSubscribe(const NELOQuotKeyRecord* record, std::int32_t requestId) {
    return Post(M::QuotUnSubscribe, record, requestId);
}

int CNELOQuotApiImp::ReqMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) {
    return Post(M::MinDataQuery, record, requestId);
}

int CNELOQuotApiImp::ReqDayDataQuery(const NELODayDataKeyRecord* record, std::int32_t requestId) {
    return Post(M::DayDataQuery, record, requestId);
}

int CNELOQuotApiImp::ReqSecondMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) {
    return Post(M::SecondMinDataQuery, record, requestId);
}

int CNELOQuotApiImp::ReqThirdMinDataQuery(const NELOMinDataKeyRecord* record, std::int32_t requestId) {
    return Post(M::ThirdMinDataQuery, record, requestId);
}

int CNELOQuotApiImp::ReqTradeDetailDataQuery(const NELOTradeDetailKeyRecord* record, std::int32_t requestId) {
    return Post(M::TradeDetailDataQuery, record, requestId);
}

void CNELOQuotApiImp::OnFrontConnected() {
    if (CNELOQuotSpi* spi = spi_.load()) spi->OnFrontConnected();
}

void CNELOQuotApiImp::OnFrontDisconnected() {
    if (CNELOQuotSpi* spi = spi_.load()) spi->OnFrontDisconnected();
}

int CNELOQuotApiImp::DispatchPackage(CAPIPackage& package) {
    NELOQuotTarget target{spi_.load()};
    if (!target.spi) return 0;
    const NELOQuotMessageDef* message = NELOFindQuotReceived(package.ServiceNo);
    if (message != nullptr && message->deliver != nullptr) message->deliver(message->body, target, package);
    return 0;
}

}  // namespace quot
