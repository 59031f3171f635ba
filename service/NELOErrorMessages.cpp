#include "NELOErrorMessages.h"

namespace {

struct ErrorText {
    std::int32_t code;
    const char* text;
};

// "操作成功！"
constexpr char kSucceeded[] = "\xb2\xd9\xd7\xf7\xb3\xc9\xb9\xa6\xa3\xa1";
// "操作失败！"
constexpr char kFailed[] = "\xb2\xd9\xd7\xf7\xca\xa7\xb0\xdc\xa3\xa1";
// "未知错误编码"
constexpr char kUnknownCode[] = "\xce\xb4\xd6\xaa\xb4\xed\xce\xf3\xb1\xe0\xc2\xeb";

constexpr ErrorText kErrorTexts[] = {
    {0, kSucceeded},
    {-1, kFailed},
};

}  // namespace

const char* NELOErrorMessage(std::int32_t code) {
    for (const ErrorText& row : kErrorTexts)
        if (row.code == code) return row.text;
    return kUnknownCode;
}
