// The field dictionary: every tagged field the front servers and the client libraries exchange.
//
// Rows are reached by name only (TZOField::InvestorID, ...). Ids repeat across rows with different
// types, so a map from id to row would be wrong by construction: the binding list of the message
// that carries a field decides which row its id means.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::uint32_t kTZOPackageFlag = 0x20000000;    // the field holds a nested package
constexpr std::uint32_t kTZORecordSetFlag = 0x10000000;  // the field holds a record set

struct TZOFieldDef {
    std::uint16_t id;
    char name[32];
    char type;            // 'C' text/char/container, 'D' double, 'L' int64, 'I' int32, 'S' int16
    std::uint32_t width;  // maximum characters of a text row, 0 otherwise
    std::uint32_t flags;  // kTZOPackageFlag, kTZORecordSetFlag or 0
    char description[128];
};

constexpr bool TZOIsContainer(const TZOFieldDef& row) { return row.flags != 0; }
constexpr bool TZOIsSingleChar(const TZOFieldDef& row) { return row.type == 'C' && row.width == 0 && row.flags == 0; }
constexpr bool TZOIsText(const TZOFieldDef& row) { return row.type == 'C' && row.width > 0; }

enum class TZOFieldIndex : int {
#define TZO_FIELD(id, name, type, width, flags) name,
#include "TZOFieldRows.def"
#undef TZO_FIELD
    Count
};

constexpr std::size_t kTZOFieldCount = static_cast<std::size_t>(TZOFieldIndex::Count);

inline constexpr TZOFieldDef kTZOFieldDictionary[kTZOFieldCount] = {
#define TZO_FIELD(id, name, type, width, flags) {id, #name, type, width, flags, ""},
#include "TZOFieldRows.def"
#undef TZO_FIELD
};

// One named constant per row: bindings write TZOField::OrderRef, never an id.
namespace TZOField {
#define TZO_FIELD(id, name, type, width, flags) \
    inline constexpr const TZOFieldDef& name = kTZOFieldDictionary[static_cast<int>(TZOFieldIndex::name)];
#include "TZOFieldRows.def"
#undef TZO_FIELD
}  // namespace TZOField
