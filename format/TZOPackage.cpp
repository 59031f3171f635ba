#include "TZOPackage.h"

#include <algorithm>
#include <cstring>

#include "TZOByteOrder.h"
#include "TZOFieldCodec.h"

using tzo_wire::LoadU16;
using tzo_wire::LoadU32;
using tzo_wire::StoreU16;
using tzo_wire::StoreU32;

namespace {

using tzo_codec::FieldExtent;
using tzo_codec::ReadExtent;

// A binding list as the codec reads it.
struct BindingAccess {
    const TZOBindingList& list;
    std::uint32_t Count() const { return list.count; }
    const TZOFieldDef& Row(std::uint32_t i) const { return *list.bindings[i].field; }
    std::uint8_t* Storage(std::uint32_t i) const { return static_cast<std::uint8_t*>(list.bindings[i].storage); }
    std::uint32_t Size(std::uint32_t i) const { return list.bindings[i].size; }
};

// Children handed out by shared pointer are always destroyed as exactly this type, so the operation
// table can stay as it is without a virtual destructor.
struct SharedPackage final : CTZOPackage {};
struct SharedRecordSet final : CTZORecordSet {};

}  // namespace

int EncodeFields(const TZOBindingList& list, std::uint8_t* dest, std::uint32_t room) {
    return tzo_codec::EncodeWith(BindingAccess{list}, dest, room);
}

int DecodeFields(const TZOBindingList& list, const std::uint8_t* src, std::uint32_t length) {
    return tzo_codec::DecodeWith(BindingAccess{list}, src, length);
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
    (void)FindField(id, set.get());  // when absent the set stays detached: it holds no record
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
