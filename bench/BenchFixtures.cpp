#include "BenchFixtures.h"

#include <cstdio>
#include <cstring>

#include "APIPackage.h"
#include "NELOSessionRecords.h"
#include "TZOByteOrder.h"

namespace narv_bench {

namespace {

template <std::size_t N>
void Put(char (&dest)[N], const char* text) {
    std::snprintf(dest, N, "%s", text);
}

// Begins a message behind a length word, lets `body` add the fields, then writes the length.
template <class Body>
std::vector<std::uint8_t> BuildFrame(std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag,
                                     Body body) {
    std::vector<std::uint8_t> frame(4 + kAPIMessageMaxSize);
    CAPIPackage package;
    package.Begin(serviceNo, requestId, frame.data() + 4);
    body(package);
    package.SetEndFlag(endFlag);
    const std::uint32_t length = package.Length();
    tzo_wire::StoreU32(frame.data(), length);
    frame.resize(4 + length);
    return frame;
}

}  // namespace

quot::NELOQuotRecord SampleQuote() {
    quot::NELOQuotRecord q{};
    Put(q.MatchID, "20261210-0001234567");
    Put(q.TradeDate, "2026-12-10");
    Put(q.InstrumentID, "cu2702");
    q.Price = 74210.0;
    q.Qty = 3;
    q.OpenPrice = 73980.0;
    q.HighestPrice = 74400.0;
    q.LowestPrice = 73850.0;
    q.HighLimit = 79900.0;
    q.LowLimit = 68200.0;
    q.OI = 187654;
    q.SettlePrice = 0.0;
    q.PreClose = 74050.0;
    q.PreSettle = 74060.0;
    q.PreOI = 186001;
    q.QtyTotal = 45678;
    q.Amount = 16941234500.0;
    Put(q.ModifyDate, "2026-12-10");
    Put(q.ModifyTime, "10:15:30");
    double* bidPrices[] = {&q.BidPrice, &q.BidPrice2, &q.BidPrice3, &q.BidPrice4, &q.BidPrice5,
                           &q.BidPrice6, &q.BidPrice7, &q.BidPrice8, &q.BidPrice9, &q.BidPrice10};
    double* askPrices[] = {&q.AskPrice, &q.AskPrice2, &q.AskPrice3, &q.AskPrice4, &q.AskPrice5,
                           &q.AskPrice6, &q.AskPrice7, &q.AskPrice8, &q.AskPrice9, &q.AskPrice10};
    std::int32_t* bidQtys[] = {&q.BidQty, &q.BidQty2, &q.BidQty3, &q.BidQty4, &q.BidQty5,
                               &q.BidQty6, &q.BidQty7, &q.BidQty8, &q.BidQty9, &q.BidQty10};
    std::int32_t* askQtys[] = {&q.AskQty, &q.AskQty2, &q.AskQty3, &q.AskQty4, &q.AskQty5,
                               &q.AskQty6, &q.AskQty7, &q.AskQty8, &q.AskQty9, &q.AskQty10};
    for (int level = 0; level < 10; ++level) {
        *bidPrices[level] = 74200.0 - 10.0 * level;
        *askPrices[level] = 74210.0 + 10.0 * level;
        *bidQtys[level] = 5 + level;
        *askQtys[level] = 7 + level;
    }
    q.BSFlag = 'B';
    Put(q.ExchangeID, "SHFE");
    return q;
}

NELOOrderRecord SampleOrder() {
    NELOOrderRecord o{};
    Put(o.InvestorID, "880001234");
    Put(o.TradeDate, "2026-12-10");
    Put(o.OrderID, "100000123");
    Put(o.OrderDate, "2026-12-10");
    Put(o.OrderTime, "10:15:30");
    Put(o.InstrumentID, "cu2702");
    o.BSFlag = 'B';
    o.OCFlag = 'O';
    o.PriceType = 'L';
    o.Price = 74210.0;
    o.Qty = 2;
    o.QtyLeft = 2;
    Put(o.ModifyDate, "2026-12-10");
    Put(o.ModifyTime, "10:15:30");
    o.OrderStatus = 'I';
    o.ConditionType = 'P';
    o.ConditionMethod = '5';
    o.Margin = 14842.0;
    o.FrozenMargin = 14842.0;
    Put(o.ExchangeID, "SHFE");
    o.SessionID = (std::int64_t{3} << 32) | 77;
    Put(o.OrderRef, "000000000012");
    Put(o.AccountID, "880001234");
    Put(o.OrderSysID, "SHFE00004567");
    o.RequestID = 12;
    Put(o.ClientID, "01234567");
    Put(o.IPAddress, "192.168.10.23");
    Put(o.MacAddress, "00:1A:2B:3C:4D:5E");
    o.TimeCondition = '3';
    o.VolumeCondition = '1';
    o.OrderSubmitStatus = '0';
    Put(o.UserProductInfo, "narvclient");
    return o;
}

NELOInputOrderRecord SampleInputOrder() {
    NELOInputOrderRecord o{};
    Put(o.InvestorID, "880001234");
    Put(o.InstrumentID, "cu2702");
    o.BSFlag = 'B';
    o.OCFlag = 'O';
    o.PriceType = 'L';
    o.Price = 74210.0;
    o.Qty = 2;
    o.ConditionType = 'P';
    o.ConditionMethod = '5';
    Put(o.ExchangeID, "SHFE");
    o.SessionID = (std::int64_t{3} << 32) | 77;
    Put(o.OrderRef, "000000000012");
    o.RequestID = 12;
    Put(o.ClientID, "01234567");
    Put(o.IPAddress, "192.168.10.23");
    Put(o.MacAddress, "00:1A:2B:3C:4D:5E");
    o.TimeCondition = '3';
    o.VolumeCondition = '1';
    return o;
}

std::vector<std::uint8_t> QuoteFrame(const quot::NELOQuotRecord& quote) {
    return BuildFrame(kQuotePushService, 0, 0, [&](CAPIPackage& p) {
        return TZOAddRecord(p, TZOField::Quot.id, quot::kNELOQuotLayout, &quote);
    });
}

std::vector<std::uint8_t> OrderPushFrame(const NELOOrderRecord& order, std::int32_t sequence) {
    return BuildFrame(kAccountFlowService, kOrderPushKind, sequence, [&](CAPIPackage& p) {
        return TZOAddRecord(p, TZOField::Order.id, kNELOOrderLayout, &order);
    });
}

std::vector<std::uint8_t> InputOrderFrame(const NELOInputOrderRecord& order, std::int32_t requestId) {
    return BuildFrame(kInputOrderService, requestId, 0, [&](CAPIPackage& p) {
        return TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
    });
}

std::vector<std::uint8_t> InputOrderReplyFrame(const NELOInputOrderRecord& order, std::int32_t requestId) {
    return BuildFrame(kInputOrderReplyService, requestId, 0, [&](CAPIPackage& p) {
        NELORspInfoRecord info{};
        if (TZOAddRecord(p, TZOField::RspInfo.id, kNELORspInfoLayout, &info) < 0) return -1;
        return TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order);
    });
}

void PatchInt32(std::uint8_t* frame, std::size_t offset, std::int32_t value) {
    tzo_wire::StoreU32(frame + offset, static_cast<std::uint32_t>(value));
}

void PatchInt32(std::vector<std::uint8_t>& frame, std::size_t offset, std::int32_t value) {
    PatchInt32(frame.data(), offset, value);
}

}  // namespace narv_bench
