// The trade service's messages as data: every request, reply and push with its ServiceNo, direction,
// body (group or list and the record it holds) and the callback it reaches, and every kind of flow push.
// The client's request bodies and dispatch, the front simulator, the wire dump and the dissector are all
// read off these two tables; nothing else names a ServiceNo, a body or a callback of the service.
//
// Adding a request: its two rows here (the request and its reply under the next ServiceNo), its records
// and layouts beside the others, the request operation and the callback slot of NELOTradeApi.h.
//
// Thread safety: constant tables, read from any thread.
#pragma once

#include <cstddef>

#include "NELOMessageCatalog.h"
#include "NELOTradeSession.h"

// Every row of kNELOTradeMessages, in table order; requests are named after their operation, what
// answers or is pushed after its callback.
enum class NELOTradeMessage : std::uint8_t {
    Heartbeat,
    AccountFlow,
    MarketFlow,
    FlowSubscribe,
    FlowSubscribeRsp,
    Login,
    LoginRsp,
    Logout,
    LogoutRsp,
    ChangePassword,
    ChangePasswordRsp,
    InputOrder,
    InputOrderRsp,
    OrderCancel,
    OrderCancelRsp,
    QuotQuery,
    QuotQueryRsp,
    OrderQuery,
    OrderQueryRsp,
    TradeQuery,
    TradeQueryRsp,
    PosiQuery,
    PosiQueryRsp,
    FundQuery,
    FundQueryRsp,
    InstrumentQuery,
    InstrumentQueryRsp,
    PosiDetailQuery,
    PosiDetailQueryRsp,
    ProfitLossStopSet,
    ProfitLossStopSetRsp,
    InputOrderEx,
    InputOrderExRsp,
    BulletinQuery,
    BulletinQueryRsp,
    NoticeQuery,
    NoticeQueryRsp,
    ElectronicFundIO,
    ElectronicFundIORsp,
    FundIODetailQuery,
    FundIODetailQueryRsp,
    ReportQuery,
    ReportQueryRsp,
    HisOrderQuery,
    HisOrderQueryRsp,
    HisTradeQuery,
    HisTradeQueryRsp,
    HisBulletinQuery,
    HisBulletinQueryRsp,
    HisNoticeQuery,
    HisNoticeQueryRsp,
    AccountBind,
    AccountBindRsp,
    AccountBindQuery,
    AccountBindQueryRsp,
    HisFundQuery,
    HisFundQueryRsp,
    HisPosiDetailQuery,
    HisPosiDetailQueryRsp,
    AccountBindNty,
    ProductQuery,
    ProductQueryRsp,
    ExchangeQuery,
    ExchangeQueryRsp,
    InvestorFeeRateQuery,
    InvestorFeeRateQueryRsp,
    InvestorMarginRateQuery,
    InvestorMarginRateQueryRsp,
    ExchangeMarginRateQuery,
    ExchangeMarginRateQueryRsp,
    Count
};

// Every kind of flow push, in table order. Kind 166 is the same notice on either flow.
enum class NELOTradePush : std::uint8_t {
    OrderNty,
    TradeNty,
    PosiDetailNty,
    FundNty,
    PosiNty,
    AccountNoticeNty,
    ElectronicFundIONty,
    MarketStatusNty,
    BulletinNty,
    MarketNoticeNty,
    Count
};

using NELOTradeMessageDef = NELOMessageDef<CNELOTradeSession, NELOTradeMessage>;
using NELOTradePushDef = NELOPushKindDef<CNELOTradeSession, NELOTradePush>;

inline constexpr std::size_t kNELOTradeMessageCount = static_cast<std::size_t>(NELOTradeMessage::Count);
inline constexpr std::size_t kNELOTradePushCount = static_cast<std::size_t>(NELOTradePush::Count);

extern const NELOTradeMessageDef kNELOTradeMessages[kNELOTradeMessageCount];
extern const NELOTradePushDef kNELOTradePushes[kNELOTradePushCount];
// Every record definition the two tables use, each once.
extern const NELORecordDef* const kNELOTradeRecords[];
extern const std::size_t kNELOTradeRecordCount;

inline const NELOTradeMessageDef& NELOTradeMessageOf(NELOTradeMessage id) {
    return kNELOTradeMessages[static_cast<std::size_t>(id)];
}

inline const NELOTradePushDef& NELOTradePushOf(NELOTradePush id) {
    return kNELOTradePushes[static_cast<std::size_t>(id)];
}

// What the client does with a received ServiceNo; null when the service sends no such message.
const NELOTradeMessageDef* NELOFindTradeReceived(int serviceNo);
// The push kind `kind` of flow `flow`; null when unknown.
const NELOTradePushDef* NELOFindTradePush(int flow, std::int32_t kind);
// The reply row of a request row; null when the service sends none.
const NELOTradeMessageDef* NELOTradeReplyTo(const NELOTradeMessageDef& request);
