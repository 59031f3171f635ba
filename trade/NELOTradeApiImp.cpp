#include "NELOTradeApiImp.h"

#include "NELOAccountRecords.h"
#include "NELOErrorMessages.h"
#include "NELOQueryRecords.h"
#include "NELOTradeCatalog.h"
#include "NELOTradeDispatch.h"

using M = NELOTradeMessage;

CNELOTradeApiImp::CNELOTradeApiImp() : client_(*this) {}

CNELOTradeApiImp::~CNELOTradeApiImp() { client_.Stop(); }

void CNELOTradeApiImp::Release() {
    session_->SetSpi(nullptr);
    delete this;
}

void CNELOTradeApiImp::RegisterSpi(CNELOTradeSpi* spi) { session_->SetSpi(spi); }

// 0 once the first attempt and the I/O thread are started, also with no front registered (then no
// connection ever follows); -1 when called a second time or the thread cannot be created.
int CNELOTradeApiImp::Init() { return client_.Init(); }

int CNELOTradeApiImp::Stop() { return client_.Stop(); }

void CNELOTradeApiImp::RegisterFront(const char* hostPort) {
    if (hostPort) client_.RegisterFront(hostPort);
}

const char* CNELOTradeApiImp::GetErrorMsg(std::int32_t code) { return NELOErrorMessage(code); }

template <class Record>
int CNELOTradeApiImp::PostRecord(NELOTradeMessage id, const Record* record, std::int32_t requestID) {
    if (!record) return -1;
    const NELOTradeMessageDef& message = NELOTradeMessageOf(id);
    // The body depends on the record alone: sent from the calling thread.
    return client_.SendRequest(message.serviceNo, requestID, [copy = *record, &message](CAPIPackage& package) {
        return TZOAddRecord(package, message.body.field->id, *message.body.record->layout, &copy) < 0 ? -1 : 0;
    });
}

int CNELOTradeApiImp::ReqFlowSubscribe(std::int32_t flow1Mode, std::int32_t flow2Mode) {
    // The rows are chosen on the I/O thread, where the sequences they resume from are kept.
    const NELOTradeMessageDef& message = NELOTradeMessageOf(NELOTradeMessage::FlowSubscribe);
    return client_.PostRequest(message.serviceNo, 0,
                               [session = session_, flow1Mode, flow2Mode, &message](CAPIPackage& package) {
                                   NELOFlowSubscribeRecord rows[CNELOTradeSession::kFlowCount] = {};
                                   const int count = session->SubscriptionRows(flow1Mode, flow2Mode, rows);
                                   CTZORecordSet list;
                                   if (package.AddRecordSet(message.body.field->id, &list) != 0) return -1;
                                   for (int i = 0; i < count; ++i)
                                       if (TZOAddRecordToSet(list, *message.body.record->layout, &rows[i]) != 0)
                                           return -1;
                                   return 0;
                               });
}

