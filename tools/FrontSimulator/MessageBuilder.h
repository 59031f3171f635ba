// Builds one outgoing message of either service in a buffer of its own.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "APIPackage.h"

class CMessageBuilder {
public:
    CAPIPackage& Begin(std::uint16_t serviceNo, std::int32_t requestId) {
        package_.Begin(serviceNo, requestId, buffer_.data());
        return package_;
    }
    CAPIPackage& Package() { return package_; }
    const std::uint8_t* Data() { return package_.Data(); }
    std::uint32_t Length() { return package_.Length(); }
    std::vector<std::uint8_t> Bytes() { return {Data(), Data() + Length()}; }

private:
    std::array<std::uint8_t, kAPIMessageMaxSize> buffer_{};
    CAPIPackage package_;
};
