#include "TZOPackage.h"

#include <algorithm>
#include <cstring>

#include "TZOByteOrder.h"

using tzo_wire::LoadU16;
using tzo_wire::LoadU32;
using tzo_wire::StoreU16;
using tzo_wire::StoreU32;

namespace {

// Size a number of this type letter has on the wire, 0 for anything that is not a number.
std::uint32_t NumberSize(char type) {
    switch (type) {
        case 'S': return 2;
        case 'I': return 4;
        case 'D':
        case 'L': return 8;
        default: return 0;
    }
}

// Extent of the field whose header starts at `at` inside [0, length): value offset and value length.
// False when the header, the extension or the value runs past the end.
struct FieldExtent {
    std::uint32_t valueOffset;
    std::uint32_t valueLength;
    std::uint32_t end;
};

bool ReadExtent(const std::uint8_t* bytes, std::uint32_t length, std::uint32_t at, FieldExtent& out) {
    if (length < at || length - at < kTZOFieldHeaderSize) return false;
    const std::uint64_t extension = LoadU16(bytes + at + 2);
    const std::uint64_t lengthSlot = std::uint64_t(at) + 4 + extension;
    if (lengthSlot + 4 > length) return false;
    const std::uint64_t valueLength = LoadU32(bytes + lengthSlot);
    const std::uint64_t end = lengthSlot + 4 + valueLength;
    if (end > length) return false;
    out.valueOffset = static_cast<std::uint32_t>(lengthSlot + 4);
    out.valueLength = static_cast<std::uint32_t>(valueLength);
    out.end = static_cast<std::uint32_t>(end);
    return true;
}

int EncodeValue(const TZOFieldBinding& binding, std::uint8_t* value, std::uint32_t room, std::uint32_t& written) {
    const TZOFieldDef& row = *binding.field;
    const auto* storage = static_cast<const std::uint8_t*>(binding.storage);
    if (TZOIsContainer(row)) return -1;
    if (const std::uint32_t size = NumberSize(row.type)) {
        if (room < size || binding.size < size) return -1;
        switch (row.type) {
            case 'S': { std::uint16_t v; std::memcpy(&v, storage, 2); StoreU16(value, v); break; }
            case 'I': { std::uint32_t v; std::memcpy(&v, storage, 4); StoreU32(value, v); break; }
            default: { std::uint64_t v; std::memcpy(&v, storage, 8); tzo_wire::StoreU64(value, v); break; }
        }
        written = size;
        return 0;
    }
    if (row.type != 'C') return -1;
    if (TZOIsSingleChar(row)) {
        if (room < 1) return -1;
        value[0] = binding.size > 0 ? storage[0] : 0;
        written = 1;
        return 0;
    }
    // A text stops at its terminator or at the row's width, and never reads past the storage.
    const std::uint32_t limit = std::min(row.width, binding.size);
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(storage, 0, limit));
    const std::uint32_t n = end ? static_cast<std::uint32_t>(end - storage) : limit;
    if (room < n) return -1;
    std::memcpy(value, storage, n);
    written = n;
    return 0;
}

int DecodeValue(const TZOFieldBinding& binding, const std::uint8_t* value, std::uint32_t n) {
    const TZOFieldDef& row = *binding.field;
    auto* storage = static_cast<std::uint8_t*>(binding.storage);
    if (TZOIsContainer(row)) return -1;
    if (const std::uint32_t size = NumberSize(row.type)) {
        // A number of the wrong length is malformed: reading it anyway would take bytes of the next field.
        if (n != size || binding.size < size) return -1;
        switch (row.type) {
            case 'S': { std::uint16_t v = LoadU16(value); std::memcpy(storage, &v, 2); break; }
            case 'I': { std::uint32_t v = LoadU32(value); std::memcpy(storage, &v, 4); break; }
            default: { std::uint64_t v = tzo_wire::LoadU64(value); std::memcpy(storage, &v, 8); break; }
        }
        return 0;
    }
    if (row.type != 'C') return -1;
    if (TZOIsSingleChar(row)) {
        std::memcpy(storage, value, std::min(n, binding.size));
        return 0;
    }
    if (binding.size == 0) return -1;
    const std::uint32_t count = std::min({n, row.width, binding.size - 1});
    std::memcpy(storage, value, count);
    storage[count] = 0;
    return 0;
}

// Children handed out by shared pointer are always destroyed as exactly this type, so the operation
// table can stay as it is without a virtual destructor.
struct SharedPackage final : CTZOPackage {};
struct SharedRecordSet final : CTZORecordSet {};

}  // namespace

