// Records of the trade service's queries: the keys the client sends and the rows that answer them.
// The order, trade, position, position-detail and fund rows are also what the account pushes carry.
//
// Every record is plain data; the wire carries its fields, never its bytes. Text members are the
// dictionary width + 1 (NUL-terminated), a single-character row is one char, numbers have their row's
// size, and the members are in the order the fields are written. That order matters where two rows of
// one record share a wire id (AskQty5 and ExchangeID in a quotation, OverNightFeeType and FeeFlag in an
// instrument): the decoder takes the field at its current position first, so each member gets its own
// field as long as the server writes them in this order.
#pragma once

#include <cstdint>

#include "NELOCommonRecords.h"
#include "TZORecordLayout.h"

// Key of the quotation, order, trade, position, position-detail and instrument queries. Every key field
// is sent, empty or not.
struct NELOQueryKeyRecord {
    char InvestorID[16];
    char InstrumentID[16];
    char ExchangeID[17];
};

// Key of the fee-rate and both margin-rate queries; the exchange margin-rate query sends InvestorID too.
struct NELORateKeyRecord {
    char InvestorID[16];
    char ExchangeID[17];
    char InstrumentID[16];
};

struct NELOProductKeyRecord {
    char ExchangeID[17];
    char InstrumentType;
    char ProductID[11];
};

struct NELOExchangeKeyRecord {
    char ExchangeID[17];
};

// An order: a row of OrderList, or the group Order of a push.
struct NELOOrderRecord {
    char InvestorID[16];
    char TradeDate[11];
    char OrderID[31];
    char OrderDate[11];
    char OrderTime[9];
    char InstrumentID[16];
    char BSFlag;
    char OCFlag;
    char PriceType;
    double Price;
    std::int32_t Qty;
    std::int32_t QtyLeft;
    double AvgPrice;
    char ModifyDate[11];
    char ModifyTime[9];
    char OrderStatus;
    double ProfitStopPrice;
    double LossStopPrice;
    std::int32_t FilledPoints;
    double Margin;
    double FrozenMargin;
    char ConditionType;
    char ConditionMethod;
    double ConditionPrice;
    char ExchangeID[17];
    std::int64_t SessionID;
    char OrderRef[31];
    char OrderStatusDesc[31];
    char AccountID[31];
    std::int32_t ZRPFrontID;
    std::int32_t ZRPSessionID;
    char ZRPOrderRef[31];
    char OrderSysID[31];
    std::int32_t RequestID;
    char ClientID[16];
    char IPAddress[33];
    char MacAddress[33];
    char InvestorUnit[17];
    char TimeCondition;
    char VolumeCondition;
    char OrderSubmitStatus;
    char UserProductInfo[11];
};

// A trade: a row of TradeList, or the group Trade of a push.
struct NELOTradeRecord {
    char InvestorID[16];
    char TradeDate[11];
    char MatchID[31];
    char OrderID[31];
    char InstrumentID[16];
    char BSFlag;
    char OCFlag;
    double Price;
    std::int32_t Qty;
    char MatchDate[11];
    char MatchTime[9];
    double FeeRate;
    double Margin;
    char ExchangeID[17];
    char AccountID[31];
    char OrderSysID[31];
    char OrderRef[31];
    char ClientID[16];
    char InvestorUnit[17];
};

// A position: a row of PosiList, or the group Posi of a push.
struct NELOPosiRecord {
    char TradeDate[11];
    char InvestorID[16];
    char ExchangeID[17];
    char InstrumentID[16];
    char BSFlag;
    double Price;
    std::int32_t Qty;
    std::int32_t TodayQty;
    std::int32_t QtyFrozen;
    std::int32_t TodayQtyFrozen;
    std::int32_t PreQty;
    double PrePrice;
    double ClosedPL;
    double FloatingPL;
    double Margin;
    double Fee;
    double FrozenMargin;
    double FeeFrozen;
    double Cost;
    double PreCost;
    char PositionDate;
    std::int32_t LongFrozen;
    std::int32_t ShortFrozen;
    double LongFrozenAmount;
    double ShortFrozenAmount;
    std::int32_t OpenVolume;
    std::int32_t CloseVolume;
    double OpenAmount;
    double CloseAmount;
    double PreMargin;
    double PreSettle;
    double SettlePrice;
    double OpenCost;
    double CloseProfitByDate;
    double CloseProfitByTrade;
    char MarginRateType;
    double MarginRate;
    double PositionCostOffset;
    double CashIn;
    double FrozenCash;
};

