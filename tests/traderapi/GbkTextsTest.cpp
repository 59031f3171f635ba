// The GBK texts of the library and of these tests are what iconv makes of their readable text.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "TraderCodeTables.h"
#include "TraderFrontSupport.h"

namespace traderapi_test {
namespace {

std::string ToGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return "<no GBK converter>";
    }
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1)) {
        return "<conversion failed>";
    }
    out.resize(out.size() - outLeft);
    return out;
}

TEST(GbkTexts, OrderStatusTexts) {
    const struct {
        char status;
        const char* utf8;
    } cases[] = {{'0', "全部成交"}, {'5', "已撤消"}, {'a', "已受理"}, {'3', "已报入"}, {'1', "部分成交"}};
    for (const auto& row : cases) {
        EXPECT_EQ(TraderOrderStatusText(row.status), ToGbk(row.utf8)) << "status " << row.status;
    }
    EXPECT_STREQ(TraderOrderStatusText('2'), "") << "a status without a text of its own";
}

TEST(GbkTexts, TextsTheTestsSend) {
    const struct {
        const char* gbk;
        const char* utf8;
    } cases[] = {{kGbkAllTraded, "全部成交"},   {kGbkCancelled, "已撤消"},      {kGbkAccepted, "已受理"},
                 {kGbkReported, "已报入"},      {kGbkPartlyTraded, "部分成交"}, {kGbkNoFunds, "资金不足"},
                 {kGbkLoginFailed, "登录失败"}, {kGbkCancelFailed, "撤单失败"}};
    for (const auto& row : cases) {
        EXPECT_EQ(row.gbk, ToGbk(row.utf8)) << row.utf8;
    }
}

}  // namespace
}  // namespace traderapi_test
