// Field tables of the quote service's records, in the order the server writes the fields.
#include "NELOQuotRecords.h"

namespace quot {

namespace {

const TZOFieldSlot kRspInfoSlots[] = {
    TZO_MEMBER(NELORspInfoRecord, RspNo),
    TZO_MEMBER(NELORspInfoRecord, RspDesc),
};

const TZOFieldSlot kQuotLoginReqSlots[] = {
    TZO_MEMBER(NELOQuotLoginReqRecord, InvestorID),
    TZO_MEMBER(NELOQuotLoginReqRecord, InvestorPassword),
    TZO_MEMBER(NELOQuotLoginReqRecord, IP),
    TZO_MEMBER(NELOQuotLoginReqRecord, ProductType),
    TZO_MEMBER(NELOQuotLoginReqRecord, ProductVersion),
};

const TZOFieldSlot kLoginRspSlots[] = {
    TZO_MEMBER(NELOLoginRspRecord, InvestorID),
    TZO_MEMBER(NELOLoginRspRecord, TradeDate),
    TZO_MEMBER(NELOLoginRspRecord, InvestorName),
    TZO_MEMBER(NELOLoginRspRecord, SysName),
    TZO_MEMBER(NELOLoginRspRecord, SysMode),  // 1638, like SessionID below
    TZO_MEMBER(NELOLoginRspRecord, PayServerType),
    TZO_MEMBER(NELOLoginRspRecord, AdviserID),
    TZO_MEMBER(NELOLoginRspRecord, InvestorAdviserFlag),
    TZO_MEMBER(NELOLoginRspRecord, SessionID),
};

const TZOFieldSlot kInvestorSlots[] = {
    TZO_MEMBER(NELOInvestorRecord, InvestorID),
};

const TZOFieldSlot kQuotKeySlots[] = {
    TZO_MEMBER(NELOQuotKeyRecord, InvestorID),
    TZO_MEMBER(NELOQuotKeyRecord, InstrumentID),
};

const TZOFieldSlot kInstrumentSlots[] = {
    TZO_MEMBER(NELOInstrumentRecord, InstrumentID),
};

const TZOFieldSlot kQuotSlots[] = {
    TZO_MEMBER(NELOQuotRecord, MatchID),
    TZO_MEMBER(NELOQuotRecord, TradeDate),
    TZO_MEMBER(NELOQuotRecord, InstrumentID),
    TZO_MEMBER(NELOQuotRecord, Price),
    TZO_MEMBER(NELOQuotRecord, Qty),
    TZO_MEMBER(NELOQuotRecord, BidPrice),
    TZO_MEMBER(NELOQuotRecord, BidQty),
    TZO_MEMBER(NELOQuotRecord, AskPrice),
    TZO_MEMBER(NELOQuotRecord, AskQty),
    TZO_MEMBER(NELOQuotRecord, OpenPrice),
    TZO_MEMBER(NELOQuotRecord, HighestPrice),
    TZO_MEMBER(NELOQuotRecord, LowestPrice),
    TZO_MEMBER(NELOQuotRecord, HighLimit),
    TZO_MEMBER(NELOQuotRecord, LowLimit),
    TZO_MEMBER(NELOQuotRecord, OI),
    TZO_MEMBER(NELOQuotRecord, SettlePrice),
    TZO_MEMBER(NELOQuotRecord, PreClose),
    TZO_MEMBER(NELOQuotRecord, PreSettle),
    TZO_MEMBER(NELOQuotRecord, PreOI),
    TZO_MEMBER(NELOQuotRecord, QtyTotal),
    TZO_MEMBER(NELOQuotRecord, Amount),
    TZO_MEMBER(NELOQuotRecord, ModifyDate),
    TZO_MEMBER(NELOQuotRecord, ModifyTime),
    TZO_MEMBER(NELOQuotRecord, BidPrice2),
    TZO_MEMBER(NELOQuotRecord, BidQty2),
    TZO_MEMBER(NELOQuotRecord, AskPrice2),
    TZO_MEMBER(NELOQuotRecord, AskQty2),
    TZO_MEMBER(NELOQuotRecord, BidPrice3),
    TZO_MEMBER(NELOQuotRecord, BidQty3),
    TZO_MEMBER(NELOQuotRecord, AskPrice3),
    TZO_MEMBER(NELOQuotRecord, AskQty3),
    TZO_MEMBER(NELOQuotRecord, BidPrice4),
    TZO_MEMBER(NELOQuotRecord, BidQty4),
    TZO_MEMBER(NELOQuotRecord, AskPrice4),
    TZO_MEMBER(NELOQuotRecord, AskQty4),
    TZO_MEMBER(NELOQuotRecord, BidPrice5),
    TZO_MEMBER(NELOQuotRecord, BidQty5),
    TZO_MEMBER(NELOQuotRecord, AskPrice5),
    TZO_MEMBER(NELOQuotRecord, AskQty5),
    TZO_MEMBER(NELOQuotRecord, BidPrice6),
    TZO_MEMBER(NELOQuotRecord, BidQty6),
    TZO_MEMBER(NELOQuotRecord, AskPrice6),
    TZO_MEMBER(NELOQuotRecord, AskQty6),
    TZO_MEMBER(NELOQuotRecord, BidPrice7),
    TZO_MEMBER(NELOQuotRecord, BidQty7),
    TZO_MEMBER(NELOQuotRecord, AskPrice7),
    TZO_MEMBER(NELOQuotRecord, AskQty7),
    TZO_MEMBER(NELOQuotRecord, BidPrice8),
    TZO_MEMBER(NELOQuotRecord, BidQty8),
    TZO_MEMBER(NELOQuotRecord, AskPrice8),
    TZO_MEMBER(NELOQuotRecord, AskQty8),
    TZO_MEMBER(NELOQuotRecord, BidPrice9),
    TZO_MEMBER(NELOQuotRecord, BidQty9),
    TZO_MEMBER(NELOQuotRecord, AskPrice9),
    TZO_MEMBER(NELOQuotRecord, AskQty9),
    TZO_MEMBER(NELOQuotRecord, BidPrice10),
    TZO_MEMBER(NELOQuotRecord, BidQty10),
    TZO_MEMBER(NELOQuotRecord, AskPrice10),
    TZO_MEMBER(NELOQuotRecord, AskQty10),
    TZO_MEMBER(NELOQuotRecord, BSFlag),
    TZO_MEMBER(NELOQuotRecord, ExchangeID),  // 1637, like AskQty5 above
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
    TZO_MEMBER(NELOMinDataRecord, InstrumentID),
    TZO_MEMBER(NELOMinDataRecord, DateTime),
    TZO_MEMBER(NELOMinDataRecord, OpenPrice),
    TZO_MEMBER(NELOMinDataRecord, HighestPrice),
    TZO_MEMBER(NELOMinDataRecord, LowestPrice),
    TZO_MEMBER(NELOMinDataRecord, ClosePrice),
    TZO_MEMBER(NELOMinDataRecord, QtyTotal),
    TZO_MEMBER(NELOMinDataRecord, OI),
    TZO_MEMBER(NELOMinDataRecord, Amount),
    TZO_MEMBER(NELOMinDataRecord, ExchangeID),
};

const TZOFieldSlot kDayDataSlots[] = {
    TZO_MEMBER(NELODayDataRecord, InstrumentID),
    TZO_MEMBER(NELODayDataRecord, Date),
    TZO_MEMBER(NELODayDataRecord, OpenPrice),
    TZO_MEMBER(NELODayDataRecord, HighestPrice),
    TZO_MEMBER(NELODayDataRecord, LowestPrice),
    TZO_MEMBER(NELODayDataRecord, ClosePrice),
    TZO_MEMBER(NELODayDataRecord, QtyTotal),
    TZO_MEMBER(NELODayDataRecord, OI),
    TZO_MEMBER(NELODayDataRecord, Amount),
    TZO_MEMBER(NELODayDataRecord, ExchangeID),
};

const TZOFieldSlot kTradeDetailSlots[] = {
    TZO_MEMBER(NELOTradeDetailRecord, MatchID),
    TZO_MEMBER(NELOTradeDetailRecord, InstrumentID),
    TZO_MEMBER(NELOTradeDetailRecord, Date),
    TZO_MEMBER(NELOTradeDetailRecord, Time),
    TZO_MEMBER(NELOTradeDetailRecord, Qty),
    TZO_MEMBER(NELOTradeDetailRecord, Price),
    TZO_MEMBER(NELOTradeDetailRecord, BSFlag),
};

}  // namespace

const TZORecordLayout kNELORspInfoLayout(kRspInfoSlots, sizeof(NELORspInfoRecord));
const TZORecordLayout kNELOQuotLoginReqLayout(kQuotLoginReqSlots, sizeof(NELOQuotLoginReqRecord));
const TZORecordLayout kNELOLoginRspLayout(kLoginRspSlots, sizeof(NELOLoginRspRecord));
const TZORecordLayout kNELOInvestorLayout(kInvestorSlots, sizeof(NELOInvestorRecord));
const TZORecordLayout kNELOQuotKeyLayout(kQuotKeySlots, sizeof(NELOQuotKeyRecord));
const TZORecordLayout kNELOInstrumentLayout(kInstrumentSlots, sizeof(NELOInstrumentRecord));
const TZORecordLayout kNELOQuotLayout(kQuotSlots, sizeof(NELOQuotRecord));
const TZORecordLayout kNELOMinDataKeyLayout(kMinDataKeySlots, sizeof(NELOMinDataKeyRecord));
const TZORecordLayout kNELODayDataKeyLayout(kDayDataKeySlots, sizeof(NELODayDataKeyRecord));
const TZORecordLayout kNELOTradeDetailKeyLayout(kTradeDetailKeySlots, sizeof(NELOTradeDetailKeyRecord));
const TZORecordLayout kNELOMinDataLayout(kMinDataSlots, sizeof(NELOMinDataRecord));
const TZORecordLayout kNELODayDataLayout(kDayDataSlots, sizeof(NELODayDataRecord));
const TZORecordLayout kNELOTradeDetailLayout(kTradeDetailSlots, sizeof(NELOTradeDetailRecord));

}  // namespace quot
