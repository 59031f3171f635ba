// Fills the ten-level quotation record (a row of the trade service's quotation query, the quote service's
// push) from a depth snapshot.
#pragma once

#include <cstring>

#include "DepthSnapshot.h"
#include "NELOCommonRecords.h"
#include "SimText.h"

inline void SimFillQuotRecord(const SimDepthSnapshot& s, NELOQuotRecord& r) {
    std::memset(&r, 0, sizeof r);
    SimCopy(r.MatchID, std::to_string(s.updateNo));
    SimCopy(r.TradeDate, s.tradingDay);
    SimCopy(r.InstrumentID, s.instrumentId);
    r.Price = s.lastPrice;
    r.Qty = s.lastQty;
    r.BidPrice = s.bids[0].price;
    r.BidQty = s.bids[0].qty;
    r.AskPrice = s.asks[0].price;
    r.AskQty = s.asks[0].qty;
    r.OpenPrice = s.openPrice;
    r.HighestPrice = s.highestPrice;
    r.LowestPrice = s.lowestPrice;
    r.HighLimit = s.highLimit;
    r.LowLimit = s.lowLimit;
    r.OI = s.openInterest;
    r.SettlePrice = 0.0;
    r.PreClose = s.preClose;
    r.PreSettle = s.preSettle;
    r.PreOI = s.preOpenInterest;
    r.QtyTotal = s.volume;
    r.Amount = s.turnover;
    SimCopy(r.ModifyDate, s.tradingDay);
    SimCopy(r.ModifyTime, s.updateTime);
#define SIM_FILL_LEVEL(k)                \
    r.BidPrice##k = s.bids[k - 1].price; \
    r.BidQty##k = s.bids[k - 1].qty;     \
    r.AskPrice##k = s.asks[k - 1].price; \
    r.AskQty##k = s.asks[k - 1].qty;
    SIM_FILL_LEVEL(2)
    SIM_FILL_LEVEL(3)
    SIM_FILL_LEVEL(4)
    SIM_FILL_LEVEL(5)
    SIM_FILL_LEVEL(6)
    SIM_FILL_LEVEL(7)
    SIM_FILL_LEVEL(8)
    SIM_FILL_LEVEL(9)
    SIM_FILL_LEVEL(10)
#undef SIM_FILL_LEVEL
    r.BSFlag = 'B';
    SimCopy(r.ExchangeID, s.exchangeId);
}
