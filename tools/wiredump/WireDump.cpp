#include "WireDump.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <ostream>
#include <sstream>
#include <utility>

#include "TZOByteOrder.h"
#include "WireCapture.h"
#include "WireDecoder.h"
#include "WireStream.h"

namespace {

void PrintNodes(std::ostream& out, const std::vector<WireNode>& nodes, int depth) {
    for (const WireNode& node : nodes) {
        out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << node.text << '\n';
        PrintNodes(out, node.children, depth + 1);
    }
}

// What is known of one TCP connection (or of the single raw stream): which service it speaks, and which
// of its two ends is the client.
struct Connection {
    bool serviceKnown = false;
    WireService service = WireService::Trade;
    std::string client;  // endpoint text; empty while unknown
    std::string endA, endB;
};

class Dumper {
public:
    Dumper(const WireDumpOptions& options, std::ostream& out) : options_(options), out_(out) {}

    // One frame event of one direction of a connection.
    void OnFrame(Connection& connection, const std::string& from, const std::string& to, const std::string& when,
                 const WireFrameEvent& event) {
        ++index_;
        const std::string where = when.empty() ? "offset " + std::to_string(event.offset) : when;
        switch (event.kind) {
            case WireFrameEvent::Kind::Oversized:
                Problem("#" + std::to_string(index_) + " " + where + Route(from, to) + " bad frame: length " +
                        std::to_string(event.announced) + " above " + std::to_string(kWireMaxFrameLength) +
                        " (the libraries close the connection here); the rest of this direction is not framed");
                return;
            case WireFrameEvent::Kind::Truncated:
                Problem("#" + std::to_string(index_) + " " + where + Route(from, to) +
                        " incomplete frame at the end: " + std::to_string(event.payload.size()) + " bytes of " +
                        (event.payload.size() >= 4 ? std::to_string(event.announced + 4) : std::string("a frame")));
                return;
            case WireFrameEvent::Kind::Gap:
                Problem("#" + std::to_string(index_) + " " + where + Route(from, to) +
                        " bytes missing from the capture; the rest of this direction is not framed");
                return;
            case WireFrameEvent::Kind::Frame:
                break;
        }
        const WireService service = ServiceFor(connection, event.payload);
        WireDecodedMessage message = DecodeWireMessage(
            service, event.payload.data(), static_cast<std::uint32_t>(event.payload.size()), options_.showPasswords);
        Learn(connection, from, to, message);
        ++messages_;
        out_ << "#" << index_ << " " << where << Route(from, to) << " " << DirectionText(connection, from, message)
             << " " << WireServiceName(service) << (connection.serviceKnown ? "" : "?") << "  frame "
             << event.payload.size() << " bytes\n";
        out_ << "  " << message.summary << '\n';
        if (options_.hexPayload) out_ << "  bytes: " << MaskedHex(event.payload, message.secretRanges) << '\n';
        PrintNodes(out_, message.body, 2);
        problems_ += message.problems.size();
        for (const std::string& problem : EnvelopeProblems(message)) out_ << "  !! " << problem << '\n';
    }

    void Problem(const std::string& text) {
        ++problems_;
        out_ << text << '\n';
    }

    std::uint64_t Messages() const { return messages_; }
    std::uint64_t Problems() const { return problems_; }

private:
    // Every byte of the frame in hex (frames are far below the limit), with masked values as "**".
    static std::string MaskedHex(const std::vector<std::uint8_t>& payload,
                                 const std::vector<std::pair<std::uint32_t, std::uint32_t>>& secrets) {
        std::string text = WireHex(payload.data(), static_cast<std::uint32_t>(payload.size()), 1u << 16);
        for (const auto& [offset, length] : secrets)
            for (std::uint32_t i = offset; i < offset + length && 3u * i + 1 < text.size(); ++i)
                text.replace(3u * i, 2, "**");
        return text;
    }

    // " from -> to", or nothing for a raw stream, whose ends are unknown.
    static std::string Route(const std::string& from, const std::string& to) {
        if (from.empty()) return "";
        return " " + from + " -> " + to;
    }

    // Problems not already shown inside the body tree.
    static std::vector<std::string> EnvelopeProblems(const WireDecodedMessage& message) {
        std::vector<std::string> shown;
        CollectShown(message.body, shown);
        std::vector<std::string> rest;
        for (const std::string& problem : message.problems)
            if (std::find(shown.begin(), shown.end(), "!! " + problem) == shown.end()) rest.push_back(problem);
        return rest;
    }
    static void CollectShown(const std::vector<WireNode>& nodes, std::vector<std::string>& shown) {
        for (const WireNode& node : nodes) {
            shown.push_back(node.text);
            CollectShown(node.children, shown);
        }
    }

