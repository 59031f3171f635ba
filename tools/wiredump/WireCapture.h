// Capture files: reading pcap and pcapng (as written by tcpdump, dumpcap and tshark) down to TCP
// segments, and writing pcap files of a relayed TCP conversation.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

struct WirePacket {
    std::uint64_t timeNs = 0;  // since the epoch
    std::uint32_t linkType = 0;
    std::vector<std::uint8_t> data;
};

class WireCaptureReader {
public:
    explicit WireCaptureReader(std::istream& in) : in_(in) {}

    // Reads the file header; false when the input is not a capture this reader knows (Error() says why).
    bool Open();
    // The next packet; false at the end of the capture, or on a damaged record (Error() is then set).
    bool Next(WirePacket& packet);
    const std::string& Error() const { return error_; }

    // True when `head` (at least 4 bytes) starts a pcap or pcapng file.
    static bool LooksLikeCapture(const std::uint8_t* head, std::size_t length);

private:
    bool NextPcap(WirePacket& packet);
    bool NextPcapng(WirePacket& packet);
    bool Fail(const std::string& what);

    std::istream& in_;
    std::string error_;
    bool pcapng_ = false;
    bool swapped_ = false;
    bool nanoseconds_ = false;
    std::uint32_t linkType_ = 0;
    // pcapng: link type and time resolution (units per second) of each interface.
    std::vector<std::uint32_t> interfaceLinkTypes_;
    std::vector<std::uint64_t> interfaceUnits_;
};

struct WireTcpSegment {
    std::string source;       // "address:port"
    std::string destination;  // "address:port"
    std::uint16_t sourcePort = 0;
    std::uint16_t destinationPort = 0;
    std::uint32_t sequence = 0;
    bool syn = false;
    bool ack = false;
    bool fin = false;
    bool rst = false;
    const std::uint8_t* payload = nullptr;
    std::uint32_t payloadLength = 0;
};

// False for anything that is not a TCP segment over IPv4 or IPv6 on a link type this reader knows.
bool WireParseTcpSegment(const WirePacket& packet, WireTcpSegment& segment);

// Writes one TCP conversation between two IPv4 endpoints as Ethernet frames into a pcap file, with the
// handshake, sequence and acknowledgement numbers a dissector expects. Not thread-safe: one writer per
// file, called from one thread.
class WirePcapWriter {
public:
    explicit WirePcapWriter(std::ostream& out);
    // A conversation's identity; the numbers are the endpoints' own.
    struct Conversation {
        std::uint32_t clientAddress = 0x7f000001;  // host order
        std::uint16_t clientPort = 0;
        std::uint32_t serverAddress = 0x7f000001;
        std::uint16_t serverPort = 0;
        std::uint32_t clientSequence = 1000;  // next sequence number of each side
        std::uint32_t serverSequence = 5000;
    };
    void Open(Conversation& conversation, std::uint64_t timeNs);
    void Data(Conversation& conversation, bool fromClient, const std::uint8_t* bytes, std::size_t length,
              std::uint64_t timeNs);
    void Close(Conversation& conversation, bool fromClient, std::uint64_t timeNs);
    bool Good() const;

private:
    void Segment(const Conversation& c, bool fromClient, std::uint8_t flags, const std::uint8_t* bytes,
                 std::size_t length, std::uint64_t timeNs);
    std::ostream& out_;
};
