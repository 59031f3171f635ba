// Every field table of the trade client against the record definitions it was typed in from: the
// dictionary row of each field (by name, which also settles the row where two rows share a wire id),
// its wire id and its storage size, in the order the fields travel. A slot in the wrong place, on the
// wrong one of two rows sharing an id, or with the wrong width changes the bytes on the wire.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "NELOAccountRecords.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOQueryRecords.h"
#include "NELOSessionRecords.h"

namespace {

struct ExpectedField {
    const char* row;
    std::uint16_t id;
    std::uint32_t size;
};

// One line per field, so that a mismatch shows the field and its neighbours.
std::string Describe(const char* row, std::uint16_t id, std::uint32_t size) {
    std::ostringstream text;
    text << row << " " << id << " " << size;
    return text.str();
}

// clang-format off
const ExpectedField kRspInfoFields[] = {
    {"RspNo", 1026, 2}, {"RspDesc", 1027, 257},
};
const ExpectedField kLoginReqFields[] = {
    {"InvestorID", 1034, 16}, {"InvestorPassword", 1035, 21}, {"IP", 1660, 101}, {"ProductType", 1681, 1},
    {"ProductVersion", 1682, 4}, {"UserProductInfo", 1921, 11}, {"InterfaceProductInfo", 1920, 11},
    {"MacAddress", 1822, 33},
};
const ExpectedField kLoginRspFields[] = {
    {"InvestorID", 1034, 16}, {"TradeDate", 1081, 11}, {"InvestorName", 1470, 51}, {"SysName", 1518, 51},
    {"SysMode", 1638, 1}, {"PayServerType", 1605, 1}, {"AdviserID", 1609, 16}, {"InvestorAdviserFlag", 1621, 1},
    {"SessionID", 1638, 8},
};
const ExpectedField kInvestorFields[] = {
    {"InvestorID", 1034, 16},
};
const ExpectedField kChangePasswordFields[] = {
    {"InvestorID", 1034, 16}, {"InvestorOldPassword", 1041, 21}, {"InvestorNewPassword", 1042, 21},
};
const ExpectedField kFlowSubscribeFields[] = {
    {"FlowID", 1002, 4}, {"PkgNo", 1005, 4},
};
const ExpectedField kInputOrderFields[] = {
    {"OrderID", 1056, 31}, {"InvestorID", 1034, 16}, {"InstrumentID", 1046, 16}, {"BSFlag", 1045, 1},
    {"OCFlag", 1049, 1}, {"PriceType", 1059, 1}, {"Price", 1047, 8}, {"Qty", 1048, 4},
    {"ProfitStopPrice", 1295, 8}, {"LossStopPrice", 1296, 8}, {"FilledPoints", 1299, 4},
    {"ConditionType", 1668, 1}, {"ConditionMethod", 1669, 1}, {"ConditionPrice", 1670, 8},
    {"ExchangeID", 1637, 17}, {"SessionID", 1638, 8}, {"OrderRef", 1639, 31}, {"AccountID", 1686, 31},
    {"RequestID", 1003, 4}, {"ClientID", 1820, 16}, {"IPAddress", 1821, 33}, {"MacAddress", 1822, 33},
    {"InvestorUnit", 1823, 17}, {"TimeCondition", 1917, 1}, {"VolumeCondition", 1918, 1},
};
const ExpectedField kOrderCancelFields[] = {
    {"InvestorID", 1034, 16}, {"OrderID", 1056, 31}, {"ExchangeID", 1637, 17}, {"InstrumentID", 1046, 16},
    {"SessionID", 1638, 8}, {"OrderRef", 1639, 31}, {"AccountID", 1686, 31}, {"OrderSysID", 1701, 31},
};
const ExpectedField kProfitLossStopFields[] = {
    {"InvestorID", 1034, 16}, {"InstrumentID", 1046, 16}, {"PosiID", 1073, 31}, {"ProfitStopPrice", 1295, 8},
    {"LossStopPrice", 1296, 8},
};
const ExpectedField kQueryKeyFields[] = {
    {"InvestorID", 1034, 16}, {"InstrumentID", 1046, 16}, {"ExchangeID", 1637, 17},
};
const ExpectedField kRateKeyFields[] = {
    {"InvestorID", 1034, 16}, {"ExchangeID", 1637, 17}, {"InstrumentID", 1046, 16},
};
const ExpectedField kProductKeyFields[] = {
    {"ExchangeID", 1637, 17}, {"InstrumentType", 1068, 1}, {"ProductID", 1825, 11},
};
const ExpectedField kExchangeKeyFields[] = {
    {"ExchangeID", 1637, 17},
};
const ExpectedField kOrderFields[] = {
    {"InvestorID", 1034, 16}, {"TradeDate", 1081, 11}, {"OrderID", 1056, 31}, {"OrderDate", 1055, 11},
    {"OrderTime", 1060, 9}, {"InstrumentID", 1046, 16}, {"BSFlag", 1045, 1}, {"OCFlag", 1049, 1},
    {"PriceType", 1059, 1}, {"Price", 1047, 8}, {"Qty", 1048, 4}, {"QtyLeft", 1061, 4}, {"AvgPrice", 1090, 8},
    {"ModifyDate", 1062, 11}, {"ModifyTime", 1063, 9}, {"OrderStatus", 1064, 1}, {"ProfitStopPrice", 1295, 8},
    {"LossStopPrice", 1296, 8}, {"FilledPoints", 1299, 4}, {"Margin", 1172, 8}, {"FrozenMargin", 1173, 8},
    {"ConditionType", 1668, 1}, {"ConditionMethod", 1669, 1}, {"ConditionPrice", 1670, 8},
    {"ExchangeID", 1637, 17}, {"SessionID", 1638, 8}, {"OrderRef", 1639, 31}, {"OrderStatusDesc", 1707, 31},
    {"AccountID", 1686, 31}, {"ZRPFrontID", 1698, 4}, {"ZRPSessionID", 1697, 4}, {"ZRPOrderRef", 1699, 31},
    {"OrderSysID", 1701, 31}, {"RequestID", 1003, 4}, {"ClientID", 1820, 16}, {"IPAddress", 1821, 33},
    {"MacAddress", 1822, 33}, {"InvestorUnit", 1823, 17}, {"TimeCondition", 1917, 1},
    {"VolumeCondition", 1918, 1}, {"OrderSubmitStatus", 1919, 1}, {"UserProductInfo", 1921, 11},
};
const ExpectedField kTradeFields[] = {
    {"InvestorID", 1034, 16}, {"TradeDate", 1081, 11}, {"MatchID", 1072, 31}, {"OrderID", 1056, 31},
    {"InstrumentID", 1046, 16}, {"BSFlag", 1045, 1}, {"OCFlag", 1049, 1}, {"Price", 1047, 8}, {"Qty", 1048, 4},
    {"MatchDate", 1070, 11}, {"MatchTime", 1071, 9}, {"FeeRate", 1209, 8}, {"Margin", 1172, 8},
    {"ExchangeID", 1637, 17}, {"AccountID", 1686, 31}, {"OrderSysID", 1701, 31}, {"OrderRef", 1639, 31},
    {"ClientID", 1820, 16}, {"InvestorUnit", 1823, 17},
};
const ExpectedField kQuotFields[] = {
    {"MatchID", 1072, 31}, {"TradeDate", 1081, 11}, {"InstrumentID", 1046, 16}, {"Price", 1047, 8},
    {"Qty", 1048, 4}, {"BidPrice", 1083, 8}, {"BidQty", 1099, 4}, {"AskPrice", 1084, 8}, {"AskQty", 1100, 4},
    {"OpenPrice", 1093, 8}, {"HighestPrice", 1094, 8}, {"LowestPrice", 1095, 8}, {"HighLimit", 1214, 8},
    {"LowLimit", 1215, 8}, {"OI", 1088, 8}, {"SettlePrice", 1091, 8}, {"PreClose", 1092, 8},
    {"PreSettle", 1085, 8}, {"PreOI", 1086, 8}, {"QtyTotal", 1087, 8}, {"Amount", 1089, 8},
    {"ModifyDate", 1062, 11}, {"ModifyTime", 1063, 9}, {"BidPrice2", 1622, 8}, {"BidQty2", 1624, 4},
    {"AskPrice2", 1623, 8}, {"AskQty2", 1625, 4}, {"BidPrice3", 1626, 8}, {"BidQty3", 1628, 4},
    {"AskPrice3", 1627, 8}, {"AskQty3", 1629, 4}, {"BidPrice4", 1630, 8}, {"BidQty4", 1632, 4},
    {"AskPrice4", 1631, 8}, {"AskQty4", 1633, 4}, {"BidPrice5", 1634, 8}, {"BidQty5", 1636, 4},
    {"AskPrice5", 1635, 8}, {"AskQty5", 1637, 4}, {"BidPrice6", 1640, 8}, {"BidQty6", 1642, 4},
    {"AskPrice6", 1641, 8}, {"AskQty6", 1643, 4}, {"BidPrice7", 1644, 8}, {"BidQty7", 1646, 4},
    {"AskPrice7", 1645, 8}, {"AskQty7", 1647, 4}, {"BidPrice8", 1648, 8}, {"BidQty8", 1650, 4},
    {"AskPrice8", 1649, 8}, {"AskQty8", 1651, 4}, {"BidPrice9", 1652, 8}, {"BidQty9", 1654, 4},
    {"AskPrice9", 1653, 8}, {"AskQty9", 1655, 4}, {"BidPrice10", 1656, 8}, {"BidQty10", 1658, 4},
    {"AskPrice10", 1657, 8}, {"AskQty10", 1659, 4}, {"BSFlag", 1045, 1}, {"ExchangeID", 1637, 17},
};
const ExpectedField kPosiFields[] = {
    {"TradeDate", 1081, 11}, {"InvestorID", 1034, 16}, {"ExchangeID", 1637, 17}, {"InstrumentID", 1046, 16},
    {"BSFlag", 1045, 1}, {"Price", 1047, 8}, {"Qty", 1048, 4}, {"TodayQty", 1633, 4}, {"QtyFrozen", 1639, 4},
    {"TodayQtyFrozen", 1635, 4}, {"PreQty", 1631, 4}, {"PrePrice", 1818, 8}, {"ClosedPL", 1176, 8},
    {"FloatingPL", 1177, 8}, {"Margin", 1172, 8}, {"Fee", 1174, 8}, {"FrozenMargin", 1173, 8},
    {"FeeFrozen", 1175, 8}, {"Cost", 1816, 8}, {"PreCost", 1817, 8}, {"PositionDate", 1916, 1},
    {"LongFrozen", 1900, 4}, {"ShortFrozen", 1901, 4}, {"LongFrozenAmount", 1902, 8},
    {"ShortFrozenAmount", 1903, 8}, {"OpenVolume", 1904, 4}, {"CloseVolume", 1905, 4}, {"OpenAmount", 1906, 8},
    {"CloseAmount", 1907, 8}, {"PreMargin", 1908, 8}, {"PreSettle", 1085, 8}, {"SettlePrice", 1091, 8},
    {"OpenCost", 1915, 8}, {"CloseProfitByDate", 1909, 8}, {"CloseProfitByTrade", 1910, 8},
    {"MarginRateType", 1615, 1}, {"MarginRate", 1213, 8}, {"PositionCostOffset", 1913, 8}, {"CashIn", 1922, 8},
    {"FrozenCash", 1923, 8},
};
const ExpectedField kPosiDetailFields[] = {
    {"TradeDate", 1081, 11}, {"MatchID", 1072, 31}, {"OrderID", 1056, 31}, {"InvestorID", 1034, 16},
    {"InstrumentID", 1046, 16}, {"BSFlag", 1045, 1}, {"Price", 1047, 8}, {"Qty", 1048, 4}, {"QtyLeft", 1061, 4},
    {"ProfitStopPrice", 1295, 8}, {"LossStopPrice", 1296, 8}, {"InvestorName", 1470, 51},
    {"AgentName", 1514, 51}, {"FloatingPL", 1177, 8}, {"ClosedPL", 1176, 8}, {"Fee", 1174, 8},
    {"Margin", 1172, 8}, {"CreateDate", 1365, 11}, {"CreateTime", 1366, 9}, {"CloseDate", 1511, 11},
    {"CloseTime", 1512, 9}, {"ClosePrice", 1096, 8}, {"OverNightFee", 1513, 8}, {"QtyFrozen", 1639, 4},
    {"ExchangeID", 1637, 17}, {"CreatePrice", 1640, 8}, {"HistoryClosedPL", 1641, 8},
    {"CreateTradeDate", 1646, 11}, {"PreQtyLeft", 1645, 4}, {"PreClosedPL", 1804, 8},
    {"PreClosePrice", 1805, 8}, {"CloseProfitByDate", 1909, 8}, {"CloseProfitByTrade", 1910, 8},
    {"PositionProfitByDate", 1911, 8}, {"PositionProfitByTrade", 1912, 8}, {"MarginRateType", 1615, 1},
    {"MarginRate", 1213, 8}, {"PreSettle", 1085, 8}, {"SettlePrice", 1091, 8}, {"CloseVolume", 1905, 4},
    {"CloseAmount", 1907, 8}, {"TimeFirstVolume", 1914, 4}, {"InvestorUnit", 1823, 17},
};
const ExpectedField kFundFields[] = {
    {"TradeDate", 1081, 11}, {"InvestorID", 1034, 16}, {"LastBalance", 1170, 8}, {"FloatBalance", 1171, 8},
    {"FreeBalance", 1163, 8}, {"Margin", 1172, 8}, {"FrozenMargin", 1173, 8}, {"Fee", 1174, 8},
    {"FeeFrozen", 1175, 8}, {"ClosedPL", 1176, 8}, {"FloatingPL", 1177, 8}, {"ProfitLoss", 1178, 8},
    {"TotalPL", 1179, 8}, {"FrozenBalance", 1169, 8}, {"InvestorName", 1470, 51}, {"AgentName", 1514, 51},
    {"InAmount", 1515, 8}, {"OutAmount", 1516, 8}, {"OverNightFee", 1513, 8}, {"PreMargin", 1908, 8},
    {"CashIn", 1922, 8}, {"FrozenCash", 1923, 8},
};
const ExpectedField kInstrumentFields[] = {
    {"InstrumentID", 1046, 16}, {"InstrumentName", 1270, 31}, {"FeeType", 1208, 1}, {"FeeRate", 1209, 8},
    {"MarginRateType", 1615, 1}, {"MarginRate", 1213, 8}, {"DailyPriceLimit", 1207, 8}, {"PriceUnit", 1205, 1},
    {"TradeUnit", 1204, 4}, {"MinMovement", 1271, 8}, {"PriceScale", 1211, 8}, {"PriceCoefficient", 1272, 8},
    {"InstrumentStatus", 1202, 1}, {"Currency", 1483, 1}, {"OverNightFee", 1513, 8},
    {"OverNightFeeType", 1616, 1}, {"PriceMultiply", 1617, 8}, {"FeeFlag", 1616, 1}, {"EachQtyLimt", 1619, 4},
    {"TotalQtyLimt", 1620, 4}, {"GoodsName", 1671, 31}, {"PlateName", 1630, 31}, {"ExchangeID", 1637, 17},
    {"InstrumentType", 1068, 1}, {"UnderlyingInstrID", 1807, 16}, {"StrikePrice", 1808, 8},
    {"OptionsType", 1809, 1}, {"ExecFee", 1810, 8}, {"CloseFeeRate", 1703, 8}, {"CloseTodayFeeRate", 1704, 8},
    {"ExpiredDate", 1813, 11}, {"OpenDate", 1814, 11}, {"DeliveryDate", 1815, 11}, {"ShortAllowed", 1819, 4},
};
const ExpectedField kProductFields[] = {
    {"ExchangeID", 1637, 17}, {"InstrumentType", 1068, 1}, {"ProductID", 1825, 11}, {"ProductName", 1826, 31},
};
const ExpectedField kExchangeFields[] = {
    {"ExchangeID", 1637, 17}, {"ExchangeName", 1824, 51},
};
const ExpectedField kFeeRateFields[] = {
    {"InvestorID", 1034, 16}, {"ExchangeID", 1637, 17}, {"InstrumentID", 1046, 16}, {"FeeType", 1208, 1},
    {"FeeRate", 1209, 8}, {"CloseFeeRate", 1703, 8}, {"CloseTodayFeeRate", 1704, 8},
};
const ExpectedField kInvestorMarginRateFields[] = {
    {"InvestorID", 1034, 16}, {"ExchangeID", 1637, 17}, {"InstrumentID", 1046, 16}, {"MarginRateType", 1615, 1},
    {"LongMarginRate", 1827, 8}, {"ShortMarginRate", 1828, 8},
};
const ExpectedField kExchangeMarginRateFields[] = {
    {"ExchangeID", 1637, 17}, {"InstrumentID", 1046, 16}, {"MarginRateType", 1615, 1},
    {"LongMarginRate", 1827, 8}, {"ShortMarginRate", 1828, 8},
};
const ExpectedField kMarketStatusFields[] = {
    {"MarketStatus", 1158, 1}, {"MarketStatusDesc", 1189, 31}, {"ExchangeID", 1637, 17},
};
const ExpectedField kDateRangeKeyFields[] = {
    {"InvestorID", 1034, 16}, {"DateFrom", 1285, 11}, {"DateTo", 1286, 11},
};
const ExpectedField kHisKeyFields[] = {
    {"InvestorID", 1034, 16}, {"InstrumentID", 1046, 16}, {"DateFrom", 1285, 11}, {"DateTo", 1286, 11},
};
const ExpectedField kHisPosiKeyFields[] = {
    {"InvestorID", 1034, 16}, {"InstrumentID", 1046, 16}, {"DateFrom", 1285, 11}, {"DateTo", 1286, 11},
    {"ExchangeID", 1637, 17},
};
const ExpectedField kBulletinFields[] = {
    {"TradeDate", 1081, 11}, {"BulletinID", 1386, 16}, {"Title", 1387, 101}, {"Content", 1388, 501},
    {"PublishDate", 1374, 11}, {"PublishTime", 1375, 9}, {"CreateDate", 1365, 11}, {"CreateTime", 1366, 9},
    {"PublishMethod", 1390, 1}, {"PublishUserID", 1385, 16},
};
const ExpectedField kNoticeFields[] = {
    {"TradeDate", 1081, 11}, {"NoticeID", 1389, 16}, {"Title", 1387, 101}, {"Content", 1388, 501},
    {"PublishDate", 1374, 11}, {"PublishTime", 1375, 9}, {"CreateDate", 1365, 11}, {"CreateTime", 1366, 9},
    {"PublishMethod", 1390, 1}, {"PublishUserID", 1385, 16},
};
const ExpectedField kFundTransferReqFields[] = {
    {"InvestorID", 1034, 16}, {"FundIODirection", 1394, 1}, {"Amount", 1089, 8}, {"ReceiveAccountID", 1421, 41},
    {"ReceiveAccountName", 1422, 101}, {"ReceiveBankID", 1420, 11},
};
const ExpectedField kFundTransferRspFields[] = {
    {"InvestorID", 1034, 16}, {"FundIOSeqno", 1398, 31}, {"FundIODirection", 1394, 1}, {"Amount", 1089, 8},
    {"ReceiveAccountID", 1421, 41}, {"ReceiveAccountName", 1422, 101}, {"ReceiveBankID", 1420, 11},
    {"CreateDate", 1365, 11}, {"CreateTime", 1366, 9}, {"FundIOStatus", 1395, 1},
    {"FundIOStatusDesc", 1399, 257}, {"CompleteDate", 1396, 11}, {"CompleteTime", 1397, 9},
    {"PayURL", 1413, 1025},
};
const ExpectedField kFundTransferNtyFields[] = {
    {"TradeDate", 1081, 11}, {"InvestorID", 1034, 16}, {"FundIOSeqno", 1398, 31}, {"FundIODirection", 1394, 1},
    {"Amount", 1089, 8}, {"ReceiveAccountID", 1421, 41}, {"ReceiveAccountName", 1422, 101},
    {"ReceiveBankID", 1420, 11}, {"FundIOStatus", 1395, 1}, {"FundIOStatusDesc", 1399, 257},
    {"CreateDate", 1365, 11}, {"CreateTime", 1366, 9}, {"CompleteDate", 1396, 11}, {"CompleteTime", 1397, 9},
    {"PayURL", 1413, 1025},
};
const ExpectedField kFundIODetailFields[] = {
    {"TradeDate", 1081, 11}, {"FundIOSeqno", 1398, 31}, {"InvestorID", 1034, 16}, {"FundIODirection", 1394, 1},
    {"Amount", 1089, 8}, {"ReceiveAccountID", 1421, 41}, {"ReceiveAccountName", 1422, 101},
    {"ReceiveBankID", 1420, 11}, {"FundIOStatus", 1395, 1}, {"CreateDate", 1365, 11}, {"CreateTime", 1366, 9},
    {"CompleteDate", 1396, 11}, {"CompleteTime", 1397, 9}, {"FundIOMethod", 1416, 1},
    {"FundIOStatusDesc", 1399, 257}, {"ReceiveBranchName", 1675, 101}, {"PaySeqno", 1644, 31},
};
const ExpectedField kReportFields[] = {
    {"ReportData", 1426, 1001},
};
const ExpectedField kAccountBindReqFields[] = {
    {"InvestorID", 1034, 16}, {"ReceiveAccountID", 1421, 41}, {"ReceiveAccountName", 1422, 101},
    {"ReceiveBankID", 1420, 11}, {"ReceiveBranchName", 1675, 101}, {"ReceiveProvice", 1676, 51},
    {"ReceiveCity", 1677, 51}, {"CredentialType", 1304, 1}, {"CredentialNo", 1305, 51},
};
const ExpectedField kAccountBindRspFields[] = {
    {"InvestorID", 1034, 16}, {"AccountBindURL", 1679, 1025}, {"AccountBindStatus", 1678, 1},
};
const ExpectedField kAccountBindFields[] = {
    {"InvestorID", 1034, 16}, {"ReceiveAccountID", 1421, 41}, {"ReceiveAccountName", 1422, 101},
    {"ReceiveBankID", 1420, 11}, {"ReceiveBranchName", 1675, 101}, {"ReceiveProvice", 1676, 51},
    {"ReceiveCity", 1677, 51}, {"AccountBindStatus", 1678, 1}, {"AccountBindStatusDesc", 1680, 257},
    {"CredentialType", 1304, 1}, {"CredentialNo", 1305, 51},
};

// clang-format on

struct FieldTableCase {
    const char* name;
    const TZORecordLayout* layout;
    std::vector<ExpectedField> fields;
};

void PrintTo(const FieldTableCase& c, std::ostream* os) { *os << c.name; }

#define FIELD_TABLE(name)                                                                       \
    FieldTableCase {                                                                            \
#name, &kNELO##name##Layout, { std::begin(k##name##Fields), std::end(k##name##Fields) } \
    }

// clang-format off
const FieldTableCase kFieldTables[] = {
    FIELD_TABLE(RspInfo),
    FIELD_TABLE(LoginReq),
    FIELD_TABLE(LoginRsp),
    FIELD_TABLE(Investor),
    FIELD_TABLE(ChangePassword),
    FIELD_TABLE(FlowSubscribe),
    FIELD_TABLE(InputOrder),
    FIELD_TABLE(OrderCancel),
    FIELD_TABLE(ProfitLossStop),
    FIELD_TABLE(QueryKey),
    FIELD_TABLE(RateKey),
    FIELD_TABLE(ProductKey),
    FIELD_TABLE(ExchangeKey),
    FIELD_TABLE(Order),
    FIELD_TABLE(Trade),
    FIELD_TABLE(Quot),
    FIELD_TABLE(Posi),
    FIELD_TABLE(PosiDetail),
    FIELD_TABLE(Fund),
    FIELD_TABLE(Instrument),
    FIELD_TABLE(Product),
    FIELD_TABLE(Exchange),
    FIELD_TABLE(FeeRate),
    FIELD_TABLE(InvestorMarginRate),
    FIELD_TABLE(ExchangeMarginRate),
    FIELD_TABLE(MarketStatus),
    FIELD_TABLE(DateRangeKey),
    FIELD_TABLE(HisKey),
    FIELD_TABLE(HisPosiKey),
    FIELD_TABLE(Bulletin),
    FIELD_TABLE(Notice),
    FIELD_TABLE(FundTransferReq),
    FIELD_TABLE(FundTransferRsp),
    FIELD_TABLE(FundTransferNty),
    FIELD_TABLE(FundIODetail),
    FIELD_TABLE(Report),
    FIELD_TABLE(AccountBindReq),
    FIELD_TABLE(AccountBindRsp),
    FIELD_TABLE(AccountBind),
};
// clang-format on

class FieldTable : public testing::TestWithParam<FieldTableCase> {};

TEST_P(FieldTable, NamesEveryRowWithItsIdAndSizeInWireOrder) {
    const FieldTableCase& c = GetParam();
    std::vector<std::string> expected;
    for (const ExpectedField& field : c.fields) expected.push_back(Describe(field.row, field.id, field.size));
    std::vector<std::string> actual;
    for (std::uint32_t i = 0; i < c.layout->count; ++i) {
        const TZOFieldSlot& slot = c.layout->slots[i];
        actual.push_back(Describe(slot.field->name, slot.field->id, slot.size));
    }
    EXPECT_EQ(actual, expected);
}

INSTANTIATE_TEST_SUITE_P(Trade, FieldTable, testing::ValuesIn(kFieldTables),
                         [](const testing::TestParamInfo<FieldTableCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