// clang-format off
int CNELOTradeApiImp::ReqLogin(const NELOLoginReqRecord* req, std::int32_t requestID) { return PostRecord(M::Login, req, requestID); }
int CNELOTradeApiImp::ReqLogout(const NELOInvestorRecord* req, std::int32_t requestID) { return PostRecord(M::Logout, req, requestID); }
int CNELOTradeApiImp::ReqChangePassword(const NELOChangePasswordRecord* req, std::int32_t requestID) { return PostRecord(M::ChangePassword, req, requestID); }
int CNELOTradeApiImp::ReqInputOrder(const NELOInputOrderRecord* req, std::int32_t requestID) { return PostRecord(M::InputOrder, req, requestID); }
int CNELOTradeApiImp::ReqOrderCancel(const NELOOrderCancelRecord* req, std::int32_t requestID) { return PostRecord(M::OrderCancel, req, requestID); }
int CNELOTradeApiImp::ReqQuotQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(M::QuotQuery, key, requestID); }
int CNELOTradeApiImp::ReqOrderQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(M::OrderQuery, key, requestID); }
int CNELOTradeApiImp::ReqTradeQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(M::TradeQuery, key, requestID); }
int CNELOTradeApiImp::ReqPosiQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(M::PosiQuery, key, requestID); }
int CNELOTradeApiImp::ReqFundQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(M::FundQuery, key, requestID); }
int CNELOTradeApiImp::ReqInstrumentQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(M::InstrumentQuery, key, requestID); }
int CNELOTradeApiImp::ReqPosiDetailQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(M::PosiDetailQuery, key, requestID); }
int CNELOTradeApiImp::ReqProfitLossStopSet(const NELOProfitLossStopRecord* req, std::int32_t requestID) { return PostRecord(M::ProfitLossStopSet, req, requestID); }
int CNELOTradeApiImp::ReqInputOrderEx(const NELOInputOrderRecord* req, std::int32_t requestID) { return PostRecord(M::InputOrderEx, req, requestID); }
int CNELOTradeApiImp::ReqBulletinQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(M::BulletinQuery, key, requestID); }
int CNELOTradeApiImp::ReqNoticeQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(M::NoticeQuery, key, requestID); }
int CNELOTradeApiImp::ReqElectronicFundIO(const NELOFundTransferReqRecord* req, std::int32_t requestID) { return PostRecord(M::ElectronicFundIO, req, requestID); }
int CNELOTradeApiImp::ReqFundIODetailQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(M::FundIODetailQuery, key, requestID); }
int CNELOTradeApiImp::ReqReportQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(M::ReportQuery, key, requestID); }
int CNELOTradeApiImp::ReqHisOrderQuery(const NELOHisKeyRecord* key, std::int32_t requestID) { return PostRecord(M::HisOrderQuery, key, requestID); }
int CNELOTradeApiImp::ReqHisTradeQuery(const NELOHisKeyRecord* key, std::int32_t requestID) { return PostRecord(M::HisTradeQuery, key, requestID); }
int CNELOTradeApiImp::ReqHisBulletinQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(M::HisBulletinQuery, key, requestID); }
int CNELOTradeApiImp::ReqHisNoticeQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(M::HisNoticeQuery, key, requestID); }
int CNELOTradeApiImp::ReqAccountBind(const NELOAccountBindReqRecord* req, std::int32_t requestID) { return PostRecord(M::AccountBind, req, requestID); }
int CNELOTradeApiImp::ReqAccountBindQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(M::AccountBindQuery, key, requestID); }
int CNELOTradeApiImp::ReqHisFundQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(M::HisFundQuery, key, requestID); }
int CNELOTradeApiImp::ReqHisPosiDetailQuery(const NELOHisPosiKeyRecord* key, std::int32_t requestID) { return PostRecord(M::HisPosiDetailQuery, key, requestID); }
int CNELOTradeApiImp::ReqProductQuery(const NELOProductKeyRecord* key, std::int32_t requestID) { return PostRecord(M::ProductQuery, key, requestID); }
int CNELOTradeApiImp::ReqExchangeQuery(const NELOExchangeKeyRecord* key, std::int32_t requestID) { return PostRecord(M::ExchangeQuery, key, requestID); }
int CNELOTradeApiImp::ReqInvestorFeeRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) { return PostRecord(M::InvestorFeeRateQuery, key, requestID); }
int CNELOTradeApiImp::ReqInvestorMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) { return PostRecord(M::InvestorMarginRateQuery, key, requestID); }
int CNELOTradeApiImp::ReqExchangeMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) { return PostRecord(M::ExchangeMarginRateQuery, key, requestID); }
// clang-format on

void CNELOTradeApiImp::OnFrontConnected() {
    if (CNELOTradeSpi* spi = session_->Spi()) spi->OnFrontConnected();
}

void CNELOTradeApiImp::OnFrontDisconnected() {
    if (CNELOTradeSpi* spi = session_->Spi()) spi->OnFrontDisconnected();
}

int CNELOTradeApiImp::DispatchPackage(CAPIPackage& package) {
    // Held here, not through `this`: the client may be gone by the time a callback returns.
    const std::shared_ptr<CNELOTradeSession> session = session_;
    return NELODispatchTradePackage(*session, package);
}
