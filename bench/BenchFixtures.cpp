#include "BenchFixtures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

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
std::vector<std::uint8_t> BuildFrame(std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag, Body body) {
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

// Calls `level(i, bid price, ask price, bid qty, ask qty)` for each of the ten levels of `q`.
template <class Level>
void FillLevels(quot::NELOQuotRecord& q, Level level) {
    double* bidPrices[] = {&q.BidPrice,  &q.BidPrice2, &q.BidPrice3, &q.BidPrice4, &q.BidPrice5,
                           &q.BidPrice6, &q.BidPrice7, &q.BidPrice8, &q.BidPrice9, &q.BidPrice10};
    double* askPrices[] = {&q.AskPrice,  &q.AskPrice2, &q.AskPrice3, &q.AskPrice4, &q.AskPrice5,
                           &q.AskPrice6, &q.AskPrice7, &q.AskPrice8, &q.AskPrice9, &q.AskPrice10};
    std::int32_t* bidQtys[] = {&q.BidQty,  &q.BidQty2, &q.BidQty3, &q.BidQty4, &q.BidQty5,
                               &q.BidQty6, &q.BidQty7, &q.BidQty8, &q.BidQty9, &q.BidQty10};
    std::int32_t* askQtys[] = {&q.AskQty,  &q.AskQty2, &q.AskQty3, &q.AskQty4, &q.AskQty5,
                               &q.AskQty6, &q.AskQty7, &q.AskQty8, &q.AskQty9, &q.AskQty10};
    for (int i = 0; i < 10; ++i) level(i, *bidPrices[i], *askPrices[i], *bidQtys[i], *askQtys[i]);
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
    FillLevels(q, [](int level, double& bid, double& ask, std::int32_t& bidQty, std::int32_t& askQty) {
        bid = 74200.0 - 10.0 * level;
        ask = 74210.0 + 10.0 * level;
        bidQty = 5 + level;
        askQty = 7 + level;
    });
    q.BSFlag = 'B';
    Put(q.ExchangeID, "SHFE");
    return q;
}

std::vector<std::uint8_t> MarketQuoteStream(int count) {
    static const char* const kInstruments[] = {"cu2702", "al2702", "zn2703", "au2706", "ag2706", "rb2705",
                                               "hc2705", "ni2703", "sn2703", "pb2702", "ru2705", "fu2705",
                                               "bu2706", "sp2705", "ss2703", "ao2705"};
    constexpr int kInstrumentCount = sizeof kInstruments / sizeof kInstruments[0];
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> tick(-3, 3);
    std::uniform_int_distribution<int> size(1, 400);
    double lastPrice[kInstrumentCount];
    for (int i = 0; i < kInstrumentCount; ++i) lastPrice[i] = 3000.0 + 1700.0 * i;
    std::vector<std::uint8_t> stream;
    quot::NELOQuotRecord q = SampleQuote();
    for (int n = 0; n < count; ++n) {
        const int instrument = n % kInstrumentCount;
        double& price = lastPrice[instrument];
        price += 5.0 * tick(random);
        Put(q.InstrumentID, kInstruments[instrument]);
        std::snprintf(q.MatchID, sizeof q.MatchID, "20261210-%010d", 1234567 + n);
        const int second = 9 * 3600 + n / 40;
        char time[9];  // HH:MM:SS
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", second / 3600 % 24, second / 60 % 60, second % 60);
        Put(q.ModifyTime, time);
        q.Price = price;
        q.Qty = size(random);
        q.QtyTotal += q.Qty;
        q.Amount += price * q.Qty;
        q.OI += tick(random);
        q.HighestPrice = std::max(q.HighestPrice, price);
        q.LowestPrice = std::min(q.LowestPrice, price);
        FillLevels(q, [&](int level, double& bid, double& ask, std::int32_t& bidQty, std::int32_t& askQty) {
            bid = price - 5.0 * (level + 1);
            ask = price + 5.0 * level;
            bidQty = size(random);
            askQty = size(random);
        });
        q.BSFlag = (n & 1) ? 'S' : 'B';
        const std::vector<std::uint8_t> frame = QuoteFrame(q);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    return stream;
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
    return BuildFrame(kAccountFlowService, kOrderPushKind, sequence,
                      [&](CAPIPackage& p) { return TZOAddRecord(p, TZOField::Order.id, kNELOOrderLayout, &order); });
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
