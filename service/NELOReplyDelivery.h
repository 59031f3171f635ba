// How a received reply or push reaches its callback, for both service clients: one instantiation per
// callback, named in the catalogue row, which gives the group or list and the record's layout.
//
// `Target` is what a client dispatches into; `target.Spi()` is asked before every callback, because a
// callback may clear it (the client released from inside its own callback): no callback follows then.
// Callbacks take (record, reply information, RequestID, continuation flag), or the record alone for a
// push; their records may be const or not.
//
// A record is never handed over half decoded: a group that does not decode counts as missing, and a list
// row that does not decode is skipped.
//
// Thread safety: stateless; runs on the I/O thread that received the package.
#pragma once

#include <cstdint>
#include <type_traits>

#include "APIPackage.h"
#include "NELOCommonRecords.h"
#include "NELOMessageCatalog.h"
#include "TZORecordLayout.h"

namespace nelo_delivery {

template <class Callback>
struct CallbackTraits;

template <class Spi, class R, class Info>
struct CallbackTraits<void (Spi::*)(R*, Info*, std::int32_t, std::int32_t)> {
    using Record = std::remove_const_t<R>;
    static_assert(std::is_same_v<std::remove_const_t<Info>, NELORspInfoRecord>, "a reply callback takes RspInfo");
};

template <class Spi, class R>
struct CallbackTraits<void (Spi::*)(R*)> {
    using Record = std::remove_const_t<R>;
};

template <auto Callback>
using RecordOf = typename CallbackTraits<decltype(Callback)>::Record;

// Decodes the group `groupId` whole, or leaves the record zeroed and answers false.
template <class Record>
[[nodiscard]] bool ReadWholeGroup(CAPIPackage& package, std::uint16_t groupId, const TZORecordLayout& layout,
                                  Record& record) {
    if (TZOReadGroup(package, groupId, layout, &record) == 0) return true;
    record = Record{};
    return false;
}

[[nodiscard]] inline bool ReadRspInfo(CAPIPackage& package, NELORspInfoRecord& info) {
    return ReadWholeGroup(package, TZOField::RspInfo.id, kNELORspInfoLayout, info);
}

// The next list row that decodes whole, into a zeroed record; false when no such row is left.
template <class Record>
[[nodiscard]] bool NextWholeRow(CTZORecordSet& rows, const TZORecordLayout& layout, Record& record) {
    while (rows.NextRecord()) {
        record = Record{};
        if (TZODecodeRecord(layout, &record, rows.RecordData(), rows.RecordLength()) == 0) return true;
    }
    return false;
}

}  // namespace nelo_delivery

// A reply carrying one record: null pointers where a group is missing or does not decode.
template <class Target, auto Callback>
void NELOSingleReply(const NELOBodyPart& body, Target& target, CAPIPackage& package) {
    using namespace nelo_delivery;
    NELORspInfoRecord info{};
    const bool hasInfo = ReadRspInfo(package, info);
    RecordOf<Callback> record{};
    const bool hasRecord = ReadWholeGroup(package, body.field->id, *body.record->layout, record);
    if (auto* spi = target.Spi())
        (spi->*Callback)(hasRecord ? &record : nullptr, hasInfo ? &info : nullptr, package.RequestID, package.EndFlag);
}

// A reply whose callback always receives both records, zeroed where a group is missing or does not decode
// (login and logout: the owner reads the investor and the result from them in every case).
template <class Target, auto Callback>
void NELORecordReply(const NELOBodyPart& body, Target& target, CAPIPackage& package) {
    using namespace nelo_delivery;
    NELORspInfoRecord info{};
    (void)ReadRspInfo(package, info);  // zeroed when missing: the callback gets a record either way
    RecordOf<Callback> record{};
    (void)ReadWholeGroup(package, body.field->id, *body.record->layout, record);  // likewise
    if (auto* spi = target.Spi()) (spi->*Callback)(&record, &info, package.RequestID, package.EndFlag);
}

// A reply carrying a list: one callback per row that decodes whole. A row is followed by the flag 1 only
// when another such row follows it in this package, so a list cut short still ends with the package's
// own EndFlag rather than promising rows that never come. No row at all gives one call with a null record.
template <class Target, auto Callback>
void NELOListReply(const NELOBodyPart& body, Target& target, CAPIPackage& package) {
    using namespace nelo_delivery;
    using Record = RecordOf<Callback>;
    NELORspInfoRecord info{};
    NELORspInfoRecord* infoArg = ReadRspInfo(package, info) ? &info : nullptr;
    const TZORecordLayout& layout = *body.record->layout;
    CTZORecordSet rows;
    (void)package.GetRecordSet(body.field->id, &rows);  // when absent the set stays empty: no row
    // Two records in turn: the one being delivered and the one looked ahead at.
    Record records[2];
    int current = 0;
    bool haveRow = NextWholeRow(rows, layout, records[current]);
    if (!haveRow) {
        if (auto* spi = target.Spi()) (spi->*Callback)(nullptr, infoArg, package.RequestID, package.EndFlag);
        return;
    }
    while (haveRow) {
        const bool more = NextWholeRow(rows, layout, records[1 - current]);
        if (auto* spi = target.Spi())
            (spi->*Callback)(&records[current], infoArg, package.RequestID, more ? 1 : package.EndFlag);
        current = 1 - current;
        haveRow = more;
    }
}

// A push: the callback always gets a record. A group that is missing or does not decode gives a zeroed
// record rather than none, because a push has no way to say "nothing" and its arrival (a flow's next
// sequence, a binding that changed) is news to the owner in itself.
template <class Target, auto Callback>
void NELOPushNotice(const NELOBodyPart& body, Target& target, CAPIPackage& package) {
    using namespace nelo_delivery;
    RecordOf<Callback> record{};
    (void)ReadWholeGroup(package, body.field->id, *body.record->layout, record);  // zeroed, see above
    if (auto* spi = target.Spi()) (spi->*Callback)(&record);
}
