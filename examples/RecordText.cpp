#include "RecordText.h"

#include <cstdio>
#include <sstream>

#include "DisplayText.h"

namespace {

struct CodeWord {
    char code;
    const char* word;
};

// clang-format off
const CodeWord kSides[] = {{'0', "buy"}, {'1', "sell"}};
const CodeWord kOffsets[] = {{'0', "open"}, {'1', "close"}, {'3', "close today"}};
const CodeWord kOrderStatuses[] = {
    {'0', "filled"}, {'1', "partly filled"}, {'3', "queued"}, {'5', "cancelled"}, {'a', "accepted"},
};
const CodeWord kPositionSides[] = {{'2', "long"}, {'3', "short"}};
// clang-format on

template <std::size_t N>
std::string Lookup(const CodeWord (&table)[N], char code) {
    for (const CodeWord& row : table)
        if (row.code == code) return row.word;
    char text[16];
    std::snprintf(text, sizeof text, "code 0x%02X", static_cast<unsigned char>(code));
    return text;
}

std::string Money(double amount) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

}  // namespace

std::string SideText(char bsFlag) { return Lookup(kSides, bsFlag); }
std::string OffsetText(char ocFlag) { return Lookup(kOffsets, ocFlag); }
std::string OrderStatusText(char orderStatus) { return Lookup(kOrderStatuses, orderStatus); }
std::string PositionSideText(char bsFlag) { return Lookup(kPositionSides, bsFlag); }

std::string PriceText(double price) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", price);
    std::string s = text;
    // Trailing zeros carry nothing, but keep one decimal so that a price reads as one.
    while (s.size() > 1 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
    return s;
}

std::string DescribeQuote(const NarvDepthQuoteRecord& q) {
    std::ostringstream out;
    out << FieldText(q.InstrumentID) << " " << FieldText(q.ModifyTime) << "  last " << PriceText(q.Price) << "  bid "
        << PriceText(q.BidPrice) << " x" << q.BidQty << "  ask " << PriceText(q.AskPrice) << " x" << q.AskQty
        << "  volume " << q.QtyTotal;
    return out.str();
}

std::string DescribeInstrument(const NarvInstrumentRecord& i) {
    std::ostringstream out;
    out << FieldText(i.InstrumentID) << " on " << FieldText(i.ExchangeID);
    const std::string name = DisplayText(i.InstrumentName);
    if (!name.empty() && name != FieldText(i.InstrumentID)) out << " (" << name << ")";
    out << ": tick " << PriceText(i.MinMovement) << ", multiplier " << i.TradeUnit;
    if (i.ExpiryYear) out << ", expires " << FieldText(i.ExpiredDate);
    return out.str();
}

std::string DescribeOrder(const NarvOrderRecord& o) {
    std::ostringstream out;
    out << "order " << FieldText(o.OrderRef) << " [" << FieldText(o.OrderSysID) << "] " << SideText(o.BSFlag) << " "
        << OffsetText(o.OCFlag) << " " << o.Qty << " " << FieldText(o.InstrumentID) << " @ " << PriceText(o.Price)
        << ": " << OrderStatusText(o.OrderStatus) << ", traded " << o.QtyTraded << ", left " << o.QtyLeft;
    const std::string desc = DisplayText(o.OrderStatusDesc);
    if (!desc.empty()) out << " (" << desc << ")";
    return out.str();
}

std::string DescribeTrade(const NarvTradeRecord& t) {
    std::ostringstream out;
    out << "trade " << FieldText(t.MatchID) << " of order " << FieldText(t.OrderRef) << " [" << FieldText(t.OrderSysID)
        << "]: " << SideText(t.BSFlag) << " " << OffsetText(t.OCFlag) << " " << t.Qty << " "
        << FieldText(t.InstrumentID) << " @ " << PriceText(t.Price) << " at " << FieldText(t.MatchTime);
    return out.str();
}

std::string DescribePosition(const NarvPosiRecord& p) {
    std::ostringstream out;
    out << FieldText(p.InstrumentID) << " " << PositionSideText(p.BSFlag) << " " << p.Qty << " (today " << p.TodayQty
        << "), cost " << Money(p.Cost) << ", margin " << Money(p.Margin) << ", floating P/L " << Money(p.FloatingPL);
    return out.str();
}

std::string DescribeFund(const NarvFundRecord& f) {
    std::ostringstream out;
    out << "balance " << Money(f.FloatBalance) << " " << FieldText(f.Currency) << ", available " << Money(f.FreeBalance)
        << ", margin " << Money(f.Margin) << ", frozen margin " << Money(f.FrozenMargin) << ", fees " << Money(f.Fee)
        << ", floating P/L " << Money(f.FloatingPL);
    return out.str();
}

std::string DescribeRspInfo(const NarvRspInfoRecord& info) {
    return "error " + std::to_string(info.ErrorID) + ": " + DisplayText(info.ErrorMsg);
}