    WireService ServiceFor(Connection& connection, const std::vector<std::uint8_t>& payload) {
        if (options_.serviceGiven) {
            connection.serviceKnown = true;
            connection.service = options_.service;
            return connection.service;
        }
        if (!connection.serviceKnown) {
            // A ServiceNo that only one service uses settles it for the whole connection.
            const WireDecodedMessage probe =
                DecodeWireMessage(WireService::Trade, payload.data(), static_cast<std::uint32_t>(payload.size()));
            for (WireService candidate : {WireService::Trade, WireService::Quote})
                if (WireServiceNoIsOnly(candidate, probe.serviceNo)) {
                    connection.serviceKnown = true;
                    connection.service = candidate;
                }
        }
        return connection.service;
    }

    void Learn(Connection& connection, const std::string& from, const std::string& to,
               const WireDecodedMessage& message) {
        if (!connection.client.empty() || from.empty() || !message.message) return;
        if (message.message->direction == WireDirection::ToServer) connection.client = from;
        if (message.message->direction == WireDirection::ToClient) connection.client = to;
    }

    static std::string DirectionText(const Connection& connection, const std::string& from,
                                     const WireDecodedMessage& message) {
        if (!connection.client.empty() && !from.empty()) return from == connection.client ? "C->S" : "S->C";
        if (message.message && message.message->direction == WireDirection::ToServer) return "C->S";
        if (message.message && message.message->direction == WireDirection::ToClient) return "S->C";
        return "?";
    }

    const WireDumpOptions& options_;
    std::ostream& out_;
    std::uint64_t index_ = 0;
    std::uint64_t messages_ = 0;
    std::uint64_t problems_ = 0;
};

// One direction of one TCP connection: puts segments back in order and frames the bytes.
struct TcpDirection {
    bool started = false;
    std::uint32_t next = 0;
    std::map<std::uint32_t, std::vector<std::uint8_t>> ahead;  // segments past a hole, by sequence
    std::size_t aheadBytes = 0;
    std::unique_ptr<WireFrameSplitter> splitter;
};

struct TcpConnection {
    Connection connection;
    TcpDirection directions[2];  // [0]: from endA, [1]: from endB
};

// Bytes held past a hole before the hole is taken as lost.
constexpr std::size_t kMaxHeldAhead = 4u << 20;

class CaptureDump {
public:
    CaptureDump(Dumper& dumper, const WireDumpOptions& options) : dumper_(dumper), options_(options) {}

    void OnSegment(const WireTcpSegment& segment, std::uint64_t timeNs) {
        if (!firstTime_) firstTime_ = timeNs ? timeNs : 1;
        char when[32];
        const std::uint64_t relative = timeNs >= firstTime_ ? timeNs - firstTime_ : 0;
        std::snprintf(when, sizeof when, "%llu.%06llu", static_cast<unsigned long long>(relative / 1000000000u),
                      static_cast<unsigned long long>(relative % 1000000000u / 1000u));
        when_ = when;

        const bool forward = segment.source < segment.destination;
        const std::string key =
            forward ? segment.source + " " + segment.destination : segment.destination + " " + segment.source;
        auto [it, fresh] = connections_.try_emplace(key);
        TcpConnection& tcp = it->second;
        if (fresh) {
            tcp.connection.endA = forward ? segment.source : segment.destination;
            tcp.connection.endB = forward ? segment.destination : segment.source;
            order_.push_back(key);
        }
        Connection& connection = tcp.connection;
        if (connection.client.empty()) {
            if (segment.syn && !segment.ack) connection.client = segment.source;
            for (std::uint16_t port : options_.serverPorts) {
                if (segment.destinationPort == port) connection.client = segment.source;
                if (segment.sourcePort == port) connection.client = segment.destination;
            }
        }
        const std::string from = segment.source, to = segment.destination;
        TcpDirection& direction = tcp.directions[segment.source == connection.endA ? 0 : 1];
        if (!direction.splitter)
            direction.splitter =
                std::make_unique<WireFrameSplitter>([this, &connection, from, to](const WireFrameEvent& event) {
                    dumper_.OnFrame(connection, from, to, when_, event);
                });
        if (segment.syn) {
            direction.started = true;
            direction.next = segment.sequence + 1;
            return;
        }
        if (!direction.started) {  // the capture began inside the connection
            direction.started = true;
            direction.next = segment.sequence;
        }
        Deliver(direction, segment.sequence, segment.payload, segment.payloadLength);
    }

