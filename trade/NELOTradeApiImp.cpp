#include "NELOTradeApiImp.h"

#include "NELOAccountRecords.h"
#include "NELOErrorMessages.h"
#include "NELOQueryRecords.h"
#include "NELOTradeDispatch.h"

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
int CNELOTradeApiImp::PostRecord(std::uint16_t serviceNo, std::uint16_t groupId, const TZORecordLayout& layout,
                                 const Record* record, std::int32_t requestID) {
    if (!record) return -1;
    // The body depends on the record alone: sent from the calling thread.
    return client_.SendRequest(serviceNo, requestID, [copy = *record, groupId, &layout](CAPIPackage& package) {
        return TZOAddRecord(package, groupId, layout, &copy) < 0 ? -1 : 0;
    });
}

int CNELOTradeApiImp::ReqFlowSubscribe(std::int32_t flow1Mode, std::int32_t flow2Mode) {
    // The rows are chosen on the I/O thread, where the sequences they resume from are kept.
    return client_.PostRequest(3, 0, [session = session_, flow1Mode, flow2Mode](CAPIPackage& package) {
        NELOFlowSubscribeRecord rows[CNELOTradeSession::kFlowCount] = {};
        const int count = session->SubscriptionRows(flow1Mode, flow2Mode, rows);
        CTZORecordSet list;
        if (package.AddRecordSet(TZOField::FlowSubscribeReqList.id, &list) != 0) return -1;
        for (int i = 0; i < count; ++i)
            if (TZOAddRecordToSet(list, kNELOFlowSubscribeLayout, &rows[i]) != 0) return -1;
        return 0;
    });
}

// clang-format off
int CNELOTradeApiImp::ReqLogin(const NELOLoginReqRecord* req, std::int32_t requestID) { return PostRecord(116, TZOField::LoginReq.id, kNELOLoginReqLayout, req, requestID); }
int CNELOTradeApiImp::ReqLogout(const NELOInvestorRecord* req, std::int32_t requestID) { return PostRecord(118, TZOField::LogoutReq.id, kNELOInvestorLayout, req, requestID); }
int CNELOTradeApiImp::ReqChangePassword(const NELOChangePasswordRecord* req, std::int32_t requestID) { return PostRecord(120, TZOField::ChangePasswordReq.id, kNELOChangePasswordLayout, req, requestID); }
int CNELOTradeApiImp::ReqInputOrder(const NELOInputOrderRecord* req, std::int32_t requestID) { return PostRecord(122, TZOField::InputOrder.id, kNELOInputOrderLayout, req, requestID); }
int CNELOTradeApiImp::ReqOrderCancel(const NELOOrderCancelRecord* req, std::int32_t requestID) { return PostRecord(127, TZOField::OrderCancelReq.id, kNELOOrderCancelLayout, req, requestID); }
int CNELOTradeApiImp::ReqQuotQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(131, TZOField::QuotQueryReq.id, kNELOQueryKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqOrderQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(137, TZOField::OrderQueryReq.id, kNELOQueryKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqTradeQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(139, TZOField::TradeQueryReq.id, kNELOQueryKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqPosiQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(141, TZOField::PosiQueryReq.id, kNELOQueryKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqFundQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(143, TZOField::FundQueryReq.id, kNELOInvestorLayout, key, requestID); }
int CNELOTradeApiImp::ReqInstrumentQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(145, TZOField::InstrumentQueryReq.id, kNELOQueryKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqPosiDetailQuery(const NELOQueryKeyRecord* key, std::int32_t requestID) { return PostRecord(147, TZOField::PosiDetailQueryReq.id, kNELOQueryKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqProfitLossStopSet(const NELOProfitLossStopRecord* req, std::int32_t requestID) { return PostRecord(154, TZOField::ProfitLossStopSetReq.id, kNELOProfitLossStopLayout, req, requestID); }
int CNELOTradeApiImp::ReqInputOrderEx(const NELOInputOrderRecord* req, std::int32_t requestID) { return PostRecord(159, TZOField::InputOrder.id, kNELOInputOrderLayout, req, requestID); }
int CNELOTradeApiImp::ReqBulletinQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(161, TZOField::BulletinQueryReq.id, kNELOInvestorLayout, key, requestID); }
int CNELOTradeApiImp::ReqNoticeQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(163, TZOField::NoticeQueryReq.id, kNELOInvestorLayout, key, requestID); }
int CNELOTradeApiImp::ReqElectronicFundIO(const NELOFundTransferReqRecord* req, std::int32_t requestID) { return PostRecord(167, TZOField::ElectronicFundIOReq.id, kNELOFundTransferReqLayout, req, requestID); }
int CNELOTradeApiImp::ReqFundIODetailQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(170, TZOField::FundIODetailQueryReq.id, kNELODateRangeKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqReportQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(172, TZOField::ReportQueryReq.id, kNELODateRangeKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqHisOrderQuery(const NELOHisKeyRecord* key, std::int32_t requestID) { return PostRecord(174, TZOField::HisOrderQueryReq.id, kNELOHisKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqHisTradeQuery(const NELOHisKeyRecord* key, std::int32_t requestID) { return PostRecord(176, TZOField::HisTradeQueryReq.id, kNELOHisKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqHisBulletinQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(178, TZOField::HisBulletinQueryReq.id, kNELODateRangeKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqHisNoticeQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(180, TZOField::HisNoticeQueryReq.id, kNELODateRangeKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqAccountBind(const NELOAccountBindReqRecord* req, std::int32_t requestID) { return PostRecord(196, TZOField::AccountBindReq.id, kNELOAccountBindReqLayout, req, requestID); }
int CNELOTradeApiImp::ReqAccountBindQuery(const NELOInvestorRecord* key, std::int32_t requestID) { return PostRecord(198, TZOField::AccountBindQueryReq.id, kNELOInvestorLayout, key, requestID); }
int CNELOTradeApiImp::ReqHisFundQuery(const NELODateRangeKeyRecord* key, std::int32_t requestID) { return PostRecord(200, TZOField::HisFundQueryReq.id, kNELODateRangeKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqHisPosiDetailQuery(const NELOHisPosiKeyRecord* key, std::int32_t requestID) { return PostRecord(202, TZOField::HisPosiDetailQueryReq.id, kNELOHisPosiKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqProductQuery(const NELOProductKeyRecord* key, std::int32_t requestID) { return PostRecord(301, TZOField::ProductQueryReq.id, kNELOProductKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqExchangeQuery(const NELOExchangeKeyRecord* key, std::int32_t requestID) { return PostRecord(303, TZOField::ExchangeQueryReq.id, kNELOExchangeKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqInvestorFeeRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) { return PostRecord(305, TZOField::InvestorFeeRateQueryReq.id, kNELORateKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqInvestorMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) { return PostRecord(307, TZOField::InvestorMarginRateQueryReq.id, kNELORateKeyLayout, key, requestID); }
int CNELOTradeApiImp::ReqExchangeMarginRateQuery(const NELORateKeyRecord* key, std::int32_t requestID) { return PostRecord(309, TZOField::ExchangeMarginRateQueryReq.id, kNELORateKeyLayout, key, requestID); }
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
