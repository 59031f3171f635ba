// Every message of the trade and the quote service as the dump tool and the dissector generator see it:
// which ServiceNo means what, in which direction it travels, and which groups and lists its body carries,
// each read with the record layout the client libraries themselves encode and decode with. It is a view
// of the two services' message tables, built from them once; it adds no fact of its own.
//
// A body field id means something only inside its message (ids repeat across dictionary rows), so the
// tools never name a field by its id alone: they name it by the layout of the group that carries it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "NELOMessageCatalog.h"
#include "TZORecordLayout.h"

enum class WireService { Trade, Quote };

using WireDirection = NELODirection;
// One record definition, named for people (and for the generated dissector's tables).
using WireRecordDef = NELORecordDef;
// One top-level field of a message body: a group (one record) or a list (a record set, one record per row).
using WireBodyPart = NELOBodyPart;

constexpr std::size_t kWireMaxBodyParts = 2;

struct WireMessageDef {
    WireService service;
    std::uint16_t serviceNo;
    WireDirection direction;
    const char* meaning;
    WireBodyPart parts[kWireMaxBodyParts];  // unused entries have a null field
    // Flow pushes carry a kind in RequestID and a sequence number in EndFlag.
    bool isFlowPush;
};

// A push kind of a trade flow (the RequestID of a ServiceNo 1 or 2 message).
struct WirePushKindDef {
    std::uint16_t flow;
    std::int32_t kind;
    const char* meaning;
    WireBodyPart part;
};

struct WireCatalog {
    const WireMessageDef* messages;
    std::size_t messageCount;
    const WirePushKindDef* pushKinds;
    std::size_t pushKindCount;
    const WireRecordDef* const* records;  // every record definition the messages use, each once
    std::size_t recordCount;
};

const WireCatalog& TheWireCatalog();

const char* WireServiceName(WireService service);

// The definition of `serviceNo` in `service`; nullptr when the service has no such message.
const WireMessageDef* FindWireMessage(WireService service, std::uint16_t serviceNo);
// The push kind `kind` of trade flow `flow`; nullptr when unknown.
const WirePushKindDef* FindWirePushKind(std::uint16_t flow, std::int32_t kind);

// Service numbers only one of the two services uses tell which service a connection speaks.
bool WireServiceNoIsOnly(WireService service, std::uint16_t serviceNo);
