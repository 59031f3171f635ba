#include "NELOOrderRecords.h"

namespace {

const TZOFieldSlot kInputOrderSlots[] = {
    TZO_MEMBER(NELOInputOrderRecord, OrderID),         TZO_MEMBER(NELOInputOrderRecord, InvestorID),
    TZO_MEMBER(NELOInputOrderRecord, InstrumentID),    TZO_MEMBER(NELOInputOrderRecord, BSFlag),
    TZO_MEMBER(NELOInputOrderRecord, OCFlag),          TZO_MEMBER(NELOInputOrderRecord, PriceType),
    TZO_MEMBER(NELOInputOrderRecord, Price),           TZO_MEMBER(NELOInputOrderRecord, Qty),
    TZO_MEMBER(NELOInputOrderRecord, ProfitStopPrice), TZO_MEMBER(NELOInputOrderRecord, LossStopPrice),
    TZO_MEMBER(NELOInputOrderRecord, FilledPoints),    TZO_MEMBER(NELOInputOrderRecord, ConditionType),
    TZO_MEMBER(NELOInputOrderRecord, ConditionMethod), TZO_MEMBER(NELOInputOrderRecord, ConditionPrice),
    TZO_MEMBER(NELOInputOrderRecord, ExchangeID),      TZO_MEMBER(NELOInputOrderRecord, SessionID),
    TZO_MEMBER(NELOInputOrderRecord, OrderRef),        TZO_MEMBER(NELOInputOrderRecord, AccountID),
    TZO_MEMBER(NELOInputOrderRecord, RequestID),       TZO_MEMBER(NELOInputOrderRecord, ClientID),
    TZO_MEMBER(NELOInputOrderRecord, IPAddress),       TZO_MEMBER(NELOInputOrderRecord, MacAddress),
    TZO_MEMBER(NELOInputOrderRecord, InvestorUnit),    TZO_MEMBER(NELOInputOrderRecord, TimeCondition),
    TZO_MEMBER(NELOInputOrderRecord, VolumeCondition),
};

const TZOFieldSlot kOrderCancelSlots[] = {
    TZO_MEMBER(NELOOrderCancelRecord, InvestorID), TZO_MEMBER(NELOOrderCancelRecord, OrderID),
    TZO_MEMBER(NELOOrderCancelRecord, ExchangeID), TZO_MEMBER(NELOOrderCancelRecord, InstrumentID),
    TZO_MEMBER(NELOOrderCancelRecord, SessionID),  TZO_MEMBER(NELOOrderCancelRecord, OrderRef),
    TZO_MEMBER(NELOOrderCancelRecord, AccountID),  TZO_MEMBER(NELOOrderCancelRecord, OrderSysID),
};

const TZOFieldSlot kProfitLossStopSlots[] = {
    TZO_MEMBER(NELOProfitLossStopRecord, InvestorID),    TZO_MEMBER(NELOProfitLossStopRecord, InstrumentID),
    TZO_MEMBER(NELOProfitLossStopRecord, PosiID),        TZO_MEMBER(NELOProfitLossStopRecord, ProfitStopPrice),
    TZO_MEMBER(NELOProfitLossStopRecord, LossStopPrice),
};

}  // namespace

const TZORecordLayout kNELOInputOrderLayout(kInputOrderSlots, sizeof(NELOInputOrderRecord));
const TZORecordLayout kNELOOrderCancelLayout(kOrderCancelSlots, sizeof(NELOOrderCancelRecord));
const TZORecordLayout kNELOProfitLossStopLayout(kProfitLossStopSlots, sizeof(NELOProfitLossStopRecord));
