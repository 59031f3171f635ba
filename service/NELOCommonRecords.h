// The records both services carry alike, with their field tables: the reply information of every reply,
// the login reply, the investor-only record (logout, password change, investor keys) and the ten-level
// quote (a row of the trade service's quote query and the quote service's push). The quote service's
// namespace names them too, so either client's code reads as before.
//
// Thread safety: plain data and constant tables.
#pragma once

#include <cstdint>

#include "NELOMessageCatalog.h"
#include "TZORecordLayout.h"

struct NELORspInfoRecord {
    std::int16_t RspNo;  // 0 = success
    char RspDesc[257];
};

struct NELOLoginRspRecord {
    char InvestorID[16];
    char TradeDate[11];
    char InvestorName[51];
    char SysName[51];
    char SysMode;
    char PayServerType;
    char AdviserID[16];
    char InvestorAdviserFlag;
    std::int64_t SessionID;
};

// Logout request and reply, password-change reply and the investor-only query keys.
struct NELOInvestorRecord {
    char InvestorID[16];
};

// A row of QuotList. Depth levels 2 to 10 follow ModifyTime, each as bid price, bid quantity, ask price,
// ask quantity.
struct NELOQuotRecord {
    char MatchID[31];
    char TradeDate[11];
    char InstrumentID[16];
    double Price;
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
    char ModifyDate[11];
    char ModifyTime[9];
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

extern const TZORecordLayout kNELORspInfoLayout;
extern const TZORecordLayout kNELOLoginRspLayout;
extern const TZORecordLayout kNELOInvestorLayout;
extern const TZORecordLayout kNELOQuotLayout;

// The same records as the message catalogues of both services name them.
extern const NELORecordDef kNELORspInfoDef;
extern const NELORecordDef kNELOLoginRspDef;
extern const NELORecordDef kNELOInvestorDef;
extern const NELORecordDef kNELOQuotDef;
