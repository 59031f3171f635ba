// Records of the back end's quote service and their field tables.
//
// Every record is plain data filled by the caller or by the decoder; the wire carries its fields, never
// its bytes. Text members are the dictionary width + 1 (NUL-terminated), numbers have the row's size.
// The order of the members is the order the server writes the fields in, which matters where two rows
// share an id (AskQty5 and ExchangeID on 1637, SysMode and SessionID on 1638): the decoder finds each at
// its current position.
#pragma once

#include <cstdint>

#include "TZORecordLayout.h"

// The quote service names several records as the trade service does, with other members; the namespace
// keeps the two sets apart in a program that links both clients.
namespace quot {

// Reply code and text of every reply (group RspInfo).
struct NELORspInfoRecord {
    std::int16_t RspNo;  // 0 = success
    char RspDesc[257];
};

// LoginReq of the quote service: the trade service's login request without the product descriptions.
struct NELOQuotLoginReqRecord {
    char InvestorID[16];
    char InvestorPassword[21];
    char IP[101];
    char ProductType;
    std::int32_t ProductVersion;
};

struct NELOLoginRspRecord {
    char InvestorID[16];
    char TradeDate[11];  // YYYY-MM-DD
    char InvestorName[51];
    char SysName[51];
    char SysMode;
    char PayServerType;
    char AdviserID[16];
    char InvestorAdviserFlag;
    std::int64_t SessionID;  // front number in the high half, session number in the low half
};

// LogoutReq and LogoutRsp.
struct NELOInvestorRecord {
    char InvestorID[16];
};

// QuotSubscribeReq and QuotUnSubscribeReq.
struct NELOQuotKeyRecord {
    char InvestorID[16];
    char InstrumentID[16];
};

// QuotSubscribeRsp and QuotUnSubscribeRsp.
struct NELOInstrumentRecord {
    char InstrumentID[16];
};

// The quote push (group Quot).
struct NELOQuotRecord {
    char MatchID[31];
    char TradeDate[11];  // YYYY-MM-DD
    char InstrumentID[16];
    double Price;  // last price
    std::int32_t Qty;
    double BidPrice;
    std::int32_t BidQty;
    double AskPrice;
    std::int32_t AskQty;
    double OpenPrice;
    double HighestPrice;
    double LowestPrice;
    double HighLimit;
    double LowLimit;
    std::int64_t OI;
    double SettlePrice;
    double PreClose;
    double PreSettle;
    std::int64_t PreOI;
    std::int64_t QtyTotal;
    double Amount;
    char ModifyDate[11];  // YYYY-MM-DD
    char ModifyTime[9];   // HH:MM:SS
    // Levels 2 to 10, each as bid price, bid quantity, ask price, ask quantity.
    double BidPrice2;
    std::int32_t BidQty2;
    double AskPrice2;
    std::int32_t AskQty2;
    double BidPrice3;
    std::int32_t BidQty3;
    double AskPrice3;
    std::int32_t AskQty3;
    double BidPrice4;
    std::int32_t BidQty4;
    double AskPrice4;
    std::int32_t AskQty4;
    double BidPrice5;
    std::int32_t BidQty5;
    double AskPrice5;
    std::int32_t AskQty5;
    double BidPrice6;
    std::int32_t BidQty6;
    double AskPrice6;
    std::int32_t AskQty6;
    double BidPrice7;
    std::int32_t BidQty7;
    double AskPrice7;
    std::int32_t AskQty7;
    double BidPrice8;
    std::int32_t BidQty8;
    double AskPrice8;
    std::int32_t AskQty8;
    double BidPrice9;
    std::int32_t BidQty9;
    double AskPrice9;
    std::int32_t AskQty9;
    double BidPrice10;
    std::int32_t BidQty10;
    double AskPrice10;
    std::int32_t AskQty10;
    char BSFlag;
    char ExchangeID[17];
};

// MinDataQueryReq (services 150, 192 and 194).
struct NELOMinDataKeyRecord {
    char InstrumentID[16];
    char DateTimeFrom[20];
    char DateTimeTo[20];
    char ExchangeID[17];
};

// DayDataQueryReq.
struct NELODayDataKeyRecord {
    char InstrumentID[16];
    char DateFrom[11];
    char DateTo[11];
    char ExchangeID[17];
};

// TradeDetailDataQueryReq.
struct NELOTradeDetailKeyRecord {
    char InstrumentID[16];
    char TradeDate[11];
    char ExchangeID[17];
};

// One row of MinDataList.
struct NELOMinDataRecord {
    char InstrumentID[16];
    char DateTime[20];
    double OpenPrice;
    double HighestPrice;
    double LowestPrice;
    double ClosePrice;
    std::int64_t QtyTotal;
    std::int64_t OI;
    double Amount;
    char ExchangeID[17];
};

// One row of DayDataList.
struct NELODayDataRecord {
    char InstrumentID[16];
    char Date[11];
    double OpenPrice;
    double HighestPrice;
    double LowestPrice;
    double ClosePrice;
    std::int64_t QtyTotal;
    std::int64_t OI;
    double Amount;
    char ExchangeID[17];
};

// One row of TradeDetailDataList.
struct NELOTradeDetailRecord {
    char MatchID[31];
    char InstrumentID[16];
    char Date[11];
    char Time[9];
    std::int32_t Qty;
    double Price;
    char BSFlag;
};

extern const TZORecordLayout kNELORspInfoLayout;
extern const TZORecordLayout kNELOQuotLoginReqLayout;
extern const TZORecordLayout kNELOLoginRspLayout;
extern const TZORecordLayout kNELOInvestorLayout;
extern const TZORecordLayout kNELOQuotKeyLayout;
extern const TZORecordLayout kNELOInstrumentLayout;
extern const TZORecordLayout kNELOQuotLayout;
extern const TZORecordLayout kNELOMinDataKeyLayout;
extern const TZORecordLayout kNELODayDataKeyLayout;
extern const TZORecordLayout kNELOTradeDetailKeyLayout;
extern const TZORecordLayout kNELOMinDataLayout;
extern const TZORecordLayout kNELODayDataLayout;
extern const TZORecordLayout kNELOTradeDetailLayout;

}  // namespace quot
