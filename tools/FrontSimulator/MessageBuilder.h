// Builds one outgoing message of either service in a buffer of its own, and reads and writes the records
// a catalogue row names.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "APIPackage.h"
#include "NELOMessageCatalog.h"

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

// The record a request carries, as its catalogue row (`asked`) says; zeroed when it is missing or does not
// decode, so a half-read key never filters anything.
template <class Record, class Row>
Record RequestRecord(CAPIPackage& request, const Row& asked) {
    Record record{};
    if (TZOReadGroup(request, asked.body.field->id, *asked.body.record->layout, &record) != 0) record = Record{};
    return record;
}

// Adds `record` as the group `body` names.
template <class Record>
void AddBody(CAPIPackage& package, const NELOBodyPart& body, const Record& record) {
    TZOAddRecord(package, body.field->id, *body.record->layout, &record);
}
