#include "NELOTradeDispatch.h"

#include <algorithm>
#include <iterator>

#include "NELOAccountRecords.h"
#include "NELOQueryRecords.h"
#include "NELOReplyHandlers.h"

using namespace nelo_dispatch;

namespace {

struct ServiceRoute {
    std::uint16_t serviceNo;
    NELOPackageHandler handle;
};

struct PushKindRoute {
    std::uint16_t flow;
    std::int32_t kind;
    NELOPackageHandler handle;
};

void LoginReply(CNELOTradeSession& session, CAPIPackage& package) {
    NELORspInfoRecord rspInfo{};
    if (TZOReadGroup(package, TZOField::RspInfo.id, kNELORspInfoLayout, &rspInfo) != 0) rspInfo = {};
    NELOLoginRspRecord login{};
    if (TZOReadGroup(package, TZOField::LoginRsp.id, kNELOLoginRspLayout, &login) != 0) login = {};
    if (rspInfo.RspNo == 0) session.OnLoginAccepted(login.InvestorID);
    if (CNELOTradeSpi* spi = session.Spi()) spi->OnLoginRsp(&login, &rspInfo, package.RequestID, package.EndFlag);
}

// No callback: an accepted subscription tells where each flow resumes.
void FlowSubscribeReply(CNELOTradeSession& session, CAPIPackage& package) {
    NELORspInfoRecord rspInfo{};
    TZOReadGroup(package, TZOField::RspInfo.id, kNELORspInfoLayout, &rspInfo);
    if (rspInfo.RspNo != 0) return;
    CTZORecordSet rows;
    package.GetRecordSet(TZOField::FlowSubscribeRspList.id, &rows);
    while (rows.NextRecord()) {
        NELOFlowSubscribeRecord row{};
        // A row that does not decode says nothing about either flow; taken as zeros it would rewind
        // flow 2 and have every push already seen delivered again.
        if (TZODecodeRecord(kNELOFlowSubscribeLayout, &row, rows.RecordData(), rows.RecordLength()) != 0) continue;
        session.SetLastSeen(row.FlowID == 1 ? 1 : 2, static_cast<std::uint32_t>(row.PkgNo));
    }
}

// Kind 166 is the same notice on either flow; the flow only decides which sequence it is counted on.
// clang-format off
const PushKindRoute kPushKinds[] = {
    {1, 124, PushNotice<&CNELOTradeSpi::OnOrderNty,        kNELOOrderLayout,        TZOField::Order.id>},
    {1, 130, PushNotice<&CNELOTradeSpi::OnTradeNty,        kNELOTradeLayout,        TZOField::Trade.id>},
    {1, 156, PushNotice<&CNELOTradeSpi::OnPosiDetailNty,   kNELOPosiDetailLayout,   TZOField::PosiDetail.id>},
    {1, 157, PushNotice<&CNELOTradeSpi::OnFundNty,         kNELOFundLayout,         TZOField::Fund.id>},
    {1, 158, PushNotice<&CNELOTradeSpi::OnPosiNty,         kNELOPosiLayout,         TZOField::Posi.id>},
    {1, 166, PushNotice<&CNELOTradeSpi::OnNoticeNty,       kNELONoticeLayout,       TZOField::Notice.id>},
    {1, 169, PushNotice<&CNELOTradeSpi::OnElectronicFundIONty, kNELOFundTransferNtyLayout, TZOField::ElectronicFundIONty.id>},
    {2, 129, PushNotice<&CNELOTradeSpi::OnMarketStatusNty, kNELOMarketStatusLayout, TZOField::MarketStatusNty.id>},
    {2, 165, PushNotice<&CNELOTradeSpi::OnBulletinNty,     kNELOBulletinLayout,     TZOField::Bulletin.id>},
    {2, 166, PushNotice<&CNELOTradeSpi::OnNoticeNty,       kNELONoticeLayout,       TZOField::Notice.id>},
};
// clang-format on

// Flow pushes carry their kind in RequestID and their sequence in EndFlag. A sequence not above the
// flow's last seen one is a repeat and is dropped; anything newer is consumed, known kind or not.
void FlowPush(CNELOTradeSession& session, CAPIPackage& package) {
    const int flow = package.ServiceNo;
    const auto sequence = static_cast<std::uint32_t>(package.EndFlag);
    if (sequence <= session.LastSeen(flow)) return;
    const auto route = std::find_if(std::begin(kPushKinds), std::end(kPushKinds), [&](const PushKindRoute& r) {
        return r.flow == flow && r.kind == package.RequestID;
    });
    if (route != std::end(kPushKinds)) route->handle(session, package);
    session.SetLastSeen(flow, sequence);
}

// clang-format off
const ServiceRoute kServices[] = {
    {1,   FlowPush},
    {2,   FlowPush},
    {4,   FlowSubscribeReply},
    {117, LoginReply},
    {119, RecordReply<&CNELOTradeSpi::OnLogoutRsp,            kNELOInvestorLayout,        TZOField::LogoutRsp.id>},
    {121, SingleReply<&CNELOTradeSpi::OnChangePasswordRsp,    kNELOInvestorLayout,        TZOField::ChangePasswordRsp.id>},
    {123, SingleReply<&CNELOTradeSpi::OnInputOrderRsp,        kNELOInputOrderLayout,      TZOField::InputOrder.id>},
    {128, SingleReply<&CNELOTradeSpi::OnOrderCancelRsp,       kNELOOrderCancelLayout,     TZOField::OrderCancelRsp.id>},
    {132, ListReply<&CNELOTradeSpi::OnQuotQueryRsp,           kNELOQuotLayout,            TZOField::QuotList.id>},
    {138, ListReply<&CNELOTradeSpi::OnOrderQueryRsp,          kNELOOrderLayout,           TZOField::OrderList.id>},
    {140, ListReply<&CNELOTradeSpi::OnTradeQueryRsp,          kNELOTradeLayout,           TZOField::TradeList.id>},
    {142, ListReply<&CNELOTradeSpi::OnPosiQueryRsp,           kNELOPosiLayout,            TZOField::PosiList.id>},
    {144, ListReply<&CNELOTradeSpi::OnFundQueryRsp,           kNELOFundLayout,            TZOField::FundList.id>},
    {146, ListReply<&CNELOTradeSpi::OnInstrumentQueryRsp,     kNELOInstrumentLayout,      TZOField::InstrumentList.id>},
    {148, ListReply<&CNELOTradeSpi::OnPosiDetailQueryRsp,     kNELOPosiDetailLayout,      TZOField::PosiDetailList.id>},
    {155, SingleReply<&CNELOTradeSpi::OnProfitLossStopSetRsp, kNELOProfitLossStopLayout,  TZOField::ProfitLossStopSetRsp.id>},
    {160, SingleReply<&CNELOTradeSpi::OnInputOrderExRsp,      kNELOInputOrderLayout,      TZOField::InputOrder.id>},
    {162, ListReply<&CNELOTradeSpi::OnBulletinQueryRsp,       kNELOBulletinLayout,        TZOField::BulletinList.id>},
    {164, ListReply<&CNELOTradeSpi::OnNoticeQueryRsp,         kNELONoticeLayout,          TZOField::NoticeList.id>},
    {168, SingleReply<&CNELOTradeSpi::OnElectronicFundIORsp,  kNELOFundTransferRspLayout, TZOField::ElectronicFundIORsp.id>},
    {171, ListReply<&CNELOTradeSpi::OnFundIODetailQueryRsp,   kNELOFundIODetailLayout,    TZOField::FundIODetailList.id>},
    {173, ListReply<&CNELOTradeSpi::OnReportQueryRsp,         kNELOReportLayout,          TZOField::ReportList.id>},
    {175, ListReply<&CNELOTradeSpi::OnHisOrderQueryRsp,       kNELOOrderLayout,           TZOField::OrderList.id>},
    {177, ListReply<&CNELOTradeSpi::OnHisTradeQueryRsp,       kNELOTradeLayout,           TZOField::TradeList.id>},
    {179, ListReply<&CNELOTradeSpi::OnHisBulletinQueryRsp,    kNELOBulletinLayout,        TZOField::BulletinList.id>},
    {181, ListReply<&CNELOTradeSpi::OnHisNoticeQueryRsp,      kNELONoticeLayout,          TZOField::NoticeList.id>},
    {197, SingleReply<&CNELOTradeSpi::OnAccountBindRsp,       kNELOAccountBindRspLayout,  TZOField::AccountBindRsp.id>},
    {199, ListReply<&CNELOTradeSpi::OnAccountBindQueryRsp,    kNELOAccountBindLayout,     TZOField::AccountBindList.id>},
    {201, ListReply<&CNELOTradeSpi::OnHisFundQueryRsp,        kNELOFundLayout,            TZOField::FundList.id>},
    {203, ListReply<&CNELOTradeSpi::OnHisPosiDetailQueryRsp,  kNELOPosiDetailLayout,      TZOField::PosiDetailList.id>},
    // Binding results arrive outside the flows: no sequence, no kind.
    {210, PushNotice<&CNELOTradeSpi::OnAccountBindNty,        kNELOAccountBindLayout,     TZOField::AccountBind.id>},
    {302, ListReply<&CNELOTradeSpi::OnProductQueryRsp,        kNELOProductLayout,         TZOField::ProductList.id>},
    {304, ListReply<&CNELOTradeSpi::OnExchangeQueryRsp,       kNELOExchangeLayout,        TZOField::ExchangeList.id>},
    {306, ListReply<&CNELOTradeSpi::OnInvestorFeeRateQueryRsp,    kNELOFeeRateLayout,             TZOField::InvestorFeeRateList.id>},
    {308, ListReply<&CNELOTradeSpi::OnInvestorMarginRateQueryRsp, kNELOInvestorMarginRateLayout,  TZOField::InvestorMarginRateList.id>},
    {310, ListReply<&CNELOTradeSpi::OnExchangeMarginRateQueryRsp, kNELOExchangeMarginRateLayout,  TZOField::ExchangeMarginRateList.id>},
};
// clang-format on

}  // namespace

int NELODispatchTradePackage(CNELOTradeSession& session, CAPIPackage& package) {
    const auto route = std::find_if(std::begin(kServices), std::end(kServices),
                                    [&](const ServiceRoute& r) { return r.serviceNo == package.ServiceNo; });
    if (route != std::end(kServices)) route->handle(session, package);
    return 0;
}
