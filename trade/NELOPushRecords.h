// The one record only the push flows carry; the other pushes reuse the query and account records.
#pragma once

#include "TZORecordLayout.h"

struct NELOMarketStatusRecord {
    char MarketStatus;
    char MarketStatusDesc[31];
    char ExchangeID[17];
};

extern const TZORecordLayout kNELOMarketStatusLayout;
