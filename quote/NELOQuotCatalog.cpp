#include "NELOQuotCatalog.h"

#include <iterator>

#include "NELOQuotApi.h"
#include "NELOReplyDelivery.h"

namespace quot {

namespace {

// Quote service records: several share a name with a trade record and differ in their members.
// clang-format off
const NELORecordDef kQuotLoginReq{"quot::NELOQuotLoginReqRecord", &kNELOQuotLoginReqLayout};
const NELORecordDef kQuotKey{"quot::NELOQuotKeyRecord", &kNELOQuotKeyLayout};
const NELORecordDef kInstrument{"quot::NELOInstrumentRecord", &kNELOInstrumentLayout};
const NELORecordDef kMinDataKey{"quot::NELOMinDataKeyRecord", &kNELOMinDataKeyLayout};
const NELORecordDef kDayDataKey{"quot::NELODayDataKeyRecord", &kNELODayDataKeyLayout};
const NELORecordDef kTradeDetailKey{"quot::NELOTradeDetailKeyRecord", &kNELOTradeDetailKeyLayout};
const NELORecordDef kMinData{"quot::NELOMinDataRecord", &kNELOMinDataLayout};
const NELORecordDef kDayData{"quot::NELODayDataRecord", &kNELODayDataLayout};
const NELORecordDef kTradeDetail{"quot::NELOTradeDetailRecord", &kNELOTradeDetailLayout};
// The records both services carry.
constexpr const NELORecordDef& kLoginRsp = kNELOLoginRspDef;
constexpr const NELORecordDef& kInvestor = kNELOInvestorDef;
constexpr const NELORecordDef& kQuot = kNELOQuotDef;
// clang-format on

using S = CNELOQuotSpi;
using M = NELOQuotMessage;
constexpr NELODirection Up = NELODirection::ToServer;
constexpr NELODirection Down = NELODirection::ToClient;
constexpr NELODirection Any = NELODirection::Both;

template <auto Callback>
constexpr NELODeliver<NELOQuotTarget> Single = &NELOSingleReply<NELOQuotTarget, Callback>;
template <auto Callback>
constexpr NELODeliver<NELOQuotTarget> Record = &NELORecordReply<NELOQuotTarget, Callback>;
template <auto Callback>
constexpr NELODeliver<NELOQuotTarget> List = &NELOListReply<NELOQuotTarget, Callback>;
template <auto Callback>
constexpr NELODeliver<NELOQuotTarget> Push = &NELOPushNotice<NELOQuotTarget, Callback>;

#define PART(Row, Record) \
    NELOBodyPart { &TZOField::Row, &k##Record }
#define NONE \
    NELOBodyPart { nullptr, nullptr }

}  // namespace

// The three minute-data services carry the same group; which data each serves is the server's business.
// clang-format off
constexpr NELOQuotMessageDef kNELOQuotMessages[kNELOQuotMessageCount] = {
    {M::Heartbeat,                 0, Any,  "heartbeat",                      false, NONE,                                   false, nullptr},
    {M::QuotSubscribe,             7, Up,   "quote subscription",             false, PART(QuotSubscribeReq, QuotKey),        false, nullptr},
    {M::QuotSubscribeRsp,          8, Down, "quote subscription reply",       true,  PART(QuotSubscribeRsp, Instrument),     false, Single<&S::OnQuotSubscribeRsp>},
    {M::QuotUnSubscribe,           9, Up,   "quote unsubscription",           false, PART(QuotUnSubscribeReq, QuotKey),      false, nullptr},
    {M::QuotUnSubscribeRsp,       10, Down, "quote unsubscription reply",     true,  PART(QuotUnSubscribeRsp, Instrument),   false, Single<&S::OnQuotUnSubscribeRsp>},
    {M::Login,                   116, Up,   "login",                          false, PART(LoginReq, QuotLoginReq),           false, nullptr},
    {M::LoginRsp,                117, Down, "login reply",                    true,  PART(LoginRsp, LoginRsp),               false, Record<&S::OnLoginRsp>},
    {M::Logout,                  118, Up,   "logout",                         false, PART(LogoutReq, Investor),              false, nullptr},
    {M::LogoutRsp,               119, Down, "logout reply",                   true,  PART(LogoutRsp, Investor),              false, Record<&S::OnLogoutRsp>},
    {M::QuotNty,                 125, Down, "quote push",                     false, PART(Quot, Quot),                       false, Push<&S::OnQuotNty>},
    {M::MinDataQuery,            150, Up,   "minute data query",              false, PART(MinDataQueryReq, MinDataKey),      false, nullptr},
    {M::MinDataQueryRsp,         151, Down, "minute data query reply",        true,  PART(MinDataList, MinData),             false, List<&S::OnMinDataQueryRsp>},
    {M::DayDataQuery,            152, Up,   "day data query",                 false, PART(DayDataQueryReq, DayDataKey),      false, nullptr},
    {M::DayDataQueryRsp,         153, Down, "day data query reply",           true,  PART(DayDataList, DayData),             false, List<&S::OnDayDataQueryRsp>},
    {M::SecondMinDataQuery,      192, Up,   "second minute data query",       false, PART(MinDataQueryReq, MinDataKey),      false, nullptr},
    {M::SecondMinDataQueryRsp,   193, Down, "second minute data query reply", true,  PART(MinDataList, MinData),             false, List<&S::OnSecondMinDataQueryRsp>},
    {M::ThirdMinDataQuery,       194, Up,   "third minute data query",        false, PART(MinDataQueryReq, MinDataKey),      false, nullptr},
    {M::ThirdMinDataQueryRsp,    195, Down, "third minute data query reply",  true,  PART(MinDataList, MinData),             false, List<&S::OnThirdMinDataQueryRsp>},
    {M::TradeDetailDataQuery,    211, Up,   "trade detail query",             false, PART(TradeDetailDataQueryReq, TradeDetailKey), false, nullptr},
    {M::TradeDetailDataQueryRsp, 212, Down, "trade detail query reply",       true,  PART(TradeDetailDataList, TradeDetail), false, List<&S::OnTradeDetailDataQueryRsp>},
};

const NELORecordDef* const kNELOQuotRecords[] = {
    &kNELORspInfoDef, &kQuotLoginReq, &kLoginRsp, &kInvestor, &kQuotKey, &kInstrument, &kQuot, &kMinDataKey,
    &kDayDataKey, &kTradeDetailKey, &kMinData, &kDayData, &kTradeDetail,
};
// clang-format on
const std::size_t kNELOQuotRecordCount = std::size(kNELOQuotRecords);

#undef PART
#undef NONE

static_assert(NELOCatalogIsInIdOrder(kNELOQuotMessages), "every message row sits at its id");

const NELOQuotMessageDef* NELOFindQuotReceived(int serviceNo) { return NELOFindReceived(kNELOQuotMessages, serviceNo); }

}  // namespace quot
