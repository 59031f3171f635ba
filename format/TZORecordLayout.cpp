#include "TZORecordLayout.h"

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
            case 'S': expected = 2; break;
            case 'I': expected = 4; break;
            case 'D':
            case 'L': expected = 8; break;
            case 'C': expected = row.width + 1; break;
            default: return row.name;
        }
        if (TZOIsSingleChar(row)) expected = 1;
        if (slot.size != expected) return row.name;
    }
    return nullptr;
}

int TZOAddRecord(CTZOPackage& package, std::uint16_t groupId, const TZORecordLayout& layout, const void* record) {
    TZOBoundRecord bound(layout, record);
    return package.AddStruct(bound.List(), groupId);
}

int TZOAddRecordToSet(CTZORecordSet& set, const TZORecordLayout& layout, const void* record) {
    TZOBoundRecord bound(layout, record);
    return set.AddRecord(bound.List());
}

int TZODecodeRecord(const TZORecordLayout& layout, void* record, const std::uint8_t* src, std::uint32_t length) {
    TZOBoundRecord bound(layout, record);
    return DecodeFields(bound.List(), src, length);
}

int TZOReadGroup(CTZOPackage& package, std::uint16_t groupId, const TZORecordLayout& layout, void* record) {
    CTZOPackage group;
    if (package.FindField(groupId, &group) != 0) return -1;
    return TZODecodeRecord(layout, record, group.Data(), group.Length());
}
