#include "FacadeText.h"

#include <cctype>

void FacadeCopyBounded(char* target, std::size_t targetSize, const char* source, std::size_t sourceSize,
                       std::size_t maxChars) {
    if (targetSize == 0) {
        return;
    }
    std::size_t limit = targetSize - 1;
    if (maxChars < limit) {
        limit = maxChars;
    }
    if (sourceSize == 0 || source == nullptr) {
        limit = 0;
    } else if (sourceSize - 1 < limit) {
        limit = sourceSize - 1;
    }
    std::size_t i = 0;
    for (; i < limit && source[i] != '\0'; ++i) {
        target[i] = source[i];
    }
    target[i] = '\0';
}

void FacadeCopyDashlessDate(char (&target)[9], const char* source, std::size_t sourceSize) {
    static const std::size_t kDigitPositions[8] = {0, 1, 2, 3, 5, 6, 8, 9};
    const std::size_t width = sourceSize < 10 ? sourceSize : 10;
    std::size_t end = 0;
    while (end < width && source[end] != '\0') {
        ++end;
    }
    std::size_t out = 0;
    for (std::size_t position : kDigitPositions) {
        if (position >= end) {
            break;
        }
        target[out++] = source[position];
    }
    target[out] = '\0';
}

std::int32_t FacadeDecimalValue(const char* text, std::size_t maxChars) {
    std::size_t i = 0;
    while (i < maxChars && text[i] != '\0' && std::isspace(static_cast<unsigned char>(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < maxChars && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = 2147483648LL;
    for (; i < maxChars && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) {
            value = kLimit;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(value >= kLimit ? kLimit - 1 : value);
}

std::int32_t FacadeFrontOf(std::int64_t sessionID) {
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(sessionID) >> 32);
}

std::int32_t FacadeSessionOf(std::int64_t sessionID) {
    return static_cast<std::int32_t>(static_cast<std::uint64_t>(sessionID) & 0xFFFFFFFFu);
}

std::int64_t FacadeJoinSessionID(std::int32_t frontID, std::int32_t sessionID) {
    const std::uint64_t high = static_cast<std::uint32_t>(frontID);
    const std::uint64_t low = static_cast<std::uint32_t>(sessionID);
    return static_cast<std::int64_t>((high << 32) | low);
}
