// A front as the facade hands it over: "host:port", the scheme already dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The longest host name a front may carry.
constexpr std::size_t kFrontHostMaxLength = 127;

struct FrontAddress {
    std::string host;
    std::uint16_t port = 0;
};

// Host: everything before the first ':'. Port: the text after it read as a decimal integer (leading
// blanks and a sign accepted, reading stops at the first other character, no digits give 0), truncated
// to 16 bits, so 65536 is port 0 and 65537 port 1. Anything after the number is ignored.
// A text without ':' or with a host longer than kFrontHostMaxLength is refused (nullopt): a cut name
// could reach a different host than the one registered.
std::optional<FrontAddress> ParseFrontAddress(const std::string& text);
