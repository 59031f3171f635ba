// Records of order entry, cancellation and the profit/loss stop of a position. The client converts
// nothing: every member travels exactly as the caller filled it, empty texts and zeros included.
#pragma once

#include <cstdint>

#include "TZORecordLayout.h"

// Sent by both order entries (122 and 159) and returned by their replies.
struct NELOInputOrderRecord {
    char OrderID[31];
    char InvestorID[16];
    char InstrumentID[16];
    char BSFlag;
    char OCFlag;
    char PriceType;
    double Price;
    std::int32_t Qty;
    double ProfitStopPrice;
    double LossStopPrice;
    std::int32_t FilledPoints;
    char ConditionType;
    char ConditionMethod;
    double ConditionPrice;
    char ExchangeID[17];
    std::int64_t SessionID;
    char OrderRef[31];
    char AccountID[31];
    std::int32_t RequestID;  // the caller's own, independent of the envelope's RequestID
    char ClientID[16];
    char IPAddress[33];
    char MacAddress[33];
    char InvestorUnit[17];
    char TimeCondition;
    char VolumeCondition;
};

// OrderCancelReq on the way out, OrderCancelRsp on the way back.
struct NELOOrderCancelRecord {
    char InvestorID[16];
    char OrderID[31];
    char ExchangeID[17];
    char InstrumentID[16];
    std::int64_t SessionID;
    char OrderRef[31];
    char AccountID[31];
    char OrderSysID[31];
};

// ProfitLossStopSetReq on the way out, ProfitLossStopSetRsp on the way back.
struct NELOProfitLossStopRecord {
    char InvestorID[16];
    char InstrumentID[16];
    char PosiID[31];
    double ProfitStopPrice;
    double LossStopPrice;
};

extern const TZORecordLayout kNELOInputOrderLayout;
extern const TZORecordLayout kNELOOrderCancelLayout;
extern const TZORecordLayout kNELOProfitLossStopLayout;
