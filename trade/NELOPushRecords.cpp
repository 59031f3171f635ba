#include "NELOPushRecords.h"

namespace {

const TZOFieldSlot kMarketStatusSlots[] = {
    TZO_MEMBER(NELOMarketStatusRecord, MarketStatus),
    TZO_MEMBER(NELOMarketStatusRecord, MarketStatusDesc),
    TZO_MEMBER(NELOMarketStatusRecord, ExchangeID),
};

}  // namespace

const TZORecordLayout kNELOMarketStatusLayout(kMarketStatusSlots, sizeof(NELOMarketStatusRecord));
