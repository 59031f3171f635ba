// The quote service's field tables against the dictionary, and the decoding rules that depend on the
// order of the tables (ids shared by two rows).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "APIPackage.h"
#include "NELOQuotRecords.h"

using namespace quot;

namespace {

struct LayoutCase {
    const char* name;
    const TZORecordLayout& layout;
};

const LayoutCase kQuoteLayouts[] = {
    {"RspInfo", kNELORspInfoLayout},
    {"QuotLoginReq", kNELOQuotLoginReqLayout},
    {"LoginRsp", kNELOLoginRspLayout},
    {"Investor", kNELOInvestorLayout},
    {"QuotKey", kNELOQuotKeyLayout},
    {"Instrument", kNELOInstrumentLayout},
    {"Quot", kNELOQuotLayout},
    {"MinDataKey", kNELOMinDataKeyLayout},
    {"DayDataKey", kNELODayDataKeyLayout},
    {"TradeDetailKey", kNELOTradeDetailKeyLayout},
    {"MinData", kNELOMinDataLayout},
    {"DayData", kNELODayDataLayout},
    {"TradeDetail", kNELOTradeDetailLayout},
};

TEST(QuoteRecordLayout, EveryLayoutFitsTheDictionary) {
    for (const LayoutCase& c : kQuoteLayouts) {
        const char* problem = TZOCheckLayout(c.layout);
        EXPECT_EQ(problem, nullptr) << c.name << ": " << problem;
    }
}

// Each slot of a layout is a distinct member: no two slots overlap inside the record.
TEST(QuoteRecordLayout, SlotsDoNotOverlap) {
    for (const LayoutCase& c : kQuoteLayouts) {
        std::vector<int> owner(c.layout.recordSize, -1);
        for (std::uint32_t i = 0; i < c.layout.count; ++i) {
            const TZOFieldSlot& slot = c.layout.slots[i];
            for (std::uint32_t b = slot.offset; b < slot.offset + slot.size && b < owner.size(); ++b) {
                EXPECT_EQ(owner[b], -1) << c.name << ": " << slot.field->name << " overlaps";
                owner[b] = static_cast<int>(i);
            }
        }
    }
}

// The quote carries ten levels; only the ids of the table may appear, in the server's order.
TEST(QuoteRecordLayout, QuoteFieldIdsInServerOrder) {
    std::vector<std::uint16_t> expected = {1072, 1081, 1046, 1047, 1048, 1083, 1099, 1084, 1100, 1093, 1094, 1095,
                                           1214, 1215, 1088, 1091, 1092, 1085, 1086, 1087, 1089, 1062, 1063};
    const std::uint16_t levels[9][4] = {{1622, 1624, 1623, 1625}, {1626, 1628, 1627, 1629}, {1630, 1632, 1631, 1633},
                                        {1634, 1636, 1635, 1637}, {1640, 1642, 1641, 1643}, {1644, 1646, 1645, 1647},
                                        {1648, 1650, 1649, 1651}, {1652, 1654, 1653, 1655}, {1656, 1658, 1657, 1659}};
    for (const auto& level : levels) expected.insert(expected.end(), level, level + 4);
    expected.push_back(1045);
    expected.push_back(1637);

    std::vector<std::uint16_t> actual;
    for (std::uint32_t i = 0; i < kNELOQuotLayout.count; ++i) actual.push_back(kNELOQuotLayout.slots[i].field->id);
    EXPECT_EQ(actual, expected);
}

NELOQuotRecord MakeQuote() {
    NELOQuotRecord q{};
    std::strcpy(q.InstrumentID, "cu2501");
    q.AskQty5 = 7;
    std::strcpy(q.ExchangeID, "SHFE");
    q.BidPrice6 = 61.5;
    q.AskQty10 = 10;
    q.BSFlag = 'B';
    return q;
}

// Encodes the quote the way the server does and decodes it back with the client's table.
NELOQuotRecord RoundTrip(const NELOQuotRecord& sent, const TZORecordLayout& layout) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize);
    CAPIPackage out;
    out.Begin(125, 0, buffer.data());
    EXPECT_GT(TZOAddRecord(out, TZOField::Quot.id, layout, &sent), 0);
    CAPIPackage in;
    in.OpenReceived(out.Data(), out.Length());
    NELOQuotRecord received{};
    EXPECT_EQ(TZOReadGroup(in, TZOField::Quot.id, kNELOQuotLayout, &received), 0);
    return received;
}

TEST(QuoteRecordLayout, AskQty5AndExchangeIdShareAnIdAndBothDecode) {
    const NELOQuotRecord sent = MakeQuote();
    const NELOQuotRecord received = RoundTrip(sent, kNELOQuotLayout);
    EXPECT_EQ(received.AskQty5, 7);
    EXPECT_STREQ(received.ExchangeID, "SHFE");
    EXPECT_EQ(received.BidPrice6, 61.5);
    EXPECT_EQ(received.AskQty10, 10);
    EXPECT_EQ(received.BSFlag, 'B');
}

}  // namespace
