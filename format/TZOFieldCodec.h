// The field codec behind EncodeFields/DecodeFields and the layout operations, written once over an
// accessor, so that a record layout is encoded and decoded straight from its slots without first
// building a binding list. Internal to narv_format.
//
// An accessor offers Count(), Row(i), Storage(i) and Size(i) for its bindings in order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "TZOByteOrder.h"
#include "TZOFieldDictionary.h"
#include "TZOPackage.h"

namespace tzo_codec {

// Extent of the field whose header starts at `at` inside [0, length). False when the header, the
// extension or the value runs past the end.
struct FieldExtent {
    std::uint32_t valueOffset;
    std::uint32_t valueLength;
    std::uint32_t end;
};

inline bool ReadExtent(const std::uint8_t* bytes, std::uint32_t length, std::uint32_t at, FieldExtent& out) {
    if (length < at || length - at < kTZOFieldHeaderSize) return false;
    const std::uint64_t extension = tzo_wire::LoadU16(bytes + at + 2);
    const std::uint64_t lengthSlot = std::uint64_t(at) + 4 + extension;
    if (lengthSlot + 4 > length) return false;
    const std::uint64_t valueLength = tzo_wire::LoadU32(bytes + lengthSlot);
    const std::uint64_t end = lengthSlot + 4 + valueLength;
    if (end > length) return false;
    out.valueOffset = static_cast<std::uint32_t>(lengthSlot + 4);
    out.valueLength = static_cast<std::uint32_t>(valueLength);
    out.end = static_cast<std::uint32_t>(end);
    return true;
}

// What a dictionary row's value is on the wire.
enum class ValueKind { Int16, Int32, Int64, Char, Text, Unusable };

// Tested in the order of how often the kinds occur (prices first), which the decoder's branches follow.
inline ValueKind KindOf(const TZOFieldDef& row) {
    if (TZOIsContainer(row)) return ValueKind::Unusable;
    const char type = row.type;
    if (type == 'D' || type == 'L') return ValueKind::Int64;
    if (type == 'I') return ValueKind::Int32;
    if (type == 'C') return row.width == 0 ? ValueKind::Char : ValueKind::Text;
    if (type == 'S') return ValueKind::Int16;
    return ValueKind::Unusable;
}

// Texts are short: copied without a library call when they fit two overlapping words.
inline void CopyShort(std::uint8_t* to, const std::uint8_t* from, std::uint32_t n) {
    if (n >= 8 && n <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n < 4) {
        for (std::uint32_t i = 0; i < n; ++i) to[i] = from[i];
    } else {
        std::memcpy(to, from, n);
    }
}

inline int EncodeValue(const TZOFieldDef& row, const std::uint8_t* storage, std::uint32_t size, std::uint8_t* value,
                       std::uint32_t room, std::uint32_t& written) {
    const ValueKind kind = KindOf(row);
    switch (kind) {
        case ValueKind::Int16: {
            if (room < 2 || size < 2) return -1;
            std::uint16_t v;
            std::memcpy(&v, storage, 2);
            tzo_wire::StoreU16(value, v);
            written = 2;
            return 0;
        }
        case ValueKind::Int32: {
            if (room < 4 || size < 4) return -1;
            std::uint32_t v;
            std::memcpy(&v, storage, 4);
            tzo_wire::StoreU32(value, v);
            written = 4;
            return 0;
        }
        case ValueKind::Int64: {
            if (room < 8 || size < 8) return -1;
            std::uint64_t v;
            std::memcpy(&v, storage, 8);
            tzo_wire::StoreU64(value, v);
            written = 8;
            return 0;
        }
        case ValueKind::Char:
            if (room < 1) return -1;
            value[0] = size > 0 ? storage[0] : 0;
            written = 1;
            return 0;
        case ValueKind::Text: {
            // A text stops at its terminator or at the row's width, and never reads past the storage.
            const std::uint32_t limit = std::min(row.width, size);
            const auto* end = static_cast<const std::uint8_t*>(std::memchr(storage, 0, limit));
            const std::uint32_t n = end ? static_cast<std::uint32_t>(end - storage) : limit;
            if (room < n) return -1;
            CopyShort(value, storage, n);
            written = n;
            return 0;
        }
        default:
            return -1;
    }
}

// Every binding as a field, in order, empty texts and zeros included. Bytes written, or -1.
template <class Access>
int EncodeWith(const Access& access, std::uint8_t* dest, std::uint32_t room) {
    std::uint32_t written = 0;
    const std::uint32_t count = access.Count();
    for (std::uint32_t i = 0; i < count; ++i) {
        if (room - written < kTZOFieldHeaderSize) return -1;
        const TZOFieldDef& row = access.Row(i);
        std::uint8_t* header = dest + written;
        tzo_wire::StoreU16(header, row.id);
        tzo_wire::StoreU16(header + 2, 0);
        std::uint32_t n = 0;
        if (EncodeValue(row, access.Storage(i), access.Size(i), header + kTZOFieldHeaderSize,
                        room - written - kTZOFieldHeaderSize, n) != 0)
            return -1;
        tzo_wire::StoreU32(header + 4, n);
        written += kTZOFieldHeaderSize + n;
    }
    return static_cast<int>(written);
}

// Offset of the first field with this id in [0, length), walking whole fields from the start; -1.
inline std::int64_t SearchFromStart(const std::uint8_t* src, std::uint32_t length, std::uint16_t id) {
    FieldExtent walk{};
    for (std::uint32_t q = 0; ReadExtent(src, length, q, walk); q = walk.end) {
        if (tzo_wire::LoadU16(src + q) == id) return q;
    }
    return -1;
}

// Fills every binding whose field is present; absent fields and empty values leave the storage as it
// was. 0, or -1 at the first malformed field (bindings before it are already filled).
//
// Fields are looked for where the writer's order puts them (right after the previous one) and only
// then searched from the start. In the writer's layout (no extension, numbers of their exact size)
// the position of the next field does not wait for the length just read, so the fields of a record
// are decoded without a chain of dependent loads.
template <class Access>
int DecodeWith(const Access& access, const std::uint8_t* src, std::uint32_t length) {
    std::uint32_t p = 0;
    const std::uint32_t count = access.Count();
    for (std::uint32_t i = 0; i < count; ++i) {
        const TZOFieldDef& row = access.Row(i);
        if (p == length) p = 0;
        if (length - p < kTZOFieldHeaderSize) return -1;

        std::uint32_t at = p;
        if (tzo_wire::LoadU16(src + p) != row.id) {
            const std::int64_t found = SearchFromStart(src, length, row.id);
            if (found < 0) {
                p = 0;  // absent: the storage stays as it was
                continue;
            }
            at = static_cast<std::uint32_t>(found);
        }

        std::uint32_t valueOffset;
        std::uint32_t n;
        if (length - at >= kTZOFieldHeaderSize && tzo_wire::LoadU16(src + at + 2) == 0) {
            valueOffset = at + kTZOFieldHeaderSize;
            n = tzo_wire::LoadU32(src + at + 4);
            if (n > length - valueOffset) return -1;
        } else {
            FieldExtent field{};
            if (!ReadExtent(src, length, at, field)) return -1;
            valueOffset = field.valueOffset;
            n = field.valueLength;
        }
        if (n == 0) {
            p = valueOffset;  // an empty value leaves the storage as it was
            continue;
        }

        const ValueKind kind = KindOf(row);
        std::uint8_t* storage = access.Storage(i);
        const std::uint32_t size = access.Size(i);
        const std::uint8_t* value = src + valueOffset;
        // A number of the wrong length is malformed: reading it anyway would take bytes of the next
        // field. A number's end is known without the length just read.
        if (kind == ValueKind::Int64) {
            if (n != 8 || size < 8) return -1;
            const std::uint64_t v = tzo_wire::LoadU64(value);
            std::memcpy(storage, &v, 8);
            p = valueOffset + 8;
        } else if (kind == ValueKind::Int32) {
            if (n != 4 || size < 4) return -1;
            const std::uint32_t v = tzo_wire::LoadU32(value);
            std::memcpy(storage, &v, 4);
            p = valueOffset + 4;
        } else if (kind == ValueKind::Text) {
            if (size == 0) return -1;
            const std::uint32_t copied = std::min({n, row.width, size - 1});
            CopyShort(storage, value, copied);
            storage[copied] = 0;
            p = valueOffset + n;
        } else if (kind == ValueKind::Char) {
            std::memcpy(storage, value, std::min(n, size));
            p = valueOffset + n;
        } else if (kind == ValueKind::Int16) {
            if (n != 2 || size < 2) return -1;
            const std::uint16_t v = tzo_wire::LoadU16(value);
            std::memcpy(storage, &v, 2);
            p = valueOffset + 2;
        } else {
            return -1;
        }
    }
    return 0;
}

}  // namespace tzo_codec
