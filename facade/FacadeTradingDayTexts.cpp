#include "FacadeTradingDayTexts.h"

#include <cstring>

const char* CFacadeTradingDayTexts::TextFor(const char (&tradingDay)[9]) {
    std::array<char, 9> wanted{};
    std::memcpy(wanted.data(), tradingDay, wanted.size());
    wanted.back() = '\0';
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::array<char, 9>& text : texts_) {
        if (text == wanted) {
            return text.data();
        }
    }
    texts_.push_back(wanted);
    return texts_.back().data();
}
