#include "FrontAddress.h"

#include <cstdlib>

std::optional<FrontAddress> ParseFrontAddress(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon > kFrontHostMaxLength) {
        return std::nullopt;
    }
    FrontAddress address;
    address.host = text.substr(0, colon);
    // strtoll reads exactly the integer syntax fronts are written in and saturates instead of
    // overflowing; the 16-bit truncation then keeps the low bits as a 16-bit port field would.
    const std::string portText = text.substr(colon + 1);
    const long long value = std::strtoll(portText.c_str(), nullptr, 10);
    address.port = static_cast<std::uint16_t>(static_cast<unsigned long long>(value));
    return address;
}
