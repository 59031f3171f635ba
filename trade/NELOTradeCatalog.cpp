#include "NELOTradeCatalog.h"

#include <algorithm>
#include <iterator>

#include "NELOAccountRecords.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOQueryRecords.h"
#include "NELOReplyDelivery.h"
#include "NELOSessionRecords.h"
#include "NELOTradeApi.h"
#include "NELOTradeDispatch.h"

namespace {

// clang-format off
const NELORecordDef kLoginReq{"NELOLoginReqRecord", &kNELOLoginReqLayout};
const NELORecordDef kChangePassword{"NELOChangePasswordRecord", &kNELOChangePasswordLayout};
const NELORecordDef kFlowSubscribe{"NELOFlowSubscribeRecord", &kNELOFlowSubscribeLayout};
const NELORecordDef kInputOrder{"NELOInputOrderRecord", &kNELOInputOrderLayout};
const NELORecordDef kOrderCancel{"NELOOrderCancelRecord", &kNELOOrderCancelLayout};
const NELORecordDef kProfitLossStop{"NELOProfitLossStopRecord", &kNELOProfitLossStopLayout};
const NELORecordDef kMarketStatus{"NELOMarketStatusRecord", &kNELOMarketStatusLayout};
const NELORecordDef kQueryKey{"NELOQueryKeyRecord", &kNELOQueryKeyLayout};
const NELORecordDef kRateKey{"NELORateKeyRecord", &kNELORateKeyLayout};
const NELORecordDef kProductKey{"NELOProductKeyRecord", &kNELOProductKeyLayout};
const NELORecordDef kExchangeKey{"NELOExchangeKeyRecord", &kNELOExchangeKeyLayout};
const NELORecordDef kOrder{"NELOOrderRecord", &kNELOOrderLayout};
const NELORecordDef kTrade{"NELOTradeRecord", &kNELOTradeLayout};
const NELORecordDef kPosi{"NELOPosiRecord", &kNELOPosiLayout};
const NELORecordDef kPosiDetail{"NELOPosiDetailRecord", &kNELOPosiDetailLayout};
const NELORecordDef kFund{"NELOFundRecord", &kNELOFundLayout};
const NELORecordDef kInstrument{"NELOInstrumentRecord", &kNELOInstrumentLayout};
const NELORecordDef kProduct{"NELOProductRecord", &kNELOProductLayout};
const NELORecordDef kExchange{"NELOExchangeRecord", &kNELOExchangeLayout};
const NELORecordDef kFeeRate{"NELOFeeRateRecord", &kNELOFeeRateLayout};
const NELORecordDef kInvestorMarginRate{"NELOMarginRateRecord(investor)", &kNELOInvestorMarginRateLayout};
const NELORecordDef kExchangeMarginRate{"NELOMarginRateRecord(exchange)", &kNELOExchangeMarginRateLayout};
const NELORecordDef kDateRangeKey{"NELODateRangeKeyRecord", &kNELODateRangeKeyLayout};
const NELORecordDef kHisKey{"NELOHisKeyRecord", &kNELOHisKeyLayout};
const NELORecordDef kHisPosiKey{"NELOHisPosiKeyRecord", &kNELOHisPosiKeyLayout};
const NELORecordDef kBulletin{"NELOBulletinRecord", &kNELOBulletinLayout};
const NELORecordDef kNotice{"NELONoticeRecord", &kNELONoticeLayout};
const NELORecordDef kFundTransferReq{"NELOFundTransferReqRecord", &kNELOFundTransferReqLayout};
const NELORecordDef kFundTransferRsp{"NELOFundTransferRspRecord", &kNELOFundTransferRspLayout};
const NELORecordDef kFundTransferNty{"NELOFundTransferNtyRecord", &kNELOFundTransferNtyLayout};
const NELORecordDef kFundIODetail{"NELOFundIODetailRecord", &kNELOFundIODetailLayout};
const NELORecordDef kReport{"NELOReportRecord", &kNELOReportLayout};
const NELORecordDef kAccountBindReq{"NELOAccountBindReqRecord", &kNELOAccountBindReqLayout};
const NELORecordDef kAccountBindRsp{"NELOAccountBindRspRecord", &kNELOAccountBindRspLayout};
const NELORecordDef kAccountBind{"NELOAccountBindRecord", &kNELOAccountBindLayout};
// The records both services carry.
constexpr const NELORecordDef& kLoginRsp = kNELOLoginRspDef;
constexpr const NELORecordDef& kInvestor = kNELOInvestorDef;
constexpr const NELORecordDef& kQuot = kNELOQuotDef;
// clang-format on

using S = CNELOTradeSpi;
using M = NELOTradeMessage;
using P = NELOTradePush;
constexpr NELODirection Up = NELODirection::ToServer;
constexpr NELODirection Down = NELODirection::ToClient;
constexpr NELODirection Any = NELODirection::Both;

template <auto Callback>
constexpr NELODeliver<CNELOTradeSession> Single = &NELOSingleReply<CNELOTradeSession, Callback>;
template <auto Callback>
constexpr NELODeliver<CNELOTradeSession> Record = &NELORecordReply<CNELOTradeSession, Callback>;
template <auto Callback>
constexpr NELODeliver<CNELOTradeSession> List = &NELOListReply<CNELOTradeSession, Callback>;
template <auto Callback>
constexpr NELODeliver<CNELOTradeSession> Push = &NELOPushNotice<CNELOTradeSession, Callback>;

#define PART(Row, Record) \
    NELOBodyPart { &TZOField::Row, &k##Record }
#define NONE \
    NELOBodyPart { nullptr, nullptr }

}  // namespace

// The history replies carry the lists of the current-day queries. Binding results (210) arrive outside
// the flows: no sequence, no kind.
// clang-format off
constexpr NELOTradeMessageDef kNELOTradeMessages[kNELOTradeMessageCount] = {
    {M::Heartbeat,                    0, Any,  "heartbeat",                               false, NONE,                                              false, nullptr},
    {M::AccountFlow,                  1, Down, "flow 1 push (account)",                   false, NONE,                                              true, NELOFlowPush},
    {M::MarketFlow,                   2, Down, "flow 2 push (market)",                    false, NONE,                                              true, NELOFlowPush},
    {M::FlowSubscribe,                3, Up,   "flow subscription",                       false, PART(FlowSubscribeReqList, FlowSubscribe),         false, nullptr},
    {M::FlowSubscribeRsp,             4, Down, "flow subscription reply",                 true, PART(FlowSubscribeRspList, FlowSubscribe),         false, NELOFlowSubscribeReply},
    {M::Login,                      116, Up,   "login",                                   false, PART(LoginReq, LoginReq),                          false, nullptr},
    {M::LoginRsp,                   117, Down, "login reply",                             true, PART(LoginRsp, LoginRsp),                          false, NELOLoginReply},
    {M::Logout,                     118, Up,   "logout",                                  false, PART(LogoutReq, Investor),                         false, nullptr},
    {M::LogoutRsp,                  119, Down, "logout reply",                            true, PART(LogoutRsp, Investor),                         false, Record<&S::OnLogoutRsp>},
    {M::ChangePassword,             120, Up,   "password change",                         false, PART(ChangePasswordReq, ChangePassword),           false, nullptr},
    {M::ChangePasswordRsp,          121, Down, "password change reply",                   true, PART(ChangePasswordRsp, Investor),                 false, Single<&S::OnChangePasswordRsp>},
    {M::InputOrder,                 122, Up,   "order entry",                             false, PART(InputOrder, InputOrder),                      false, nullptr},
    {M::InputOrderRsp,              123, Down, "order entry reply",                       true, PART(InputOrder, InputOrder),                      false, Single<&S::OnInputOrderRsp>},
    {M::OrderCancel,                127, Up,   "cancel",                                  false, PART(OrderCancelReq, OrderCancel),                 false, nullptr},
    {M::OrderCancelRsp,             128, Down, "cancel reply",                            true, PART(OrderCancelRsp, OrderCancel),                 false, Single<&S::OnOrderCancelRsp>},
    {M::QuotQuery,                  131, Up,   "quotation query",                         false, PART(QuotQueryReq, QueryKey),                      false, nullptr},
    {M::QuotQueryRsp,               132, Down, "quotation query reply",                   true, PART(QuotList, Quot),                              false, List<&S::OnQuotQueryRsp>},
    {M::OrderQuery,                 137, Up,   "order query",                             false, PART(OrderQueryReq, QueryKey),                     false, nullptr},
    {M::OrderQueryRsp,              138, Down, "order query reply",                       true, PART(OrderList, Order),                            false, List<&S::OnOrderQueryRsp>},
    {M::TradeQuery,                 139, Up,   "trade query",                             false, PART(TradeQueryReq, QueryKey),                     false, nullptr},
    {M::TradeQueryRsp,              140, Down, "trade query reply",                       true, PART(TradeList, Trade),                            false, List<&S::OnTradeQueryRsp>},
    {M::PosiQuery,                  141, Up,   "position query",                          false, PART(PosiQueryReq, QueryKey),                      false, nullptr},
    {M::PosiQueryRsp,               142, Down, "position query reply",                    true, PART(PosiList, Posi),                              false, List<&S::OnPosiQueryRsp>},
    {M::FundQuery,                  143, Up,   "fund query",                              false, PART(FundQueryReq, Investor),                      false, nullptr},
    {M::FundQueryRsp,               144, Down, "fund query reply",                        true, PART(FundList, Fund),                              false, List<&S::OnFundQueryRsp>},
    {M::InstrumentQuery,            145, Up,   "instrument query",                        false, PART(InstrumentQueryReq, QueryKey),                false, nullptr},
    {M::InstrumentQueryRsp,         146, Down, "instrument query reply",                  true, PART(InstrumentList, Instrument),                  false, List<&S::OnInstrumentQueryRsp>},
    {M::PosiDetailQuery,            147, Up,   "position-detail query",                   false, PART(PosiDetailQueryReq, QueryKey),                false, nullptr},
    {M::PosiDetailQueryRsp,         148, Down, "position-detail query reply",             true, PART(PosiDetailList, PosiDetail),                  false, List<&S::OnPosiDetailQueryRsp>},
    {M::ProfitLossStopSet,          154, Up,   "profit/loss stop setting",                false, PART(ProfitLossStopSetReq, ProfitLossStop),        false, nullptr},
    {M::ProfitLossStopSetRsp,       155, Down, "profit/loss stop setting reply",          true, PART(ProfitLossStopSetRsp, ProfitLossStop),        false, Single<&S::OnProfitLossStopSetRsp>},
    {M::InputOrderEx,               159, Up,   "second order entry",                      false, PART(InputOrder, InputOrder),                      false, nullptr},
    {M::InputOrderExRsp,            160, Down, "second order entry reply",                true, PART(InputOrder, InputOrder),                      false, Single<&S::OnInputOrderExRsp>},
    {M::BulletinQuery,              161, Up,   "bulletin query",                          false, PART(BulletinQueryReq, Investor),                  false, nullptr},
    {M::BulletinQueryRsp,           162, Down, "bulletin query reply",                    true, PART(BulletinList, Bulletin),                      false, List<&S::OnBulletinQueryRsp>},
    {M::NoticeQuery,                163, Up,   "notice query",                            false, PART(NoticeQueryReq, Investor),                    false, nullptr},
    {M::NoticeQueryRsp,             164, Down, "notice query reply",                      true, PART(NoticeList, Notice),                          false, List<&S::OnNoticeQueryRsp>},
    {M::ElectronicFundIO,           167, Up,   "fund transfer",                           false, PART(ElectronicFundIOReq, FundTransferReq),        false, nullptr},
    {M::ElectronicFundIORsp,        168, Down, "fund transfer reply",                     true, PART(ElectronicFundIORsp, FundTransferRsp),        false, Single<&S::OnElectronicFundIORsp>},
    {M::FundIODetailQuery,          170, Up,   "fund-transfer detail query",              false, PART(FundIODetailQueryReq, DateRangeKey),          false, nullptr},
    {M::FundIODetailQueryRsp,       171, Down, "fund-transfer detail query reply",        true, PART(FundIODetailList, FundIODetail),              false, List<&S::OnFundIODetailQueryRsp>},
    {M::ReportQuery,                172, Up,   "report query",                            false, PART(ReportQueryReq, DateRangeKey),                false, nullptr},
    {M::ReportQueryRsp,             173, Down, "report query reply",                      true, PART(ReportList, Report),                          false, List<&S::OnReportQueryRsp>},
    {M::HisOrderQuery,              174, Up,   "historical orders query",                 false, PART(HisOrderQueryReq, HisKey),                    false, nullptr},
    {M::HisOrderQueryRsp,           175, Down, "historical orders query reply",           true, PART(OrderList, Order),                            false, List<&S::OnHisOrderQueryRsp>},
    {M::HisTradeQuery,              176, Up,   "historical trades query",                 false, PART(HisTradeQueryReq, HisKey),                    false, nullptr},
    {M::HisTradeQueryRsp,           177, Down, "historical trades query reply",           true, PART(TradeList, Trade),                            false, List<&S::OnHisTradeQueryRsp>},
    {M::HisBulletinQuery,           178, Up,   "historical bulletins query",              false, PART(HisBulletinQueryReq, DateRangeKey),           false, nullptr},
    {M::HisBulletinQueryRsp,        179, Down, "historical bulletins query reply",        true, PART(BulletinList, Bulletin),                      false, List<&S::OnHisBulletinQueryRsp>},
    {M::HisNoticeQuery,             180, Up,   "historical notices query",                false, PART(HisNoticeQueryReq, DateRangeKey),             false, nullptr},
    {M::HisNoticeQueryRsp,          181, Down, "historical notices query reply",          true, PART(NoticeList, Notice),                          false, List<&S::OnHisNoticeQueryRsp>},
    {M::AccountBind,                196, Up,   "bank account binding",                    false, PART(AccountBindReq, AccountBindReq),              false, nullptr},
    {M::AccountBindRsp,             197, Down, "bank account binding reply",              true, PART(AccountBindRsp, AccountBindRsp),              false, Single<&S::OnAccountBindRsp>},
    {M::AccountBindQuery,           198, Up,   "binding query",                           false, PART(AccountBindQueryReq, Investor),               false, nullptr},
    {M::AccountBindQueryRsp,        199, Down, "binding query reply",                     true, PART(AccountBindList, AccountBind),                false, List<&S::OnAccountBindQueryRsp>},
    {M::HisFundQuery,               200, Up,   "historical funds query",                  false, PART(HisFundQueryReq, DateRangeKey),               false, nullptr},
    {M::HisFundQueryRsp,            201, Down, "historical funds query reply",            true, PART(FundList, Fund),                              false, List<&S::OnHisFundQueryRsp>},
    {M::HisPosiDetailQuery,         202, Up,   "historical position details query",       false, PART(HisPosiDetailQueryReq, HisPosiKey),           false, nullptr},
    {M::HisPosiDetailQueryRsp,      203, Down, "historical position details query reply", true, PART(PosiDetailList, PosiDetail),                  false, List<&S::OnHisPosiDetailQueryRsp>},
    {M::AccountBindNty,             210, Down, "binding status push",                     false, PART(AccountBind, AccountBind),                    false, Push<&S::OnAccountBindNty>},
    {M::ProductQuery,               301, Up,   "product query",                           false, PART(ProductQueryReq, ProductKey),                 false, nullptr},
    {M::ProductQueryRsp,            302, Down, "product query reply",                     true, PART(ProductList, Product),                        false, List<&S::OnProductQueryRsp>},
    {M::ExchangeQuery,              303, Up,   "exchange query",                          false, PART(ExchangeQueryReq, ExchangeKey),               false, nullptr},
    {M::ExchangeQueryRsp,           304, Down, "exchange query reply",                    true, PART(ExchangeList, Exchange),                      false, List<&S::OnExchangeQueryRsp>},
    {M::InvestorFeeRateQuery,       305, Up,   "fee-rate query",                          false, PART(InvestorFeeRateQueryReq, RateKey),            false, nullptr},
    {M::InvestorFeeRateQueryRsp,    306, Down, "fee-rate query reply",                    true, PART(InvestorFeeRateList, FeeRate),                false, List<&S::OnInvestorFeeRateQueryRsp>},
    {M::InvestorMarginRateQuery,    307, Up,   "investor margin-rate query",              false, PART(InvestorMarginRateQueryReq, RateKey),         false, nullptr},
    {M::InvestorMarginRateQueryRsp, 308, Down, "investor margin-rate query reply",        true, PART(InvestorMarginRateList, InvestorMarginRate),  false, List<&S::OnInvestorMarginRateQueryRsp>},
    {M::ExchangeMarginRateQuery,    309, Up,   "exchange margin-rate query",              false, PART(ExchangeMarginRateQueryReq, RateKey),         false, nullptr},
    {M::ExchangeMarginRateQueryRsp, 310, Down, "exchange margin-rate query reply",        true, PART(ExchangeMarginRateList, ExchangeMarginRate),  false, List<&S::OnExchangeMarginRateQueryRsp>},
};

constexpr NELOTradePushDef kNELOTradePushes[kNELOTradePushCount] = {
    {P::OrderNty,              1, 124, "order return",   PART(Order, Order), Push<&S::OnOrderNty>},
    {P::TradeNty,              1, 130, "trade return",   PART(Trade, Trade), Push<&S::OnTradeNty>},
    {P::PosiDetailNty,         1, 156, "position detail", PART(PosiDetail, PosiDetail), Push<&S::OnPosiDetailNty>},
    {P::FundNty,               1, 157, "fund",           PART(Fund, Fund), Push<&S::OnFundNty>},
    {P::PosiNty,               1, 158, "position",       PART(Posi, Posi), Push<&S::OnPosiNty>},
    {P::AccountNoticeNty,      1, 166, "notice",         PART(Notice, Notice), Push<&S::OnNoticeNty>},
    {P::ElectronicFundIONty,   1, 169, "fund transfer",  PART(ElectronicFundIONty, FundTransferNty), Push<&S::OnElectronicFundIONty>},
    {P::MarketStatusNty,       2, 129, "market status",  PART(MarketStatusNty, MarketStatus), Push<&S::OnMarketStatusNty>},
    {P::BulletinNty,           2, 165, "bulletin",       PART(Bulletin, Bulletin), Push<&S::OnBulletinNty>},
    {P::MarketNoticeNty,       2, 166, "notice",         PART(Notice, Notice), Push<&S::OnNoticeNty>},
};

const NELORecordDef* const kNELOTradeRecords[] = {
    &kNELORspInfoDef, &kLoginReq, &kLoginRsp, &kInvestor, &kChangePassword, &kFlowSubscribe, &kInputOrder,
    &kOrderCancel, &kProfitLossStop, &kMarketStatus, &kQueryKey, &kRateKey, &kProductKey, &kExchangeKey,
    &kOrder, &kTrade, &kQuot, &kPosi, &kPosiDetail, &kFund, &kInstrument, &kProduct, &kExchange, &kFeeRate,
    &kInvestorMarginRate, &kExchangeMarginRate, &kDateRangeKey, &kHisKey, &kHisPosiKey, &kBulletin, &kNotice,
    &kFundTransferReq, &kFundTransferRsp, &kFundTransferNty, &kFundIODetail, &kReport, &kAccountBindReq,
    &kAccountBindRsp, &kAccountBind,
};
// clang-format on
const std::size_t kNELOTradeRecordCount = std::size(kNELOTradeRecords);

#undef PART
#undef NONE

static_assert(NELOCatalogIsInIdOrder(kNELOTradeMessages), "every message row sits at its id");
static_assert(NELOCatalogIsInIdOrder(kNELOTradePushes), "every push kind sits at its id");

const NELOTradeMessageDef* NELOFindTradeReceived(int serviceNo) {
    return NELOFindReceived(kNELOTradeMessages, serviceNo);
}

const NELOTradePushDef* NELOFindTradePush(int flow, std::int32_t kind) {
    const auto found = std::find_if(std::begin(kNELOTradePushes), std::end(kNELOTradePushes),
                                    [&](const NELOTradePushDef& k) { return k.flow == flow && k.kind == kind; });
    return found == std::end(kNELOTradePushes) ? nullptr : found;
}

const NELOTradeMessageDef* NELOTradeReplyTo(const NELOTradeMessageDef& request) {
    return NELOFindTradeReceived(NELOReplyServiceNo(request.serviceNo));
}
