#include "NELOCommonRecords.h"

namespace {

const TZOFieldSlot kRspInfoSlots[] = {
    TZO_MEMBER(NELORspInfoRecord, RspNo),
    TZO_MEMBER(NELORspInfoRecord, RspDesc),
};

// SysMode and SessionID share wire id 1638; the order of the rows keeps them apart.
const TZOFieldSlot kLoginRspSlots[] = {
    TZO_MEMBER(NELOLoginRspRecord, InvestorID),   TZO_MEMBER(NELOLoginRspRecord, TradeDate),
    TZO_MEMBER(NELOLoginRspRecord, InvestorName), TZO_MEMBER(NELOLoginRspRecord, SysName),
    TZO_MEMBER(NELOLoginRspRecord, SysMode),      TZO_MEMBER(NELOLoginRspRecord, PayServerType),
    TZO_MEMBER(NELOLoginRspRecord, AdviserID),    TZO_MEMBER(NELOLoginRspRecord, InvestorAdviserFlag),
    TZO_MEMBER(NELOLoginRspRecord, SessionID),
};

const TZOFieldSlot kInvestorSlots[] = {
    TZO_MEMBER(NELOInvestorRecord, InvestorID),
};

// The ten-level quote; levels 2 to 10 follow ModifyTime, each as bid price, bid quantity, ask price, ask
// quantity. ExchangeID and AskQty5 share wire id 1637: the order of the rows keeps them apart.
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
    TZO_SLOT(NELOQuotRecord, BidPrice2, BidPrice2),
    TZO_SLOT(NELOQuotRecord, BidQty2, BidQty2),
    TZO_SLOT(NELOQuotRecord, AskPrice2, AskPrice2),
    TZO_SLOT(NELOQuotRecord, AskQty2, AskQty2),
    TZO_SLOT(NELOQuotRecord, BidPrice3, BidPrice3),
    TZO_SLOT(NELOQuotRecord, BidQty3, BidQty3),
    TZO_SLOT(NELOQuotRecord, AskPrice3, AskPrice3),
    TZO_SLOT(NELOQuotRecord, AskQty3, AskQty3),
    TZO_SLOT(NELOQuotRecord, BidPrice4, BidPrice4),
    TZO_MEMBER(NELOQuotRecord, BidQty4),
    TZO_SLOT(NELOQuotRecord, AskPrice4, AskPrice4),
    TZO_SLOT(NELOQuotRecord, AskQty4, AskQty4),
    TZO_MEMBER(NELOQuotRecord, BidPrice5),
    TZO_MEMBER(NELOQuotRecord, BidQty5),
    TZO_SLOT(NELOQuotRecord, AskPrice5, AskPrice5),
    TZO_SLOT(NELOQuotRecord, AskQty5, AskQty5),  // 1637, like ExchangeID below
    TZO_SLOT(NELOQuotRecord, BidPrice6, BidPrice6),
    TZO_SLOT(NELOQuotRecord, BidQty6, BidQty6),
    TZO_SLOT(NELOQuotRecord, AskPrice6, AskPrice6),
    TZO_SLOT(NELOQuotRecord, AskQty6, AskQty6),
    TZO_SLOT(NELOQuotRecord, BidPrice7, BidPrice7),
    TZO_SLOT(NELOQuotRecord, BidQty7, BidQty7),
    TZO_SLOT(NELOQuotRecord, AskPrice7, AskPrice7),
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
    TZO_SLOT(NELOQuotRecord, ExchangeID, ExchangeID),  // 1637, like AskQty5 above
};

}  // namespace

const TZORecordLayout kNELORspInfoLayout(kRspInfoSlots, sizeof(NELORspInfoRecord));
const TZORecordLayout kNELOLoginRspLayout(kLoginRspSlots, sizeof(NELOLoginRspRecord));
const TZORecordLayout kNELOInvestorLayout(kInvestorSlots, sizeof(NELOInvestorRecord));
const TZORecordLayout kNELOQuotLayout(kQuotSlots, sizeof(NELOQuotRecord));

const NELORecordDef kNELORspInfoDef{"NELORspInfoRecord", &kNELORspInfoLayout};
const NELORecordDef kNELOLoginRspDef{"NELOLoginRspRecord", &kNELOLoginRspLayout};
const NELORecordDef kNELOInvestorDef{"NELOInvestorRecord", &kNELOInvestorLayout};
const NELORecordDef kNELOQuotDef{"NELOQuotRecord", &kNELOQuotLayout};
