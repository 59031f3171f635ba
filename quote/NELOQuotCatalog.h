// The quote service's messages as data: every request, reply and push with its ServiceNo, direction,
// body (group or list and the record it holds) and the callback it reaches. The client's request bodies
// and dispatch, the front simulator, the wire dump and the dissector are all read off this table.
//
// Thread safety: constant tables, read from any thread.
#pragma once

#include <cstddef>

#include "NELOMessageCatalog.h"

namespace quot {

class CNELOQuotSpi;

// What the quote client dispatches one package into: its callback object as it stood when the package
// arrived.
struct NELOQuotTarget {
    CNELOQuotSpi* spi;
    CNELOQuotSpi* Spi() const { return spi; }
};

// Every row of kNELOQuotMessages, in table order; requests are named after their operation, what
// answers or is pushed after its callback.
enum class NELOQuotMessage : std::uint8_t {
    Heartbeat,
    QuotSubscribe,
    QuotSubscribeRsp,
    QuotUnSubscribe,
    QuotUnSubscribeRsp,
    Login,
    LoginRsp,
    Logout,
    LogoutRsp,
    QuotNty,
    MinDataQuery,
    MinDataQueryRsp,
    DayDataQuery,
    DayDataQueryRsp,
    SecondMinDataQuery,
    SecondMinDataQueryRsp,
    ThirdMinDataQuery,
    ThirdMinDataQueryRsp,
    TradeDetailDataQuery,
    TradeDetailDataQueryRsp,
    Count
};

using NELOQuotMessageDef = NELOMessageDef<NELOQuotTarget, NELOQuotMessage>;

inline constexpr std::size_t kNELOQuotMessageCount = static_cast<std::size_t>(NELOQuotMessage::Count);

extern const NELOQuotMessageDef kNELOQuotMessages[kNELOQuotMessageCount];
// Every record definition the table uses, each once.
extern const NELORecordDef* const kNELOQuotRecords[];
extern const std::size_t kNELOQuotRecordCount;

inline const NELOQuotMessageDef& NELOQuotMessageOf(NELOQuotMessage id) {
    return kNELOQuotMessages[static_cast<std::size_t>(id)];
}

// What the client does with a received ServiceNo; null when the service sends no such message.
const NELOQuotMessageDef* NELOFindQuotReceived(int serviceNo);

}  // namespace quot