    void Finish() {
        for (const std::string& key : order_) {
            TcpConnection& tcp = connections_[key];
            for (TcpDirection& direction : tcp.directions) {
                if (!direction.splitter) continue;
                if (!direction.ahead.empty()) direction.splitter->Lost();
                direction.splitter->Finish();
            }
        }
    }

private:
    void Deliver(TcpDirection& direction, std::uint32_t sequence, const std::uint8_t* bytes, std::uint32_t length) {
        if (length == 0 || direction.splitter->Broken()) return;
        const auto offset = static_cast<std::int32_t>(sequence - direction.next);
        if (offset > 0) {  // past a hole: hold it until the hole is filled
            auto& held = direction.ahead[sequence];
            if (held.size() < length) {
                direction.aheadBytes += length - held.size();
                held.assign(bytes, bytes + length);
            }
            if (direction.aheadBytes > kMaxHeldAhead) {
                direction.splitter->Lost();
                direction.ahead.clear();
            }
            return;
        }
        const std::uint32_t seen = static_cast<std::uint32_t>(-offset);  // a retransmission overlaps
        if (seen >= length) return;
        direction.splitter->Feed(bytes + seen, length - seen);
        direction.next += length - seen;
        // Held segments that now connect.
        for (bool progressed = true; progressed && !direction.ahead.empty();) {
            progressed = false;
            for (auto it = direction.ahead.begin(); it != direction.ahead.end(); ++it) {
                if (static_cast<std::int32_t>(it->first - direction.next) > 0) continue;
                std::vector<std::uint8_t> held = std::move(it->second);
                const std::uint32_t start = it->first;
                direction.aheadBytes -= held.size();
                direction.ahead.erase(it);
                Deliver(direction, start, held.data(), static_cast<std::uint32_t>(held.size()));
                progressed = true;
                break;
            }
        }
    }

    Dumper& dumper_;
    const WireDumpOptions& options_;
    std::map<std::string, TcpConnection> connections_;
    std::vector<std::string> order_;
    std::uint64_t firstTime_ = 0;
    std::string when_;
};

// Raw frames are recognised by their first frame: a length the libraries accept, and all of it present
// with an envelope head. Anything else that is not a capture either (a text file, a core dump, a capture
// format this tool does not read) is reported as such rather than as one enormous bad frame.
bool LooksLikeRawFrames(const std::string& bytes) {
    if (bytes.empty()) return true;  // an empty stream of frames
    if (bytes.size() < 4) return false;
    const auto* head = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::uint32_t announced = tzo_wire::LoadU32(head);
    if (announced > kWireMaxFrameLength || bytes.size() - 4 < announced) return false;
    return DecodeWireMessage(WireService::Trade, head + 4, announced).hasHead;
}

}  // namespace

WireDumpResult RunWireDump(const std::string& bytes, const WireDumpOptions& options, std::ostream& out,
                           std::ostream& err) {
    WireDumpResult result;
    Dumper dumper(options, out);
    const auto* head = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const bool capture =
        options.input == WireDumpOptions::Input::Capture ||
        (options.input == WireDumpOptions::Input::Auto && WireCaptureReader::LooksLikeCapture(head, bytes.size()));
    if (capture) {
        std::istringstream in(bytes);
        WireCaptureReader reader(in);
        if (!reader.Open()) {
            err << "narv_wiredump: " << reader.Error() << "\n";
            result.exitStatus = kWireDumpUnreadable;
            return result;
        }
        CaptureDump dump(dumper, options);
        WirePacket packet;
        WireTcpSegment segment;
        while (reader.Next(packet))
            if (WireParseTcpSegment(packet, segment)) dump.OnSegment(segment, packet.timeNs);
        dump.Finish();
        if (!reader.Error().empty()) dumper.Problem("capture: " + reader.Error());
    } else {
        if (options.input == WireDumpOptions::Input::Auto && !LooksLikeRawFrames(bytes)) {
            err << "narv_wiredump: not a capture: neither pcap, pcapng nor raw frames (first bytes "
                << WireHex(head, static_cast<std::uint32_t>(bytes.size()), 8) << "); --raw reads it as frames\n";
            result.exitStatus = kWireDumpUnreadable;
            return result;
        }
        Connection connection;
        WireFrameSplitter splitter([&](const WireFrameEvent& event) { dumper.OnFrame(connection, "", "", "", event); });
        splitter.Feed(head, bytes.size());
        splitter.Finish();
    }
    result.messages = dumper.Messages();
    result.problems = dumper.Problems();
    result.exitStatus = result.problems ? kWireDumpProblems : kWireDumpClean;
    return result;
}
