// The generic decoders behind the dispatch tables: one reply or push is one instantiation, named by the
// callback it reaches, the layout of its record and the group or list that carries it.
#pragma once

#include <cstdint>

#include "APIPackage.h"
#include "NELOTradeApi.h"
#include "NELOTradeSession.h"
#include "TZORecordLayout.h"

using NELOPackageHandler = void (*)(CNELOTradeSession& session, CAPIPackage& package);

namespace nelo_dispatch {

template <class Callback>
struct CallbackTraits;

template <class R>
struct CallbackTraits<void (CNELOTradeSpi::*)(const R*, const NELORspInfoRecord*, std::int32_t, std::int32_t)> {
    using Record = R;
};

template <class R>
struct CallbackTraits<void (CNELOTradeSpi::*)(const R*)> {
    using Record = R;
};

template <auto Callback>
using RecordOf = typename CallbackTraits<decltype(Callback)>::Record;

// Null when the reply carries no RspInfo or it does not decode.
inline const NELORspInfoRecord* ReadRspInfo(CAPIPackage& package, NELORspInfoRecord& storage) {
    storage = NELORspInfoRecord{};
    return TZOReadGroup(package, TZOField::RspInfo.id, kNELORspInfoLayout, &storage) == 0 ? &storage : nullptr;
}

// A reply carrying one record: null pointers where a group is missing or does not decode.
template <auto Callback, const TZORecordLayout& Layout, std::uint16_t GroupId>
void SingleReply(CNELOTradeSession& session, CAPIPackage& package) {
    NELORspInfoRecord rspStorage;
    const NELORspInfoRecord* rspInfo = ReadRspInfo(package, rspStorage);
    RecordOf<Callback> record{};
    const bool decoded = TZOReadGroup(package, GroupId, Layout, &record) == 0;
    if (CNELOTradeSpi* spi = session.Spi())
        (spi->*Callback)(decoded ? &record : nullptr, rspInfo, package.RequestID, package.EndFlag);
}

// A reply whose callback always receives records, zeroed where a group is missing or does not decode.
template <auto Callback, const TZORecordLayout& Layout, std::uint16_t GroupId>
void RecordReply(CNELOTradeSession& session, CAPIPackage& package) {
    NELORspInfoRecord rspInfo{};
    if (TZOReadGroup(package, TZOField::RspInfo.id, kNELORspInfoLayout, &rspInfo) != 0) rspInfo = {};
    RecordOf<Callback> record{};
    if (TZOReadGroup(package, GroupId, Layout, &record) != 0) record = {};
    if (CNELOTradeSpi* spi = session.Spi()) (spi->*Callback)(&record, &rspInfo, package.RequestID, package.EndFlag);
}

// A reply carrying a list: one callback per complete row, each row decoded into a fresh zeroed record.
// A row is followed by the flag 1 only when another complete row follows it in this package, so a
// list cut short still ends with the package's own EndFlag rather than promising rows that never come.
template <auto Callback, const TZORecordLayout& Layout, std::uint16_t ListId>
void ListReply(CNELOTradeSession& session, CAPIPackage& package) {
    NELORspInfoRecord rspStorage;
    const NELORspInfoRecord* rspInfo = ReadRspInfo(package, rspStorage);
    CTZORecordSet rows;
    package.GetRecordSet(ListId, &rows);
    bool haveRow = rows.NextRecord();
    if (!haveRow) {
        if (CNELOTradeSpi* spi = session.Spi()) (spi->*Callback)(nullptr, rspInfo, package.RequestID, package.EndFlag);
        return;
    }
    while (haveRow) {
        RecordOf<Callback> record{};
        TZODecodeRecord(Layout, &record, rows.RecordData(), rows.RecordLength());
        haveRow = rows.NextRecord();
        if (CNELOTradeSpi* spi = session.Spi())
            (spi->*Callback)(&record, rspInfo, package.RequestID, haveRow ? 1 : package.EndFlag);
    }
}

// A push: the callback always gets a record, all zero or partly filled when the group is missing or
// malformed.
template <auto Callback, const TZORecordLayout& Layout, std::uint16_t GroupId>
void PushNotice(CNELOTradeSession& session, CAPIPackage& package) {
    RecordOf<Callback> record{};
    CTZOPackage group;
    if (package.FindField(GroupId, &group) == 0 && group.Length() > 0)
        TZODecodeRecord(Layout, &record, group.Data(), group.Length());
    if (CNELOTradeSpi* spi = session.Spi()) (spi->*Callback)(&record);
}

}  // namespace nelo_dispatch
