// Reply codes the simulated front answers with, and their texts as the back end sends them: GBK bytes.
// The readable text of every row is in its comment; the bytes come from `iconv -f UTF-8 -t GBK`.
#pragma once

#include <cstdint>

enum class SimReply : std::int16_t {
    Ok = 0,
    UnknownInvestor = 1001,
    WrongPassword = 1002,
    NotLoggedIn = 1003,
    WrongOldPassword = 1004,
    BadNewPassword = 1005,
    UnknownInstrument = 2001,
    InvestorMismatch = 2002,
    WrongExchange = 2003,
    BadQuantity = 2004,
    BadPrice = 2005,
    BadOrderFlags = 2006,
    InsufficientFunds = 2007,
    InsufficientPosition = 2008,
    OrderNotFound = 2009,
    OrderFinished = 2010,
    DuplicateOrderRef = 2011,  // another working order of the same session has this OrderRef
    NotSupported = 9001,
};

struct SimReplyText {
    SimReply code;
    const char* gbk;
};

// clang-format off
inline constexpr SimReplyText kSimReplyTexts[] = {
    {SimReply::Ok,                   "\xb3\xc9\xb9\xa6"},                                          // 成功
    {SimReply::UnknownInvestor,      "\xcd\xb6\xd7\xca\xd5\xdf\xb2\xbb\xb4\xe6\xd4\xda"},          // 投资者不存在
    {SimReply::WrongPassword,        "\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3"},                          // 密码错误
    {SimReply::NotLoggedIn,          "\xce\xb4\xb5\xc7\xc2\xbc"},                                  // 未登录
    {SimReply::WrongOldPassword,     "\xd4\xad\xc3\xdc\xc2\xeb\xb4\xed\xce\xf3"},                  // 原密码错误
    {SimReply::BadNewPassword,       "\xd0\xc2\xc3\xdc\xc2\xeb\xce\xde\xd0\xa7"},                  // 新密码无效
    {SimReply::UnknownInstrument,    "\xba\xcf\xd4\xbc\xb2\xbb\xb4\xe6\xd4\xda"},                  // 合约不存在
    {SimReply::InvestorMismatch,     "\xcd\xb6\xd7\xca\xd5\xdf\xb4\xfa\xc2\xeb\xb2\xbb\xb7\xfb"},  // 投资者代码不符
    {SimReply::WrongExchange,        "\xbd\xbb\xd2\xd7\xcb\xf9\xb4\xfa\xc2\xeb\xb4\xed\xce\xf3"},  // 交易所代码错误
    {SimReply::BadQuantity,          "\xce\xaf\xcd\xd0\xca\xfd\xc1\xbf\xb4\xed\xce\xf3"},          // 委托数量错误
    {SimReply::BadPrice,             "\xce\xaf\xcd\xd0\xbc\xdb\xb8\xf1\xb4\xed\xce\xf3"},          // 委托价格错误
    {SimReply::BadOrderFlags,        "\xce\xaf\xcd\xd0\xb2\xce\xca\xfd\xb4\xed\xce\xf3"},          // 委托参数错误
    {SimReply::InsufficientFunds,    "\xbf\xc9\xd3\xc3\xd7\xca\xbd\xf0\xb2\xbb\xd7\xe3"},          // 可用资金不足
    {SimReply::InsufficientPosition, "\xbf\xc9\xc6\xbd\xb2\xd6\xce\xbb\xb2\xbb\xd7\xe3"},          // 可平仓位不足
    {SimReply::OrderNotFound,        "\xb1\xa8\xb5\xa5\xb2\xbb\xb4\xe6\xd4\xda"},                  // 报单不存在
    {SimReply::OrderFinished,        "\xb1\xa8\xb5\xa5\xd2\xd1\xcd\xea\xb3\xc9"},                  // 报单已完成
    {SimReply::DuplicateOrderRef,    "\xb1\xa8\xb5\xa5\xd2\xfd\xd3\xc3\xd6\xd8\xb8\xb4"},          // 报单引用重复
    {SimReply::NotSupported,         "\xb2\xbb\xd6\xa7\xb3\xd6"},                                  // 不支持
};
// clang-format on

// Market status text of an exchange in continuous trading: 连续交易
inline constexpr const char kSimContinuousTradingText[] = "\xc1\xac\xd0\xf8\xbd\xbb\xd2\xd7";

inline const char* SimReplyDescription(SimReply code) {
    for (const auto& row : kSimReplyTexts)
        if (row.code == code) return row.gbk;
    return "";
}
