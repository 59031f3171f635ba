// A message definition as data: which dictionary row each member of a flat record is, where the member
// lives and how big it is. A layout is bound to one record object to give the codec its binding list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "TZOPackage.h"

struct TZOFieldSlot {
    const TZOFieldDef* field;
    std::uint32_t offset;
    std::uint32_t size;
};

// Names the row and the member; the storage size comes from the member itself.
#define TZO_SLOT(Record, Row, Member)                                                 \
    TZOFieldSlot {                                                                    \
        &TZOField::Row, static_cast<std::uint32_t>(offsetof(Record, Member)),         \
            static_cast<std::uint32_t>(sizeof(static_cast<Record*>(nullptr)->Member)) \
    }

// Most definitions name the row after the member.
#define TZO_MEMBER(Record, Member) TZO_SLOT(Record, Member, Member)

struct TZORecordLayout {
    const TZOFieldSlot* slots;
    std::uint32_t count;
    std::uint32_t recordSize;

    template <std::size_t N>
    constexpr TZORecordLayout(const TZOFieldSlot (&table)[N], std::size_t size)
        : slots(table), count(static_cast<std::uint32_t>(N)), recordSize(static_cast<std::uint32_t>(size)) {}
};

// The largest message definition has fewer members than this.
constexpr std::uint32_t kTZOMaxBoundFields = 128;

// A layout bound to one record: lives on the stack for the duration of one encode or decode.
class TZOBoundRecord {
public:
    TZOBoundRecord(const TZORecordLayout& layout, const void* record);
    TZOBindingList List() const { return {bindings_, count_}; }

private:
    TZOFieldBinding bindings_[kTZOMaxBoundFields];
    std::uint32_t count_;
};

// Checks a definition against the dictionary: storage sizes (width + 1 for text, 1 for a character,
// the number's size otherwise), members inside the record, no container rows. Returns nullptr when
// sound, else a description of the first problem.
const char* TZOCheckLayout(const TZORecordLayout& layout);

// The everyday operations of the service clients, in terms of layouts.
int TZOAddRecord(CTZOPackage& package, std::uint16_t groupId, const TZORecordLayout& layout, const void* record);
int TZOAddRecordToSet(CTZORecordSet& set, const TZORecordLayout& layout, const void* record);
[[nodiscard]] int TZODecodeRecord(const TZORecordLayout& layout, void* record, const std::uint8_t* src,
                                  std::uint32_t length);
// Finds group `groupId` in `package` and decodes it into `record`; -1 when absent or malformed.
[[nodiscard]] int TZOReadGroup(CTZOPackage& package, std::uint16_t groupId, const TZORecordLayout& layout,
                               void* record);
