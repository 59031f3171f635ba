// Turns one message (the payload of one frame) into lines a person reads: the envelope's head values,
// what the ServiceNo means, and every body field by the name its message definition gives it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "WireCatalog.h"

// One line of the dump with the lines it contains (a group holds its fields, a list its rows).
struct WireNode {
    std::string text;
    std::vector<WireNode> children;
};

struct WireDecodedMessage {
    bool hasHead = false;
    std::uint16_t serviceNo = 0;
    std::int32_t requestId = 0;
    std::int32_t endFlag = 0;
    const WireMessageDef* message = nullptr;    // null for a ServiceNo the service does not have
    const WirePushKindDef* pushKind = nullptr;  // for flow pushes of a known kind
    std::string summary;                        // "ServiceNo 122 order entry  RequestID 3  EndFlag 0"
    std::vector<WireNode> body;
    // Everything that does not decode cleanly: a field running past its package, a value whose length
    // does not fit its type, a field the message does not define, ...
    std::vector<std::string> problems;
    // Where the masked secret values lie in the payload (offset, length), so that a hex view hides them too.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> secretRanges;
};

// `service` decides which service's definitions name the fields (the two share some ServiceNos).
// Passwords (login, password change) are masked unless `showSecrets`.
WireDecodedMessage DecodeWireMessage(WireService service, const std::uint8_t* payload, std::uint32_t length,
                                     bool showSecrets = false);

// Helpers shared with the stream side and with tests.
std::string WireHex(const std::uint8_t* bytes, std::uint32_t length, std::uint32_t limit = 48);
// Text as received (GBK), shown in UTF-8; bytes that are not GBK are shown as \xNN.
std::string WireTextForDisplay(const std::uint8_t* bytes, std::uint32_t length);
