// Messages whose body carries one text field, so a test can tell which message arrived and that its
// body came through intact.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "APIPackage.h"
#include "TZOFieldDictionary.h"
#include "support/ScriptedFront.h"

inline int WriteMarker(CAPIPackage& package, const std::string& marker) {
    CTZOPackage field;
    if (package.OpenField(TZOField::InvestorID.id, &field) < 0) {
        return -1;
    }
    return field.AppendRaw(marker.data(), static_cast<std::uint32_t>(marker.size()));
}

inline std::string ReadMarker(CAPIPackage& package) {
    CTZOPackage field;
    if (package.FindField(TZOField::InvestorID.id, &field) < 0 || field.Data() == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(field.Data()), field.Length());
}

inline std::string MarkerFor(std::int32_t requestId) { return "frame-" + std::to_string(requestId); }

// A whole frame (length word included) with ServiceNo 123 and a marker naming the request id.
inline std::vector<std::uint8_t> MarkedFrame(std::int32_t requestId, const std::string& marker) {
    return CScriptedFront::BuildFrame(123, requestId, 0,
                                      [&](CAPIPackage& package) { return WriteMarker(package, marker); });
}
inline std::vector<std::uint8_t> MarkedFrame(std::int32_t requestId) {
    return MarkedFrame(requestId, MarkerFor(requestId));
}

inline std::vector<std::uint8_t> Concat(const std::vector<std::vector<std::uint8_t>>& parts) {
    std::vector<std::uint8_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}
