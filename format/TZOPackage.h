// Tagged-field packages and record sets, written and read in place in a buffer owned by the caller.
//
// One field on the wire: id (2) | extension length e (2) | extension (e) | value length n (4) | value (n),
// all big-endian. A package is a run of fields whose extent is given from outside; a record set value is
// a run of (record length (4) | record fields). Nothing here allocates except the operations that hand
// out a new child object.
#pragma once

#include <cstdint>
#include <memory>

#include "TZOFieldDictionary.h"

// Header bytes in front of every value: id, extension length, value length.
constexpr std::uint32_t kTZOFieldHeaderSize = 8;

// Where one field of a flat record lives. Bindings in use always carry flags 0, a null length pointer
// and zero further words; the extra members are part of the record's shape.
struct TZOFieldBinding {
    const TZOFieldDef* field;
    void* storage;
    std::uint32_t size;
    std::uint32_t flags;
    std::uint32_t* length;
    std::uint32_t reserved1;
    std::uint32_t reserved2;
    std::uint32_t reserved3;
};

struct TZOBindingList {
    const TZOFieldBinding* bindings;
    std::uint32_t count;
};

// Writes every binding as a field, in order, empty texts and zeros included.
// Returns the bytes written or -1 when a field does not fit or a binding is unusable.
int EncodeFields(const TZOBindingList& list, std::uint8_t* dest, std::uint32_t room);

// Fills every binding whose field is present; absent fields and empty values leave the storage as it
// was. Returns 0, or -1 at the first malformed field (bindings before it are already filled).
[[nodiscard]] int DecodeFields(const TZOBindingList& list, const std::uint8_t* src, std::uint32_t length);

class CTZORecordSet;

class CTZOPackage {
public:
    CTZOPackage() = default;
    CTZOPackage(const CTZOPackage&) = delete;
    CTZOPackage& operator=(const CTZOPackage&) = delete;

    // The table of operations is shared by packages, record sets and envelopes; its order is fixed.
    virtual void Attach(std::uint8_t* bytes, std::uint32_t capacity, std::uint32_t length, CTZOPackage* parent);
    virtual void Reset();
    virtual int OnWriteOpened();
    virtual int OnReadOpened();
    virtual int AppendRaw(const void* bytes, std::uint32_t n);
    virtual int AddPackage(std::uint16_t id, CTZOPackage* child);
    virtual std::shared_ptr<CTZORecordSet> AddRecordSet(std::uint16_t id);
    virtual int AddRecordSet(std::uint16_t id, CTZORecordSet* child);
    virtual std::shared_ptr<CTZOPackage> AddPackage(std::uint16_t id);
    virtual int OpenField(std::uint16_t id, CTZOPackage* child);
    [[nodiscard]] virtual int GetPackage(std::uint16_t id, CTZOPackage* child);
    virtual std::shared_ptr<CTZORecordSet> GetRecordSet(std::uint16_t id);
    [[nodiscard]] virtual int GetRecordSet(std::uint16_t id, CTZORecordSet* child);
    virtual std::shared_ptr<CTZOPackage> GetPackage(std::uint16_t id);
    [[nodiscard]] virtual int FindField(std::uint16_t id, CTZOPackage* child);
    virtual int Advance(std::uint32_t n);
    virtual std::uint8_t* Data();
    virtual std::uint32_t Length();

    // Offset of the header of the field with this id, searching circularly from the last field found.
    int Find(std::uint16_t id);
    // Writes the bound record as one nested package under `id`; returns the bytes of its content or -1.
    int AddStruct(const TZOBindingList& list, std::uint16_t id);

    bool IsAttached() const { return data_ != nullptr; }
    std::uint32_t Capacity() const { return capacity_; }
    std::uint32_t Cursor() const { return cursor_; }
    CTZOPackage* Parent() const { return parent_; }

protected:
    void SetParent(CTZOPackage* parent) { parent_ = parent; }
    // Writes the 8-byte header of an empty field at the end of the content, if it fits.
    bool WriteEmptyHeader(std::uint16_t id);

    std::uint8_t* data_ = nullptr;
    std::uint32_t capacity_ = 0;
    std::uint32_t length_ = 0;
    std::uint32_t cursor_ = 0;
    CTZOPackage* parent_ = nullptr;
};

class CTZORecordSet : public CTZOPackage {
public:
    void Attach(std::uint8_t* bytes, std::uint32_t capacity, std::uint32_t used, CTZOPackage* parent) override;
    void Reset() override;
    int Advance(std::uint32_t n) override;
    std::uint8_t* Data() override;
    std::uint32_t Length() override;

    // Closes the record being written: encodes the bound fields into the window, then opens the next one.
    int AddRecord(const TZOBindingList& list);
    // Places the window on the next record to read; false when no complete record is left.
    bool NextRecord();
    bool HasMoreRecords() const { return recordCursor_ < total_; }

    // The window of the current record (its content without the length slot).
    const std::uint8_t* RecordData() const { return data_; }
    std::uint32_t RecordLength() const { return length_; }

private:
    void PlaceWriteWindow();

    std::uint8_t* base_ = nullptr;
    std::uint32_t limit_ = 0;
    std::uint32_t total_ = 0;
    std::uint32_t recordCursor_ = 0;
};