// A position detail: a row of PosiDetailList, or the group PosiDetail of a push.
struct NELOPosiDetailRecord {
    char TradeDate[11];
    char MatchID[31];
    char OrderID[31];
    char InvestorID[16];
    char InstrumentID[16];
    char BSFlag;
    double Price;
    std::int32_t Qty;
    std::int32_t QtyLeft;
    double ProfitStopPrice;
    double LossStopPrice;
    char InvestorName[51];
    char AgentName[51];
    double FloatingPL;
    double ClosedPL;
    double Fee;
    double Margin;
    char CreateDate[11];
    char CreateTime[9];
    char CloseDate[11];
    char CloseTime[9];
    double ClosePrice;
    double OverNightFee;
    std::int32_t QtyFrozen;
    char ExchangeID[17];
    double CreatePrice;
    double HistoryClosedPL;
    char CreateTradeDate[11];
    std::int32_t PreQtyLeft;
    double PreClosedPL;
    double PreClosePrice;
    double CloseProfitByDate;
    double CloseProfitByTrade;
    double PositionProfitByDate;
    double PositionProfitByTrade;
    char MarginRateType;
    double MarginRate;
    double PreSettle;
    double SettlePrice;
    std::int32_t CloseVolume;
    double CloseAmount;
    std::int32_t TimeFirstVolume;
    char InvestorUnit[17];
};

// Funds of the account: a row of FundList, or the group Fund of a push.
struct NELOFundRecord {
    char TradeDate[11];
    char InvestorID[16];
    double LastBalance;
    double FloatBalance;
    double FreeBalance;
    double Margin;
    double FrozenMargin;
    double Fee;
    double FeeFrozen;
    double ClosedPL;
    double FloatingPL;
    double ProfitLoss;
    double TotalPL;
    double FrozenBalance;
    char InvestorName[51];
    char AgentName[51];
    double InAmount;
    double OutAmount;
    double OverNightFee;
    double PreMargin;
    double CashIn;
    double FrozenCash;
};

// A row of InstrumentList.
struct NELOInstrumentRecord {
    char InstrumentID[16];
    char InstrumentName[31];
    char FeeType;
    double FeeRate;
    char MarginRateType;
    double MarginRate;
    double DailyPriceLimit;
    char PriceUnit;
    std::int32_t TradeUnit;
    double MinMovement;
    double PriceScale;
    double PriceCoefficient;
    char InstrumentStatus;
    char Currency;
    double OverNightFee;
    char OverNightFeeType;
    double PriceMultiply;
    char FeeFlag;
    std::int32_t EachQtyLimt;
    std::int32_t TotalQtyLimt;
    char GoodsName[31];
    char PlateName[31];
    char ExchangeID[17];
    char InstrumentType;
    char UnderlyingInstrID[16];
    double StrikePrice;
    char OptionsType;
    double ExecFee;
    double CloseFeeRate;
    double CloseTodayFeeRate;
    char ExpiredDate[11];
    char OpenDate[11];
    char DeliveryDate[11];
    std::int32_t ShortAllowed;
};

// A row of ProductList.
struct NELOProductRecord {
    char ExchangeID[17];
    char InstrumentType;
    char ProductID[11];
    char ProductName[31];
};

// A row of ExchangeList.
struct NELOExchangeRecord {
    char ExchangeID[17];
    char ExchangeName[51];
};

// A row of InvestorFeeRateList.
struct NELOFeeRateRecord {
    char InvestorID[16];
    char ExchangeID[17];
    char InstrumentID[16];
    char FeeType;
    double FeeRate;
    double CloseFeeRate;
    double CloseTodayFeeRate;
};

// A row of InvestorMarginRateList or of ExchangeMarginRateList. Both lists share the record; the exchange
// rows carry no InvestorID, which stays empty.
struct NELOMarginRateRecord {
    char InvestorID[16];
    char ExchangeID[17];
    char InstrumentID[16];
    char MarginRateType;
    double LongMarginRate;
    double ShortMarginRate;
};

// Field tables, one per record (two for NELOMarginRateRecord, one per list it is read from).
extern const TZORecordLayout kNELOQueryKeyLayout;
extern const TZORecordLayout kNELORateKeyLayout;
extern const TZORecordLayout kNELOProductKeyLayout;
extern const TZORecordLayout kNELOExchangeKeyLayout;
extern const TZORecordLayout kNELOOrderLayout;
extern const TZORecordLayout kNELOTradeLayout;
extern const TZORecordLayout kNELOPosiLayout;
extern const TZORecordLayout kNELOPosiDetailLayout;
extern const TZORecordLayout kNELOFundLayout;
extern const TZORecordLayout kNELOInstrumentLayout;
extern const TZORecordLayout kNELOProductLayout;
extern const TZORecordLayout kNELOExchangeLayout;
extern const TZORecordLayout kNELOFeeRateLayout;
extern const TZORecordLayout kNELOInvestorMarginRateLayout;
extern const TZORecordLayout kNELOExchangeMarginRateLayout;
