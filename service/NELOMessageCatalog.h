// The shape of a service's message catalogue: every message a service carries, as data. Each row says
// which ServiceNo the message travels under, in which direction, what its body holds (a group of one
// record or a list of records, read and written with the record's layout) and, for what the client
// receives, how it reaches its callback. The clients' request bodies and dispatch, the front simulator,
// the wire dump and the generated dissector are all read off the catalogues, so a message's facts are
// written once, in its row.
//
// Thread safety: constant tables, read from any thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "APIPackage.h"
#include "TZORecordLayout.h"

enum class NELODirection : std::uint8_t { ToServer, ToClient, Both };

// One record definition, named for people (the wire dump, the generated dissector).
struct NELORecordDef {
    const char* name;
    const TZORecordLayout* layout;
};

// One top-level field of a body: a group (one record) or a list (a record set, one record per row).
// A null field means no body.
struct NELOBodyPart {
    const TZOFieldDef* field;
    const NELORecordDef* record;

    constexpr bool IsList() const { return field != nullptr && (field->flags & kTZORecordSetFlag) != 0; }
};

// Decodes a received message and calls its callback. `Target` is what the client dispatches into: it
// answers Spi() with the callback object, or null once none is registered.
template <class Target>
using NELODeliver = void (*)(const NELOBodyPart& body, Target& target, CAPIPackage& package);

template <class Target, class Id>
struct NELOMessageDef {
    Id id;  // the service's own name for the row, equal to its index in the catalogue
    std::uint16_t serviceNo;
    NELODirection direction;
    const char* meaning;
    bool withRspInfo;   // a reply: the RspInfo group comes before the body
    NELOBodyPart body;  // what the request is encoded as, or what the received message is read as
    bool isFlowPush;    // the kind is in RequestID and the sequence in EndFlag; see the push kinds
    // What the client does with it once received; null for what only the client sends, for heartbeats
    // and for the flow containers, which are routed by kind.
    NELODeliver<Target> deliver;
};

// A kind of flow push: the RequestID of a message on flow `flow`.
template <class Target, class Id>
struct NELOPushKindDef {
    Id id;
    std::uint16_t flow;
    std::int32_t kind;
    const char* meaning;
    NELOBodyPart body;
    NELODeliver<Target> deliver;
};

// A request's reply travels under the next ServiceNo.
constexpr std::uint16_t NELOReplyServiceNo(std::uint16_t requestServiceNo) {
    return static_cast<std::uint16_t>(requestServiceNo + 1);
}

// Every row sits at the index its id names, so a row is reached by its id without a search.
template <class Row, std::size_t N>
constexpr bool NELOCatalogIsInIdOrder(const Row (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (static_cast<std::size_t>(rows[i].id) != i) return false;
    return true;
}

// The row of `rows` a received ServiceNo belongs to; null when the service sends no such message.
template <class Row, std::size_t N>
const Row* NELOFindReceived(const Row (&rows)[N], int serviceNo) {
    for (const Row& row : rows)
        if (row.serviceNo == serviceNo && row.direction != NELODirection::ToServer) return &row;
    return nullptr;
}
