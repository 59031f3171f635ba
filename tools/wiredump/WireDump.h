// The dump itself: a capture (pcap or pcapng) or a stream of raw frames in, readable messages out.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "WireCatalog.h"

// Exit statuses of narv_wiredump, documented in its --help and in the user guide.
constexpr int kWireDumpClean = 0;       // every frame decoded cleanly
constexpr int kWireDumpProblems = 1;    // all of the input was read, some frames or fields were bad
constexpr int kWireDumpUsage = 2;       // bad command line
constexpr int kWireDumpUnreadable = 3;  // the input cannot be opened, or is neither a capture nor raw frames

struct WireDumpOptions {
    enum class Input { Auto, Capture, Raw };
    Input input = Input::Auto;
    bool serviceGiven = false;  // otherwise each connection's service is told by its ServiceNos
    WireService service = WireService::Trade;
    std::vector<std::uint16_t> serverPorts;  // tells the client side when the capture lacks the handshake
    bool hexPayload = false;                 // print every frame's bytes too
    bool showPasswords = false;              // otherwise password values are masked, in the hex view too
};

struct WireDumpResult {
    int exitStatus = kWireDumpClean;
    std::uint64_t messages = 0;
    std::uint64_t problems = 0;
};

// `bytes` is the whole input; `name` names it in messages.
WireDumpResult RunWireDump(const std::string& bytes, const WireDumpOptions& options, std::ostream& out,
                           std::ostream& err);
