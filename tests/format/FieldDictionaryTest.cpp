#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "TZOFieldDictionary.h"

namespace {

TEST(FieldDictionary, SingleCharacterRowsAreTheFortyNamedOnes) {
    const std::vector<std::string> expected = {
        "TableOperation", "BSFlag",         "OCFlag",           "PriceType",
        "OrderStatus",    "InstrumentType", "MarketStatus",     "InstrumentStatus",
        "PriceUnit",      "FeeType",        "PublishMethod",    "FundIODirection",
        "FundIOStatus",   "PayDirection",   "FundIOMethod",     "TradeAction",
        "Currency",       "MarginRateType", "OverNightFeeType", "FeeFlag",
        "SysMode",        "ConditionType",  "ConditionMethod",  "AccountBindStatus",
        "ProductType",    "DeliveryStatus", "InvoiceFlag",      "InvoiceType",
        "CredentialType", "PayServerType",  "QuesAnswFlag",     "InvestorAdviserFlag",
        "InvestorRole",   "InvestorFlag",   "KLineType",        "OptionsType",
        "PositionDate",   "TimeCondition",  "VolumeCondition",  "OrderSubmitStatus"};
    std::vector<std::string> found;
    for (const TZOFieldDef& row : kTZOFieldDictionary)
        if (TZOIsSingleChar(row)) found.push_back(row.name);
    EXPECT_EQ(found, expected);
}

struct SharedId {
    std::uint16_t id;
    std::vector<std::string> names;
};

TEST(FieldDictionary, SharedIdsNameTheRowsThatShareThem) {
    const std::vector<SharedId> expected = {{1398, {"NoticeList", "FundIOSeqno"}},
                                            {1399, {"Notice", "FundIOStatusDesc"}},
                                            {1578, {"DeliveryDemand", "CompletedDate"}},
                                            {1579, {"CompanyName", "CompanyAddress"}},
                                            {1615, {"MarginRateType", "AnswerTime"}},
                                            {1616, {"OverNightFeeType", "FeeFlag", "QuestionID"}},
                                            {1617, {"PriceMultiply", "QuesAnswFlag"}},
                                            {1619, {"EachQtyLimt", "QuesAnswDate"}},
                                            {1620, {"TotalQtyLimt", "QuesAnswTime"}},
                                            {1621, {"UserID", "InvestorAdviserFlag"}},
                                            {1622, {"BidPrice2", "QuotAdviserQuesAnswReq"}},
                                            {1623, {"AskPrice2", "QuotAdviserQuesAnswRsp"}},
                                            {1624, {"BidQty2", "QuotAdviserQuesHisQueryReq"}},
                                            {1625, {"AskQty2", "QuotAdviserQuesHisQueryRsp"}},
                                            {1626, {"BidPrice3", "QuotAdviserQuesHisList"}},
                                            {1627, {"AskPrice3", "QuotAdviserQuesQueryReq"}},
                                            {1628, {"BidQty3", "QuotAdviserQuesQueryRsp"}},
                                            {1629, {"AskQty3", "QuotAdviserQuesQuerylist"}},
                                            {1630, {"BidPrice4", "PlateName"}},
                                            {1631, {"AskPrice4", "PreQty"}},
                                            {1633, {"AskQty4", "TodayQty"}},
                                            {1635, {"AskPrice5", "TodayQtyFrozen"}},
                                            {1637, {"AskQty5", "ExchangeID"}},
                                            {1638, {"SysMode", "SessionID"}},
                                            {1639, {"QtyFrozen", "OrderRef"}},
                                            {1640, {"BidPrice6", "CreatePrice"}},
                                            {1641, {"AskPrice6", "HistoryClosedPL"}},
                                            {1642, {"BidQty6", "InvestorRole"}},
                                            {1643, {"AskQty6", "InvestorFlag"}},
                                            {1644, {"BidPrice7", "PaySeqno"}},
                                            {1645, {"AskPrice7", "PreQtyLeft"}},
                                            {1646, {"BidQty7", "CreateTradeDate"}}};
    std::vector<SharedId> found;
    for (const TZOFieldDef& row : kTZOFieldDictionary) {
        std::vector<std::string> names;
        for (const TZOFieldDef& other : kTZOFieldDictionary)
            if (other.id == row.id) names.push_back(other.name);
        if (names.size() > 1 && names.front() == row.name) found.push_back({row.id, names});
    }
    std::sort(found.begin(), found.end(), [](const SharedId& a, const SharedId& b) { return a.id < b.id; });
    ASSERT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(found[i].id, expected[i].id);
        EXPECT_EQ(found[i].names, expected[i].names) << "id " << expected[i].id;
    }
}

struct RowCase {
    const TZOFieldDef* row;
    std::uint16_t id;
    char type;
    std::uint32_t width;
    std::uint32_t flags;
};

TEST(FieldDictionary, NamedConstantsPointAtTheirRows) {
    const RowCase cases[] = {
        {&TZOField::Head, 1000, 'C', 0, kTZOPackageFlag},
        {&TZOField::ServiceNo, 1008, 'S', 0, 0},
        {&TZOField::RspDesc, 1027, 'C', 256, 0},
        {&TZOField::InvestorID, 1034, 'C', 15, 0},
        {&TZOField::OrderList, 1154, 'C', 0, kTZORecordSetFlag},
        {&TZOField::QtyTotal, 1087, 'L', 0, 0},
        {&TZOField::AskQty5, 1637, 'I', 0, 0},
        {&TZOField::ExchangeID, 1637, 'C', 16, 0},
        {&TZOField::SessionID, 1638, 'L', 0, 0},
        {&TZOField::PayURL, 1413, 'C', 1024, 0},
        {&TZOField::FrozenCash, 1923, 'D', 0, 0},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.row->name);
        EXPECT_EQ(c.row->id, c.id);
        EXPECT_EQ(c.row->type, c.type);
        EXPECT_EQ(c.row->width, c.width);
        EXPECT_EQ(c.row->flags, c.flags);
    }
    EXPECT_STREQ(kTZOFieldDictionary[0].name, "Head");
    EXPECT_STREQ(kTZOFieldDictionary[kTZOFieldCount - 1].name, "FrozenCash");
}

}  // namespace
