// Records of the back end's quote service and their field tables.
//
// Every record is plain data filled by the caller or by the decoder; the wire carries its fields, never
// its bytes. Text members are the dictionary width + 1 (NUL-terminated), numbers have the row's size.
// The order of the members is the order the server writes the fields in, which matters where two rows
// share an id (AskQty5 and ExchangeID on 1637, SysMode and SessionID on 1638): the decoder finds each at
// its current position.
#pragma once

#include <cstdint>

#include "NELOCommonRecords.h"
#include "TZORecordLayout.h"

// The quote service names several records as the trade service does, with other members; the namespace
// keeps the two sets apart in a program that links both clients.
namespace quot {

// The records both services carry alike (reply information, the login reply, the logout record and the
// quote push), under this namespace's names too.
using ::kNELOInvestorLayout;
using ::kNELOLoginRspLayout;
using ::kNELOQuotLayout;
using ::kNELORspInfoLayout;
using ::NELOInvestorRecord;
using ::NELOLoginRspRecord;
using ::NELOQuotRecord;
using ::NELORspInfoRecord;

// LoginReq of the quote service: the trade service's login request without the product descriptions.
struct NELOQuotLoginReqRecord {
    char InvestorID[16];
    char InvestorPassword[21];
    char IP[101];
    char ProductType;
    std::int32_t ProductVersion;
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

extern const TZORecordLayout kNELOQuotLoginReqLayout;
extern const TZORecordLayout kNELOQuotKeyLayout;
extern const TZORecordLayout kNELOInstrumentLayout;
extern const TZORecordLayout kNELOMinDataKeyLayout;
extern const TZORecordLayout kNELODayDataKeyLayout;
extern const TZORecordLayout kNELOTradeDetailKeyLayout;
extern const TZORecordLayout kNELOMinDataLayout;
extern const TZORecordLayout kNELODayDataLayout;
extern const TZORecordLayout kNELOTradeDetailLayout;

}  // namespace quot
