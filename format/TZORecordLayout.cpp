#include "TZORecordLayout.h"

#include "TZOFieldCodec.h"

namespace {

// A layout bound to one record, as the codec reads it: straight from the slots, without building a
// binding list first. A layout too large for a binding list binds nothing, as TZOBoundRecord does.
struct SlotAccess {
    const TZORecordLayout& layout;
    std::uint8_t* base;
    std::uint32_t Count() const { return layout.count > kTZOMaxBoundFields ? 0 : layout.count; }
    const TZOFieldDef& Row(std::uint32_t i) const { return *layout.slots[i].field; }
    std::uint8_t* Storage(std::uint32_t i) const { return base + layout.slots[i].offset; }
    std::uint32_t Size(std::uint32_t i) const { return layout.slots[i].size; }
};

// Encoding only reads the record; decoding is handed a record it may write.
std::uint8_t* RecordBytes(const void* record) { return static_cast<std::uint8_t*>(const_cast<void*>(record)); }

}  // namespace

TZOBoundRecord::TZOBoundRecord(const TZORecordLayout& layout, const void* record) : count_(0) {
    if (layout.count > kTZOMaxBoundFields) return;  // refused by TZOCheckLayout; binds nothing
    // Encoding only reads the storage; decoding is handed a record it may write.
    auto* base = static_cast<std::uint8_t*>(const_cast<void*>(record));
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldSlot& slot = layout.slots[i];
        bindings_[i] = {slot.field, base + slot.offset, slot.size, 0, nullptr, 0, 0, 0};
    }
    count_ = layout.count;
}

const char* TZOCheckLayout(const TZORecordLayout& layout) {
    if (layout.count > kTZOMaxBoundFields) return "more members than a binding list can hold";
    for (std::uint32_t i = 0; i < layout.count; ++i) {
        const TZOFieldSlot& slot = layout.slots[i];
        const TZOFieldDef& row = *slot.field;
        if (slot.offset + slot.size > layout.recordSize) return row.name;
        if (TZOIsContainer(row)) return row.name;
        std::uint32_t expected = 0;
        switch (row.type) {
            case 'S':
                expected = 2;
                break;
            case 'I':
                expected = 4;
                break;
            case 'D':
            case 'L':
                expected = 8;
                break;
            case 'C':
                expected = row.width + 1;
                break;
            default:
                return row.name;
        }
        if (TZOIsSingleChar(row)) expected = 1;
        if (slot.size != expected) return row.name;
    }
    return nullptr;
}

// As AddStruct: the group's header, then its fields, then the lengths carried up.
int TZOAddRecord(CTZOPackage& package, std::uint16_t groupId, const TZORecordLayout& layout, const void* record) {
    CTZOPackage group;
    if (package.OpenField(groupId, &group) != 0) return -1;
    const int n = tzo_codec::EncodeWith(SlotAccess{layout, RecordBytes(record)}, group.Data(), group.Capacity());
    if (n < 0) return -1;
    group.Advance(static_cast<std::uint32_t>(n));
    return n;
}

int TZOAddRecordToSet(CTZORecordSet& set, const TZORecordLayout& layout, const void* record) {
    TZOBoundRecord bound(layout, record);
    return set.AddRecord(bound.List());
}

int TZODecodeRecord(const TZORecordLayout& layout, void* record, const std::uint8_t* src, std::uint32_t length) {
    return tzo_codec::DecodeWith(SlotAccess{layout, static_cast<std::uint8_t*>(record)}, src, length);
}

int TZOReadGroup(CTZOPackage& package, std::uint16_t groupId, const TZORecordLayout& layout, void* record) {
    CTZOPackage group;
    if (package.FindField(groupId, &group) != 0) return -1;
    return TZODecodeRecord(layout, record, group.Data(), group.Length());
}