int EncodeFields(const TZOBindingList& list, std::uint8_t* dest, std::uint32_t room) {
    std::uint32_t written = 0;
    for (std::uint32_t i = 0; i < list.count; ++i) {
        const TZOFieldBinding& binding = list.bindings[i];
        if (room - written < kTZOFieldHeaderSize) return -1;
        std::uint8_t* header = dest + written;
        StoreU16(header, binding.field->id);
        StoreU16(header + 2, 0);
        std::uint32_t n = 0;
        if (EncodeValue(binding, header + kTZOFieldHeaderSize, room - written - kTZOFieldHeaderSize, n) != 0)
            return -1;
        StoreU32(header + 4, n);
        written += kTZOFieldHeaderSize + n;
    }
    return static_cast<int>(written);
}

int DecodeFields(const TZOBindingList& list, const std::uint8_t* src, std::uint32_t length) {
    std::uint32_t p = 0;
    for (std::uint32_t i = 0; i < list.count; ++i) {
        const TZOFieldBinding& binding = list.bindings[i];
        const std::uint16_t id = binding.field->id;
        if (p == length) p = 0;
        if (length - p < kTZOFieldHeaderSize) return -1;

        std::uint32_t at = p;
        if (LoadU16(src + p) != id) {
            // Not where the writer's order would put it: search the whole package from its start.
            bool found = false;
            FieldExtent walk{};
            for (std::uint32_t q = 0; ReadExtent(src, length, q, walk); q = walk.end) {
                if (LoadU16(src + q) == id) {
                    at = q;
                    found = true;
                    break;
                }
            }
            if (!found) {
                p = 0;
                continue;
            }
        }
        FieldExtent field{};
        if (!ReadExtent(src, length, at, field)) return -1;
        if (field.valueLength != 0 && DecodeValue(binding, src + field.valueOffset, field.valueLength) != 0)
            return -1;
        p = field.end;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------
// CTZOPackage

void CTZOPackage::Attach(std::uint8_t* bytes, std::uint32_t capacity, std::uint32_t length, CTZOPackage* parent) {
    data_ = bytes;
    capacity_ = capacity;
    length_ = length;
    cursor_ = 0;
    parent_ = parent;
}

void CTZOPackage::Reset() {
    data_ = nullptr;
    capacity_ = 0;
    length_ = 0;
    cursor_ = 0;
    parent_ = nullptr;
}

int CTZOPackage::OnWriteOpened() { return 0; }

int CTZOPackage::OnReadOpened() { return 0; }

int CTZOPackage::AppendRaw(const void* bytes, std::uint32_t n) {
    if (!data_ || n > capacity_ - length_) return -1;
    std::memcpy(data_ + length_, bytes, n);
    Advance(n);
    return static_cast<int>(n);
}

int CTZOPackage::AddPackage(std::uint16_t id, CTZOPackage* child) {
    if (!data_) return -1;
    return OpenField(id, child);
}

std::shared_ptr<CTZORecordSet> CTZOPackage::AddRecordSet(std::uint16_t id) {
    auto set = std::make_shared<SharedRecordSet>();
    AddRecordSet(id, set.get());
    return set;
}

int CTZOPackage::AddRecordSet(std::uint16_t id, CTZORecordSet* child) { return OpenField(id, child); }

std::shared_ptr<CTZOPackage> CTZOPackage::AddPackage(std::uint16_t id) {
    if (!data_ || capacity_ - length_ < kTZOFieldHeaderSize) return {};
    const std::uint32_t oldLength = length_;
    WriteEmptyHeader(id);
    auto child = std::make_shared<SharedPackage>();
    child->Attach(data_ + oldLength + kTZOFieldHeaderSize, capacity_ - oldLength - kTZOFieldHeaderSize, 0, nullptr);
    Advance(kTZOFieldHeaderSize);
    child->SetParent(this);
    return child;
}

bool CTZOPackage::WriteEmptyHeader(std::uint16_t id) {
    if (!data_ || capacity_ - length_ < kTZOFieldHeaderSize) return false;
    std::uint8_t* header = data_ + length_;
    StoreU16(header, id);
    StoreU16(header + 2, 0);
    StoreU32(header + 4, 0);
    return true;
}

int CTZOPackage::OpenField(std::uint16_t id, CTZOPackage* child) {
    child->Reset();
    const std::uint32_t oldLength = length_;
    if (!WriteEmptyHeader(id)) return -1;
    Advance(kTZOFieldHeaderSize);
    child->Attach(data_ + oldLength + kTZOFieldHeaderSize, capacity_ - oldLength - kTZOFieldHeaderSize, 0, nullptr);
    child->SetParent(this);
    child->OnWriteOpened();
    return 0;
}

int CTZOPackage::GetPackage(std::uint16_t id, CTZOPackage* child) {
    if (!data_) return -1;
    return FindField(id, child);
}

std::shared_ptr<CTZORecordSet> CTZOPackage::GetRecordSet(std::uint16_t id) {
    auto set = std::make_shared<SharedRecordSet>();
    FindField(id, set.get());
    return set;
}

int CTZOPackage::GetRecordSet(std::uint16_t id, CTZORecordSet* child) { return FindField(id, child); }

std::shared_ptr<CTZOPackage> CTZOPackage::GetPackage(std::uint16_t id) {
    if (!data_) return {};
    const int at = Find(id);
    FieldExtent field{};
    if (at < 0 || !ReadExtent(data_, length_, static_cast<std::uint32_t>(at), field)) return {};
    auto child = std::make_shared<SharedPackage>();
    child->Attach(data_ + field.valueOffset, 0, field.valueLength, nullptr);
    return child;
}

int CTZOPackage::FindField(std::uint16_t id, CTZOPackage* child) {
    child->Reset();
    if (!data_) return -1;
    const int at = Find(id);
    FieldExtent field{};
    if (at < 0 || !ReadExtent(data_, length_, static_cast<std::uint32_t>(at), field)) return -1;
    child->Attach(data_ + field.valueOffset, 0, field.valueLength, nullptr);
    child->OnReadOpened();
    return 0;
}

int CTZOPackage::Advance(std::uint32_t n) {
    length_ += n;
    if (parent_) {
        StoreU32(data_ - 4, length_);
        parent_->Advance(n);
    }
    return 0;
}

std::uint8_t* CTZOPackage::Data() { return data_; }

std::uint32_t CTZOPackage::Length() { return length_; }

int CTZOPackage::Find(std::uint16_t id) {
    if (!data_ || length_ < cursor_ || length_ - cursor_ < kTZOFieldHeaderSize) return -1;
    const std::uint32_t start = cursor_;
    for (;;) {
        if (LoadU16(data_ + cursor_) == id) return static_cast<int>(cursor_);
        FieldExtent field{};
        if (!ReadExtent(data_, length_, cursor_, field)) break;
        cursor_ = field.end == length_ ? 0 : field.end;
        if (cursor_ == start) break;
        if (length_ - cursor_ < kTZOFieldHeaderSize) break;
    }
    cursor_ = start;
    return -1;
}

int CTZOPackage::AddStruct(const TZOBindingList& list, std::uint16_t id) {
    CTZOPackage child;
    if (OpenField(id, &child) != 0) return -1;
    const int n = EncodeFields(list, child.data_, child.capacity_);
    if (n < 0) return -1;
    child.Advance(static_cast<std::uint32_t>(n));
    return n;
}

// ---------------------------------------------------------------------------------------------------
// CTZORecordSet

void CTZORecordSet::Attach(std::uint8_t* bytes, std::uint32_t capacity, std::uint32_t used, CTZOPackage* parent) {
    parent_ = parent;
    base_ = bytes;
    limit_ = capacity;
    total_ = used;
    recordCursor_ = 0;
    PlaceWriteWindow();
}

void CTZORecordSet::PlaceWriteWindow() {
    if (base_ && limit_ >= total_ && limit_ - total_ >= 4) {
        data_ = base_ + total_ + 4;
        capacity_ = limit_ - total_ - 4;
    } else {
        data_ = nullptr;
        capacity_ = 0;
    }
    length_ = 0;
    cursor_ = 0;
}

void CTZORecordSet::Reset() {
    CTZOPackage::Reset();
    base_ = nullptr;
    limit_ = 0;
    total_ = 0;
    recordCursor_ = 0;
}

int CTZORecordSet::Advance(std::uint32_t n) {
    length_ += n;
    return 0;
}

std::uint8_t* CTZORecordSet::Data() { return base_; }

std::uint32_t CTZORecordSet::Length() { return total_; }

int CTZORecordSet::AddRecord(const TZOBindingList& list) {
    if (!data_) return -1;
    const int n = EncodeFields(list, data_ + length_, capacity_ - length_);
    if (n < 0) return -1;
    Advance(static_cast<std::uint32_t>(n));
    StoreU32(data_ - 4, length_);
    const std::uint32_t closed = length_ + 4;
    total_ += closed;
    if (parent_) {
        StoreU32(base_ - 4, total_);
        parent_->Advance(closed);
    }
    PlaceWriteWindow();
    return 0;
}

bool CTZORecordSet::NextRecord() {
    if (!base_ || recordCursor_ >= total_ || total_ - recordCursor_ < 4) return false;
    const std::uint64_t r = LoadU32(base_ + recordCursor_);
    if (recordCursor_ + 4 + r > total_) return false;
    data_ = base_ + recordCursor_ + 4;
    capacity_ = 0;
    length_ = static_cast<std::uint32_t>(r);
    cursor_ = 0;
    recordCursor_ += 4 + static_cast<std::uint32_t>(r);
    return true;
}
