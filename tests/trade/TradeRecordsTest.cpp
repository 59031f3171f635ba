// The client's own record definitions against the dictionary, and its GBK result texts.
#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

#include "NELOErrorMessages.h"
#include "NELOOrderRecords.h"
#include "NELOPushRecords.h"
#include "NELOSessionRecords.h"

namespace {

struct LayoutCase {
    const char* name;
    const TZORecordLayout* layout;
    std::size_t recordSize;
    std::vector<std::uint16_t> wireIds;  // in the order the back end expects them
};

// clang-format off
const LayoutCase kLayouts[] = {
    {"RspInfo",        &kNELORspInfoLayout,        sizeof(NELORspInfoRecord),        {1026, 1027}},
    {"LoginReq",       &kNELOLoginReqLayout,       sizeof(NELOLoginReqRecord),       {1034, 1035, 1660, 1681, 1682, 1921, 1920, 1822}},
    {"LoginRsp",       &kNELOLoginRspLayout,       sizeof(NELOLoginRspRecord),       {1034, 1081, 1470, 1518, 1638, 1605, 1609, 1621, 1638}},
    {"Investor",       &kNELOInvestorLayout,       sizeof(NELOInvestorRecord),       {1034}},
    {"ChangePassword", &kNELOChangePasswordLayout, sizeof(NELOChangePasswordRecord), {1034, 1041, 1042}},
    {"FlowSubscribe",  &kNELOFlowSubscribeLayout,  sizeof(NELOFlowSubscribeRecord),  {1002, 1005}},
    {"InputOrder",     &kNELOInputOrderLayout,     sizeof(NELOInputOrderRecord),
        {1056, 1034, 1046, 1045, 1049, 1059, 1047, 1048, 1295, 1296, 1299, 1668, 1669, 1670, 1637, 1638, 1639,
         1686, 1003, 1820, 1821, 1822, 1823, 1917, 1918}},
    {"OrderCancel",    &kNELOOrderCancelLayout,    sizeof(NELOOrderCancelRecord),    {1034, 1056, 1637, 1046, 1638, 1639, 1686, 1701}},
    {"ProfitLossStop", &kNELOProfitLossStopLayout, sizeof(NELOProfitLossStopRecord), {1034, 1046, 1073, 1295, 1296}},
    {"MarketStatus",   &kNELOMarketStatusLayout,   sizeof(NELOMarketStatusRecord),   {1158, 1189, 1637}},
};
// clang-format on

TEST(TradeRecords, EveryLayoutFitsTheDictionaryAndListsItsFieldsInWireOrder) {
    for (const LayoutCase& c : kLayouts) {
        SCOPED_TRACE(c.name);
        const char* problem = TZOCheckLayout(*c.layout);
        EXPECT_EQ(problem, nullptr) << problem;
        EXPECT_EQ(c.layout->recordSize, c.recordSize);
        std::vector<std::uint16_t> ids;
        for (std::uint32_t i = 0; i < c.layout->count; ++i) ids.push_back(c.layout->slots[i].field->id);
        EXPECT_EQ(ids, c.wireIds);
    }
}

// Where two rows share an id the layout names the row of the member's type.
TEST(TradeRecords, SharedIdsNameTheRowOfTheMembersType) {
    EXPECT_STREQ(kNELOLoginRspLayout.slots[4].field->name, "SysMode");
    EXPECT_STREQ(kNELOLoginRspLayout.slots[7].field->name, "InvestorAdviserFlag");
    EXPECT_STREQ(kNELOLoginRspLayout.slots[8].field->name, "SessionID");
    EXPECT_STREQ(kNELOInputOrderLayout.slots[14].field->name, "ExchangeID");
    EXPECT_STREQ(kNELOInputOrderLayout.slots[15].field->name, "SessionID");
    EXPECT_STREQ(kNELOInputOrderLayout.slots[16].field->name, "OrderRef");
}

std::string ToGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "<no GBK converter>";
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) return "<conversion failed>";
    out.resize(out.size() - outLeft);
    return out;
}

TEST(TradeErrorMessages, CodesGiveTheirGbkTexts) {
    struct Case {
        std::int32_t code;
        const char* utf8;
    };
    const Case cases[] = {
        {0, "操作成功！"}, {-1, "操作失败！"}, {5, "未知错误编码"}, {1, "未知错误编码"}, {-3, "未知错误编码"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(std::string(NELOErrorMessage(c.code)), ToGbk(c.utf8));
    }
}

}  // namespace
