// Field tables of the quote service's records, in the order the server writes the fields.
#include "NELOQuotRecords.h"

namespace quot {

namespace {

const TZOFieldSlot kQuotLoginReqSlots[] = {
    TZO_MEMBER(NELOQuotLoginReqRecord, InvestorID),
    TZO_MEMBER(NELOQuotLoginReqRecord, InvestorPassword),
    TZO_MEMBER(NELOQuotLoginReqRecord, IP),
    TZO_MEMBER(NELOQuotLoginReqRecord, ProductType),
    TZO_MEMBER(NELOQuotLoginReqRecord, ProductVersion),
};

const TZOFieldSlot kQuotKeySlots[] = {
    TZO_MEMBER(NELOQuotKeyRecord, InvestorID),
    TZO_MEMBER(NELOQuotKeyRecord, InstrumentID),
};

const TZOFieldSlot kInstrumentSlots[] = {
    TZO_MEMBER(NELOInstrumentRecord, InstrumentID),
};

const TZOFieldSlot kMinDataKeySlots[] = {
    TZO_MEMBER(NELOMinDataKeyRecord, InstrumentID),
    TZO_MEMBER(NELOMinDataKeyRecord, DateTimeFrom),
    TZO_MEMBER(NELOMinDataKeyRecord, DateTimeTo),
    TZO_MEMBER(NELOMinDataKeyRecord, ExchangeID),
};

const TZOFieldSlot kDayDataKeySlots[] = {
    TZO_MEMBER(NELODayDataKeyRecord, InstrumentID),
    TZO_MEMBER(NELODayDataKeyRecord, DateFrom),
    TZO_MEMBER(NELODayDataKeyRecord, DateTo),
    TZO_MEMBER(NELODayDataKeyRecord, ExchangeID),
};

const TZOFieldSlot kTradeDetailKeySlots[] = {
    TZO_MEMBER(NELOTradeDetailKeyRecord, InstrumentID),
    TZO_MEMBER(NELOTradeDetailKeyRecord, TradeDate),
    TZO_MEMBER(NELOTradeDetailKeyRecord, ExchangeID),
};

const TZOFieldSlot kMinDataSlots[] = {
    TZO_MEMBER(NELOMinDataRecord, InstrumentID), TZO_MEMBER(NELOMinDataRecord, DateTime),
    TZO_MEMBER(NELOMinDataRecord, OpenPrice),    TZO_MEMBER(NELOMinDataRecord, HighestPrice),
    TZO_MEMBER(NELOMinDataRecord, LowestPrice),  TZO_MEMBER(NELOMinDataRecord, ClosePrice),
    TZO_MEMBER(NELOMinDataRecord, QtyTotal),     TZO_MEMBER(NELOMinDataRecord, OI),
    TZO_MEMBER(NELOMinDataRecord, Amount),       TZO_MEMBER(NELOMinDataRecord, ExchangeID),
};

const TZOFieldSlot kDayDataSlots[] = {
    TZO_MEMBER(NELODayDataRecord, InstrumentID), TZO_MEMBER(NELODayDataRecord, Date),
    TZO_MEMBER(NELODayDataRecord, OpenPrice),    TZO_MEMBER(NELODayDataRecord, HighestPrice),
    TZO_MEMBER(NELODayDataRecord, LowestPrice),  TZO_MEMBER(NELODayDataRecord, ClosePrice),
    TZO_MEMBER(NELODayDataRecord, QtyTotal),     TZO_MEMBER(NELODayDataRecord, OI),
    TZO_MEMBER(NELODayDataRecord, Amount),       TZO_MEMBER(NELODayDataRecord, ExchangeID),
};

const TZOFieldSlot kTradeDetailSlots[] = {
    TZO_MEMBER(NELOTradeDetailRecord, MatchID), TZO_MEMBER(NELOTradeDetailRecord, InstrumentID),
    TZO_MEMBER(NELOTradeDetailRecord, Date),    TZO_MEMBER(NELOTradeDetailRecord, Time),
    TZO_MEMBER(NELOTradeDetailRecord, Qty),     TZO_MEMBER(NELOTradeDetailRecord, Price),
    TZO_MEMBER(NELOTradeDetailRecord, BSFlag),
};

}  // namespace

const TZORecordLayout kNELOQuotLoginReqLayout(kQuotLoginReqSlots, sizeof(NELOQuotLoginReqRecord));
const TZORecordLayout kNELOQuotKeyLayout(kQuotKeySlots, sizeof(NELOQuotKeyRecord));
const TZORecordLayout kNELOInstrumentLayout(kInstrumentSlots, sizeof(NELOInstrumentRecord));
const TZORecordLayout kNELOMinDataKeyLayout(kMinDataKeySlots, sizeof(NELOMinDataKeyRecord));
const TZORecordLayout kNELODayDataKeyLayout(kDayDataKeySlots, sizeof(NELODayDataKeyRecord));
const TZORecordLayout kNELOTradeDetailKeyLayout(kTradeDetailKeySlots, sizeof(NELOTradeDetailKeyRecord));
const TZORecordLayout kNELOMinDataLayout(kMinDataSlots, sizeof(NELOMinDataRecord));
const TZORecordLayout kNELODayDataLayout(kDayDataSlots, sizeof(NELODayDataRecord));
const TZORecordLayout kNELOTradeDetailLayout(kTradeDetailSlots, sizeof(NELOTradeDetailRecord));

}  // namespace quot
