#include "WireCatalog.h"

#include <algorithm>
#include <iterator>

#include "NELOAccountRecords.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOQueryRecords.h"
#include "NELOQuotRecords.h"
#include "NELOSessionRecords.h"

namespace {

// clang-format off
// Trade service records.
const WireRecordDef kRspInfo{"NELORspInfoRecord", &kNELORspInfoLayout};
const WireRecordDef kLoginReq{"NELOLoginReqRecord", &kNELOLoginReqLayout};
const WireRecordDef kLoginRsp{"NELOLoginRspRecord", &kNELOLoginRspLayout};
const WireRecordDef kInvestor{"NELOInvestorRecord", &kNELOInvestorLayout};
const WireRecordDef kChangePassword{"NELOChangePasswordRecord", &kNELOChangePasswordLayout};
const WireRecordDef kFlowSubscribe{"NELOFlowSubscribeRecord", &kNELOFlowSubscribeLayout};
const WireRecordDef kInputOrder{"NELOInputOrderRecord", &kNELOInputOrderLayout};
const WireRecordDef kOrderCancel{"NELOOrderCancelRecord", &kNELOOrderCancelLayout};
const WireRecordDef kProfitLossStop{"NELOProfitLossStopRecord", &kNELOProfitLossStopLayout};
const WireRecordDef kMarketStatus{"NELOMarketStatusRecord", &kNELOMarketStatusLayout};
const WireRecordDef kQueryKey{"NELOQueryKeyRecord", &kNELOQueryKeyLayout};
const WireRecordDef kRateKey{"NELORateKeyRecord", &kNELORateKeyLayout};
const WireRecordDef kProductKey{"NELOProductKeyRecord", &kNELOProductKeyLayout};
const WireRecordDef kExchangeKey{"NELOExchangeKeyRecord", &kNELOExchangeKeyLayout};
const WireRecordDef kOrder{"NELOOrderRecord", &kNELOOrderLayout};
const WireRecordDef kTrade{"NELOTradeRecord", &kNELOTradeLayout};
const WireRecordDef kQuot{"NELOQuotRecord", &kNELOQuotLayout};
const WireRecordDef kPosi{"NELOPosiRecord", &kNELOPosiLayout};
const WireRecordDef kPosiDetail{"NELOPosiDetailRecord", &kNELOPosiDetailLayout};
const WireRecordDef kFund{"NELOFundRecord", &kNELOFundLayout};
const WireRecordDef kInstrument{"NELOInstrumentRecord", &kNELOInstrumentLayout};
const WireRecordDef kProduct{"NELOProductRecord", &kNELOProductLayout};
const WireRecordDef kExchange{"NELOExchangeRecord", &kNELOExchangeLayout};
const WireRecordDef kFeeRate{"NELOFeeRateRecord", &kNELOFeeRateLayout};
const WireRecordDef kInvestorMarginRate{"NELOMarginRateRecord(investor)", &kNELOInvestorMarginRateLayout};
const WireRecordDef kExchangeMarginRate{"NELOMarginRateRecord(exchange)", &kNELOExchangeMarginRateLayout};
const WireRecordDef kDateRangeKey{"NELODateRangeKeyRecord", &kNELODateRangeKeyLayout};
const WireRecordDef kHisKey{"NELOHisKeyRecord", &kNELOHisKeyLayout};
const WireRecordDef kHisPosiKey{"NELOHisPosiKeyRecord", &kNELOHisPosiKeyLayout};
const WireRecordDef kBulletin{"NELOBulletinRecord", &kNELOBulletinLayout};
const WireRecordDef kNotice{"NELONoticeRecord", &kNELONoticeLayout};
const WireRecordDef kFundTransferReq{"NELOFundTransferReqRecord", &kNELOFundTransferReqLayout};
const WireRecordDef kFundTransferRsp{"NELOFundTransferRspRecord", &kNELOFundTransferRspLayout};
const WireRecordDef kFundTransferNty{"NELOFundTransferNtyRecord", &kNELOFundTransferNtyLayout};
const WireRecordDef kFundIODetail{"NELOFundIODetailRecord", &kNELOFundIODetailLayout};
const WireRecordDef kReport{"NELOReportRecord", &kNELOReportLayout};
const WireRecordDef kAccountBindReq{"NELOAccountBindReqRecord", &kNELOAccountBindReqLayout};
const WireRecordDef kAccountBindRsp{"NELOAccountBindRspRecord", &kNELOAccountBindRspLayout};
const WireRecordDef kAccountBind{"NELOAccountBindRecord", &kNELOAccountBindLayout};

// Quote service records: several share a name with a trade record and differ in their members.
const WireRecordDef kQRspInfo{"quot::NELORspInfoRecord", &quot::kNELORspInfoLayout};
const WireRecordDef kQLoginReq{"quot::NELOQuotLoginReqRecord", &quot::kNELOQuotLoginReqLayout};
const WireRecordDef kQLoginRsp{"quot::NELOLoginRspRecord", &quot::kNELOLoginRspLayout};
const WireRecordDef kQInvestor{"quot::NELOInvestorRecord", &quot::kNELOInvestorLayout};
const WireRecordDef kQQuotKey{"quot::NELOQuotKeyRecord", &quot::kNELOQuotKeyLayout};
const WireRecordDef kQInstrument{"quot::NELOInstrumentRecord", &quot::kNELOInstrumentLayout};
const WireRecordDef kQQuot{"quot::NELOQuotRecord", &quot::kNELOQuotLayout};
const WireRecordDef kQMinDataKey{"quot::NELOMinDataKeyRecord", &quot::kNELOMinDataKeyLayout};
const WireRecordDef kQDayDataKey{"quot::NELODayDataKeyRecord", &quot::kNELODayDataKeyLayout};
const WireRecordDef kQTradeDetailKey{"quot::NELOTradeDetailKeyRecord", &quot::kNELOTradeDetailKeyLayout};
const WireRecordDef kQMinData{"quot::NELOMinDataRecord", &quot::kNELOMinDataLayout};
const WireRecordDef kQDayData{"quot::NELODayDataRecord", &quot::kNELODayDataLayout};
const WireRecordDef kQTradeDetail{"quot::NELOTradeDetailRecord", &quot::kNELOTradeDetailLayout};

const WireRecordDef* const kRecords[] = {
    &kRspInfo, &kLoginReq, &kLoginRsp, &kInvestor, &kChangePassword, &kFlowSubscribe, &kInputOrder,
    &kOrderCancel, &kProfitLossStop, &kMarketStatus, &kQueryKey, &kRateKey, &kProductKey, &kExchangeKey,
    &kOrder, &kTrade, &kQuot, &kPosi, &kPosiDetail, &kFund, &kInstrument, &kProduct, &kExchange, &kFeeRate,
    &kInvestorMarginRate, &kExchangeMarginRate, &kDateRangeKey, &kHisKey, &kHisPosiKey, &kBulletin, &kNotice,
    &kFundTransferReq, &kFundTransferRsp, &kFundTransferNty, &kFundIODetail, &kReport, &kAccountBindReq,
    &kAccountBindRsp, &kAccountBind,
    &kQRspInfo, &kQLoginReq, &kQLoginRsp, &kQInvestor, &kQQuotKey, &kQInstrument, &kQQuot, &kQMinDataKey,
    &kQDayDataKey, &kQTradeDetailKey, &kQMinData, &kQDayData, &kQTradeDetail,
};

constexpr WireService T = WireService::Trade;
constexpr WireService Q = WireService::Quote;
constexpr WireDirection Up = WireDirection::ToServer;
constexpr WireDirection Down = WireDirection::ToClient;
constexpr WireDirection Any = WireDirection::Both;

#define PART(Row, Record) WireBodyPart{&TZOField::Row, &Record}
#define NONE WireBodyPart{nullptr, nullptr}

const WireMessageDef kMessages[] = {
    {T,   0, Any,  "heartbeat",                              {NONE, NONE}, false},
    {T,   1, Down, "flow 1 push (account)",                  {NONE, NONE}, true},
    {T,   2, Down, "flow 2 push (market)",                   {NONE, NONE}, true},
    {T,   3, Up,   "flow subscription",                      {PART(FlowSubscribeReqList, kFlowSubscribe), NONE}, false},
    {T,   4, Down, "flow subscription reply",                {PART(RspInfo, kRspInfo), PART(FlowSubscribeRspList, kFlowSubscribe)}, false},
    {T, 116, Up,   "login",                                  {PART(LoginReq, kLoginReq), NONE}, false},
    {T, 117, Down, "login reply",                            {PART(RspInfo, kRspInfo), PART(LoginRsp, kLoginRsp)}, false},
    {T, 118, Up,   "logout",                                 {PART(LogoutReq, kInvestor), NONE}, false},
    {T, 119, Down, "logout reply",                           {PART(RspInfo, kRspInfo), PART(LogoutRsp, kInvestor)}, false},
    {T, 120, Up,   "password change",                        {PART(ChangePasswordReq, kChangePassword), NONE}, false},
    {T, 121, Down, "password change reply",                  {PART(RspInfo, kRspInfo), PART(ChangePasswordRsp, kInvestor)}, false},
    {T, 122, Up,   "order entry",                            {PART(InputOrder, kInputOrder), NONE}, false},
    {T, 123, Down, "order entry reply",                      {PART(RspInfo, kRspInfo), PART(InputOrder, kInputOrder)}, false},
    {T, 127, Up,   "cancel",                                 {PART(OrderCancelReq, kOrderCancel), NONE}, false},
    {T, 128, Down, "cancel reply",                           {PART(RspInfo, kRspInfo), PART(OrderCancelRsp, kOrderCancel)}, false},
    {T, 131, Up,   "quotation query",                        {PART(QuotQueryReq, kQueryKey), NONE}, false},
    {T, 132, Down, "quotation query reply",                  {PART(RspInfo, kRspInfo), PART(QuotList, kQuot)}, false},
    {T, 137, Up,   "order query",                            {PART(OrderQueryReq, kQueryKey), NONE}, false},
    {T, 138, Down, "order query reply",                      {PART(RspInfo, kRspInfo), PART(OrderList, kOrder)}, false},
    {T, 139, Up,   "trade query",                            {PART(TradeQueryReq, kQueryKey), NONE}, false},
    {T, 140, Down, "trade query reply",                      {PART(RspInfo, kRspInfo), PART(TradeList, kTrade)}, false},
    {T, 141, Up,   "position query",                         {PART(PosiQueryReq, kQueryKey), NONE}, false},
    {T, 142, Down, "position query reply",                   {PART(RspInfo, kRspInfo), PART(PosiList, kPosi)}, false},
    {T, 143, Up,   "fund query",                             {PART(FundQueryReq, kInvestor), NONE}, false},
    {T, 144, Down, "fund query reply",                       {PART(RspInfo, kRspInfo), PART(FundList, kFund)}, false},
    {T, 145, Up,   "instrument query",                       {PART(InstrumentQueryReq, kQueryKey), NONE}, false},
    {T, 146, Down, "instrument query reply",                 {PART(RspInfo, kRspInfo), PART(InstrumentList, kInstrument)}, false},
    {T, 147, Up,   "position-detail query",                  {PART(PosiDetailQueryReq, kQueryKey), NONE}, false},
    {T, 148, Down, "position-detail query reply",            {PART(RspInfo, kRspInfo), PART(PosiDetailList, kPosiDetail)}, false},
    {T, 154, Up,   "profit/loss stop setting",               {PART(ProfitLossStopSetReq, kProfitLossStop), NONE}, false},
    {T, 155, Down, "profit/loss stop setting reply",         {PART(RspInfo, kRspInfo), PART(ProfitLossStopSetRsp, kProfitLossStop)}, false},
    {T, 159, Up,   "second order entry",                     {PART(InputOrder, kInputOrder), NONE}, false},
    {T, 160, Down, "second order entry reply",               {PART(RspInfo, kRspInfo), PART(InputOrder, kInputOrder)}, false},
    {T, 161, Up,   "bulletin query",                         {PART(BulletinQueryReq, kInvestor), NONE}, false},
    {T, 162, Down, "bulletin query reply",                   {PART(RspInfo, kRspInfo), PART(BulletinList, kBulletin)}, false},
    {T, 163, Up,   "notice query",                           {PART(NoticeQueryReq, kInvestor), NONE}, false},
    {T, 164, Down, "notice query reply",                     {PART(RspInfo, kRspInfo), PART(NoticeList, kNotice)}, false},
    {T, 167, Up,   "fund transfer",                          {PART(ElectronicFundIOReq, kFundTransferReq), NONE}, false},
    {T, 168, Down, "fund transfer reply",                    {PART(RspInfo, kRspInfo), PART(ElectronicFundIORsp, kFundTransferRsp)}, false},
    {T, 170, Up,   "fund-transfer detail query",             {PART(FundIODetailQueryReq, kDateRangeKey), NONE}, false},
    {T, 171, Down, "fund-transfer detail query reply",       {PART(RspInfo, kRspInfo), PART(FundIODetailList, kFundIODetail)}, false},
    {T, 172, Up,   "report query",                           {PART(ReportQueryReq, kDateRangeKey), NONE}, false},
    {T, 173, Down, "report query reply",                     {PART(RspInfo, kRspInfo), PART(ReportList, kReport)}, false},
    {T, 174, Up,   "historical orders query",                {PART(HisOrderQueryReq, kHisKey), NONE}, false},
    {T, 175, Down, "historical orders query reply",          {PART(RspInfo, kRspInfo), PART(OrderList, kOrder)}, false},
    {T, 176, Up,   "historical trades query",                {PART(HisTradeQueryReq, kHisKey), NONE}, false},
    {T, 177, Down, "historical trades query reply",          {PART(RspInfo, kRspInfo), PART(TradeList, kTrade)}, false},
    {T, 178, Up,   "historical bulletins query",             {PART(HisBulletinQueryReq, kDateRangeKey), NONE}, false},
    {T, 179, Down, "historical bulletins query reply",       {PART(RspInfo, kRspInfo), PART(BulletinList, kBulletin)}, false},
    {T, 180, Up,   "historical notices query",               {PART(HisNoticeQueryReq, kDateRangeKey), NONE}, false},
    {T, 181, Down, "historical notices query reply",         {PART(RspInfo, kRspInfo), PART(NoticeList, kNotice)}, false},
    {T, 196, Up,   "bank account binding",                   {PART(AccountBindReq, kAccountBindReq), NONE}, false},
    {T, 197, Down, "bank account binding reply",             {PART(RspInfo, kRspInfo), PART(AccountBindRsp, kAccountBindRsp)}, false},
    {T, 198, Up,   "binding query",                          {PART(AccountBindQueryReq, kInvestor), NONE}, false},
    {T, 199, Down, "binding query reply",                    {PART(RspInfo, kRspInfo), PART(AccountBindList, kAccountBind)}, false},
    {T, 200, Up,   "historical funds query",                 {PART(HisFundQueryReq, kDateRangeKey), NONE}, false},
    {T, 201, Down, "historical funds query reply",           {PART(RspInfo, kRspInfo), PART(FundList, kFund)}, false},
    {T, 202, Up,   "historical position details query",      {PART(HisPosiDetailQueryReq, kHisPosiKey), NONE}, false},
    {T, 203, Down, "historical position details query reply",{PART(RspInfo, kRspInfo), PART(PosiDetailList, kPosiDetail)}, false},
    {T, 210, Down, "binding status push",                    {PART(AccountBind, kAccountBind), NONE}, false},
    {T, 301, Up,   "product query",                          {PART(ProductQueryReq, kProductKey), NONE}, false},
    {T, 302, Down, "product query reply",                    {PART(RspInfo, kRspInfo), PART(ProductList, kProduct)}, false},
    {T, 303, Up,   "exchange query",                         {PART(ExchangeQueryReq, kExchangeKey), NONE}, false},
    {T, 304, Down, "exchange query reply",                   {PART(RspInfo, kRspInfo), PART(ExchangeList, kExchange)}, false},
    {T, 305, Up,   "fee-rate query",                         {PART(InvestorFeeRateQueryReq, kRateKey), NONE}, false},
    {T, 306, Down, "fee-rate query reply",                   {PART(RspInfo, kRspInfo), PART(InvestorFeeRateList, kFeeRate)}, false},
    {T, 307, Up,   "investor margin-rate query",             {PART(InvestorMarginRateQueryReq, kRateKey), NONE}, false},
    {T, 308, Down, "investor margin-rate query reply",       {PART(RspInfo, kRspInfo), PART(InvestorMarginRateList, kInvestorMarginRate)}, false},
    {T, 309, Up,   "exchange margin-rate query",             {PART(ExchangeMarginRateQueryReq, kRateKey), NONE}, false},
    {T, 310, Down, "exchange margin-rate query reply",       {PART(RspInfo, kRspInfo), PART(ExchangeMarginRateList, kExchangeMarginRate)}, false},

    {Q,   0, Any,  "heartbeat",                              {NONE, NONE}, false},
    {Q,   7, Up,   "quote subscription",                     {PART(QuotSubscribeReq, kQQuotKey), NONE}, false},
    {Q,   8, Down, "quote subscription reply",               {PART(RspInfo, kQRspInfo), PART(QuotSubscribeRsp, kQInstrument)}, false},
    {Q,   9, Up,   "quote unsubscription",                   {PART(QuotUnSubscribeReq, kQQuotKey), NONE}, false},
    {Q,  10, Down, "quote unsubscription reply",             {PART(RspInfo, kQRspInfo), PART(QuotUnSubscribeRsp, kQInstrument)}, false},
    {Q, 116, Up,   "login",                                  {PART(LoginReq, kQLoginReq), NONE}, false},
    {Q, 117, Down, "login reply",                            {PART(RspInfo, kQRspInfo), PART(LoginRsp, kQLoginRsp)}, false},
    {Q, 118, Up,   "logout",                                 {PART(LogoutReq, kQInvestor), NONE}, false},
    {Q, 119, Down, "logout reply",                           {PART(RspInfo, kQRspInfo), PART(LogoutRsp, kQInvestor)}, false},
    {Q, 125, Down, "quote push",                             {PART(Quot, kQQuot), NONE}, false},
    {Q, 150, Up,   "minute data query",                      {PART(MinDataQueryReq, kQMinDataKey), NONE}, false},
    {Q, 151, Down, "minute data query reply",                {PART(RspInfo, kQRspInfo), PART(MinDataList, kQMinData)}, false},
    {Q, 152, Up,   "day data query",                         {PART(DayDataQueryReq, kQDayDataKey), NONE}, false},
    {Q, 153, Down, "day data query reply",                   {PART(RspInfo, kQRspInfo), PART(DayDataList, kQDayData)}, false},
    {Q, 192, Up,   "second minute data query",               {PART(MinDataQueryReq, kQMinDataKey), NONE}, false},
    {Q, 193, Down, "second minute data query reply",         {PART(RspInfo, kQRspInfo), PART(MinDataList, kQMinData)}, false},
    {Q, 194, Up,   "third minute data query",                {PART(MinDataQueryReq, kQMinDataKey), NONE}, false},
    {Q, 195, Down, "third minute data query reply",          {PART(RspInfo, kQRspInfo), PART(MinDataList, kQMinData)}, false},
    {Q, 211, Up,   "trade detail query",                     {PART(TradeDetailDataQueryReq, kQTradeDetailKey), NONE}, false},
    {Q, 212, Down, "trade detail query reply",               {PART(RspInfo, kQRspInfo), PART(TradeDetailDataList, kQTradeDetail)}, false},
};

// Kind 166 is the same notice on either flow.
const WirePushKindDef kPushKinds[] = {
    {1, 124, "order return",           PART(Order, kOrder)},
    {1, 130, "trade return",           PART(Trade, kTrade)},
    {1, 156, "position detail",        PART(PosiDetail, kPosiDetail)},
    {1, 157, "fund",                   PART(Fund, kFund)},
    {1, 158, "position",               PART(Posi, kPosi)},
    {1, 166, "notice",                 PART(Notice, kNotice)},
    {1, 169, "fund transfer",          PART(ElectronicFundIONty, kFundTransferNty)},
    {2, 129, "market status",          PART(MarketStatusNty, kMarketStatus)},
    {2, 165, "bulletin",               PART(Bulletin, kBulletin)},
    {2, 166, "notice",                 PART(Notice, kNotice)},
};
// clang-format on

#undef PART
#undef NONE

const WireCatalog kCatalog{kMessages, std::size(kMessages), kPushKinds, std::size(kPushKinds),
                           kRecords,  std::size(kRecords)};

}  // namespace

const WireCatalog& TheWireCatalog() { return kCatalog; }

const char* WireServiceName(WireService service) { return service == WireService::Trade ? "trade" : "quote"; }

const WireMessageDef* FindWireMessage(WireService service, std::uint16_t serviceNo) {
    const auto found = std::find_if(std::begin(kMessages), std::end(kMessages), [&](const WireMessageDef& m) {
        return m.service == service && m.serviceNo == serviceNo;
    });
    return found == std::end(kMessages) ? nullptr : found;
}

const WirePushKindDef* FindWirePushKind(std::uint16_t flow, std::int32_t kind) {
    const auto found = std::find_if(std::begin(kPushKinds), std::end(kPushKinds),
                                    [&](const WirePushKindDef& k) { return k.flow == flow && k.kind == kind; });
    return found == std::end(kPushKinds) ? nullptr : found;
}

bool WireServiceNoIsOnly(WireService service, std::uint16_t serviceNo) {
    const WireService other = service == WireService::Trade ? WireService::Quote : WireService::Trade;
    return FindWireMessage(service, serviceNo) && !FindWireMessage(other, serviceNo);
}
