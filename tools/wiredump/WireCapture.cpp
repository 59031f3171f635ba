#include "WireCapture.h"

#include <arpa/inet.h>

#include <cstring>
#include <istream>
#include <ostream>

#include "TZOByteOrder.h"

namespace {

constexpr std::uint32_t kPcapMagicMicro = 0xa1b2c3d4;
constexpr std::uint32_t kPcapMagicNano = 0xa1b23c4d;
constexpr std::uint32_t kPcapngSectionHeader = 0x0a0d0d0a;
constexpr std::uint32_t kPcapngByteOrderMagic = 0x1a2b3c4d;
// Packets are never this large on the links we read; a larger record means a damaged file.
constexpr std::uint32_t kMaxRecord = 1u << 24;

// Link types (the registry's numbers).
constexpr std::uint32_t kLinkNull = 0;
constexpr std::uint32_t kLinkEthernet = 1;
constexpr std::uint32_t kLinkRaw = 101;
constexpr std::uint32_t kLinkLinuxSll = 113;
constexpr std::uint32_t kLinkIpv4 = 228;
constexpr std::uint32_t kLinkIpv6 = 229;
constexpr std::uint32_t kLinkLinuxSll2 = 276;

std::uint32_t Swap32(std::uint32_t v) { return __builtin_bswap32(v); }
std::uint16_t Swap16(std::uint16_t v) { return __builtin_bswap16(v); }

std::uint32_t LoadLe32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

bool ReadExactly(std::istream& in, void* into, std::size_t n) {
    in.read(static_cast<char*>(into), static_cast<std::streamsize>(n));
    return static_cast<std::size_t>(in.gcount()) == n;
}

}  // namespace

bool WireCaptureReader::LooksLikeCapture(const std::uint8_t* head, std::size_t length) {
    if (length < 4) return false;
    const std::uint32_t le = LoadLe32(head);
    return le == kPcapMagicMicro || le == kPcapMagicNano || Swap32(le) == kPcapMagicMicro ||
           Swap32(le) == kPcapMagicNano || le == kPcapngSectionHeader;
}

bool WireCaptureReader::Fail(const std::string& what) {
    error_ = what;
    return false;
}

bool WireCaptureReader::Open() {
    std::uint8_t head[24];
    if (!ReadExactly(in_, head, 4)) return Fail("shorter than a capture file header");
    const std::uint32_t magic = LoadLe32(head);
    if (magic == kPcapngSectionHeader) {
        pcapng_ = true;
        // The section header is read like any block: rewind the 4 bytes by handing them over.
        in_.seekg(-4, std::ios::cur);
        if (!in_) return Fail("cannot re-read the pcapng section header (is the input seekable?)");
        return true;
    }
    if (!ReadExactly(in_, head + 4, 20)) return Fail("shorter than a pcap file header");
    if (magic == kPcapMagicMicro || magic == kPcapMagicNano) {
        swapped_ = false;
    } else if (Swap32(magic) == kPcapMagicMicro || Swap32(magic) == kPcapMagicNano) {
        swapped_ = true;
    } else {
        return Fail("not a pcap or pcapng file");
    }
    nanoseconds_ = magic == kPcapMagicNano || Swap32(magic) == kPcapMagicNano;
    std::uint32_t link = LoadLe32(head + 20);
    linkType_ = (swapped_ ? Swap32(link) : link) & 0x0fffffff;
    return true;
}

bool WireCaptureReader::Next(WirePacket& packet) { return pcapng_ ? NextPcapng(packet) : NextPcap(packet); }

bool WireCaptureReader::NextPcap(WirePacket& packet) {
    std::uint8_t record[16];
    in_.read(reinterpret_cast<char*>(record), sizeof record);
    if (in_.gcount() == 0) return false;
    if (in_.gcount() != sizeof record) return Fail("the last packet record is cut short");
    auto field = [&](int i) {
        const std::uint32_t v = LoadLe32(record + 4 * i);
        return swapped_ ? Swap32(v) : v;
    };
    const std::uint32_t captured = field(2);
    if (captured > kMaxRecord) return Fail("a packet record claims " + std::to_string(captured) + " bytes");
    packet.timeNs = std::uint64_t(field(0)) * 1000000000u + std::uint64_t(field(1)) * (nanoseconds_ ? 1u : 1000u);
    packet.linkType = linkType_;
    packet.data.resize(captured);
    if (!ReadExactly(in_, packet.data.data(), captured)) return Fail("the last packet is cut short");
    return true;
}

bool WireCaptureReader::NextPcapng(WirePacket& packet) {
    for (;;) {
        std::uint8_t head[8];
        in_.read(reinterpret_cast<char*>(head), sizeof head);
        if (in_.gcount() == 0) return false;
        if (in_.gcount() != sizeof head) return Fail("the last block is cut short");
        std::uint32_t type = LoadLe32(head);
        std::uint32_t length = LoadLe32(head + 4);
        if (type == kPcapngSectionHeader) {
            // The byte order of the whole section follows from its byte-order magic.
            std::uint8_t order[4];
            if (!ReadExactly(in_, order, 4)) return Fail("a section header is cut short");
            const std::uint32_t magic = LoadLe32(order);
            if (magic == kPcapngByteOrderMagic)
                swapped_ = false;
            else if (Swap32(magic) == kPcapngByteOrderMagic)
                swapped_ = true;
            else
                return Fail("a pcapng section with an unknown byte order");
            length = swapped_ ? Swap32(length) : length;
            if (length < 28 || length > kMaxRecord || length % 4) return Fail("a damaged pcapng section header");
            in_.ignore(length - 12);
            interfaceLinkTypes_.clear();
            interfaceUnits_.clear();
            continue;
        }
        if (swapped_) type = Swap32(type), length = Swap32(length);
        if (length < 12 || length > kMaxRecord || length % 4) return Fail("a damaged pcapng block");
        std::vector<std::uint8_t> body(length - 8);
        if (!ReadExactly(in_, body.data(), body.size())) return Fail("the last block is cut short");
        auto u32 = [&](std::size_t at) {
            const std::uint32_t v = LoadLe32(body.data() + at);
            return swapped_ ? Swap32(v) : v;
        };
        auto u16 = [&](std::size_t at) {
            std::uint16_t v = static_cast<std::uint16_t>(body[at] | body[at + 1] << 8);
            return swapped_ ? Swap16(v) : v;
        };
        const std::size_t content = body.size() - 4;  // the trailing copy of the length
        if (type == 1) {                              // interface description
            if (content < 8) return Fail("a damaged interface description");
            std::uint64_t units = 1000000;
            for (std::size_t at = 8; at + 4 <= content;) {
                const std::uint16_t code = u16(at), size = u16(at + 2);
                if (code == 0) break;
                if (code == 9 && size >= 1 && at + 4 < content) {  // if_tsresol
                    const std::uint8_t r = body[at + 4];
                    units = 1;
                    for (int i = 0; i < (r & 0x7f) && i < 18; ++i) units *= (r & 0x80) ? 2 : 10;
                }
                at += 4 + ((size + 3u) & ~3u);
            }
            interfaceLinkTypes_.push_back(u16(0));
            interfaceUnits_.push_back(units);
            continue;
        }
        if (type == 6) {  // enhanced packet
            if (content < 20) return Fail("a damaged packet block");
            const std::uint32_t interface = u32(0);
            if (interface >= interfaceLinkTypes_.size()) return Fail("a packet of an undescribed interface");
            const std::uint64_t stamp = (std::uint64_t(u32(4)) << 32) | u32(8);
            const std::uint32_t captured = u32(12);
            if (captured > content - 20) return Fail("a packet block shorter than its packet");
            const std::uint64_t units = interfaceUnits_[interface];
            packet.timeNs = stamp / units * 1000000000u + stamp % units * 1000000000u / units;
            packet.linkType = interfaceLinkTypes_[interface];
            packet.data.assign(body.begin() + 20, body.begin() + 20 + captured);
            return true;
        }
        if (type == 3) {  // simple packet
            if (content < 4 || interfaceLinkTypes_.empty()) return Fail("a damaged simple packet block");
            const std::uint32_t original = u32(0);
            const std::size_t captured = std::min<std::size_t>(original, content - 4);
            packet.timeNs = 0;
            packet.linkType = interfaceLinkTypes_[0];
            packet.data.assign(body.begin() + 4, body.begin() + 4 + static_cast<std::ptrdiff_t>(captured));
            return true;
        }
        // Statistics, name resolution and the rest say nothing about our traffic.
    }
}

namespace {

std::string Ipv4Text(const std::uint8_t* p) {
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, p, text, sizeof text);
    return text;
}

std::string Ipv6Text(const std::uint8_t* p) {
    char text[INET6_ADDRSTRLEN];
    inet_ntop(AF_INET6, p, text, sizeof text);
    return std::string("[") + text + "]";
}

bool ParseTcp(const std::uint8_t* p, std::size_t length, const std::string& source, const std::string& destination,
              WireTcpSegment& segment) {
    if (length < 20) return false;
    const std::size_t headerLength = (p[12] >> 4) * 4u;
    if (headerLength < 20 || headerLength > length) return false;
    segment.sourcePort = tzo_wire::LoadU16(p);
    segment.destinationPort = tzo_wire::LoadU16(p + 2);
    segment.sequence = tzo_wire::LoadU32(p + 4);
    const std::uint8_t flags = p[13];
    segment.fin = flags & 0x01;
    segment.syn = flags & 0x02;
    segment.rst = flags & 0x04;
    segment.ack = flags & 0x10;
    segment.source = source + ":" + std::to_string(segment.sourcePort);
    segment.destination = destination + ":" + std::to_string(segment.destinationPort);
    segment.payload = p + headerLength;
    segment.payloadLength = static_cast<std::uint32_t>(length - headerLength);
    return true;
}

bool ParseIp(const std::uint8_t* p, std::size_t length, WireTcpSegment& segment) {
    if (length < 1) return false;
    const int version = p[0] >> 4;
    if (version == 4) {
        if (length < 20) return false;
        const std::size_t headerLength = (p[0] & 15) * 4u;
        const std::size_t total = tzo_wire::LoadU16(p + 2);
        if (headerLength < 20 || total < headerLength || total > length) return false;
        if (p[9] != 6) return false;                                 // not TCP
        if ((tzo_wire::LoadU16(p + 6) & 0x3fff) != 0) return false;  // fragments are not reassembled
        return ParseTcp(p + headerLength, total - headerLength, Ipv4Text(p + 12), Ipv4Text(p + 16), segment);
    }
    if (version == 6) {
        if (length < 40) return false;
        const std::size_t payloadLength = tzo_wire::LoadU16(p + 4);
        if (p[6] != 6 || 40 + payloadLength > length) return false;  // extension headers are not followed
        return ParseTcp(p + 40, payloadLength, Ipv6Text(p + 8), Ipv6Text(p + 24), segment);
    }
    return false;
}

}  // namespace

bool WireParseTcpSegment(const WirePacket& packet, WireTcpSegment& segment) {
    const std::uint8_t* p = packet.data.data();
    std::size_t length = packet.data.size();
    switch (packet.linkType) {
        case kLinkEthernet: {
            if (length < 14) return false;
            std::size_t at = 12;
            std::uint16_t etherType = tzo_wire::LoadU16(p + at);
            while ((etherType == 0x8100 || etherType == 0x88a8) && length >= at + 6) {  // VLAN tags
                at += 4;
                etherType = tzo_wire::LoadU16(p + at);
            }
            if (etherType != 0x0800 && etherType != 0x86dd) return false;
            return ParseIp(p + at + 2, length - at - 2, segment);
        }
        case kLinkNull:
            return length >= 4 && ParseIp(p + 4, length - 4, segment);
        case kLinkRaw:
        case kLinkIpv4:
        case kLinkIpv6:
            return ParseIp(p, length, segment);
        case kLinkLinuxSll:
            return length >= 16 && ParseIp(p + 16, length - 16, segment);
        case kLinkLinuxSll2:
            return length >= 20 && ParseIp(p + 20, length - 20, segment);
        default:
            return false;
    }
}

namespace {

void PutLe32(std::ostream& out, std::uint32_t v) {
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.write(bytes, 4);
}
void PutLe16(std::ostream& out, std::uint16_t v) {
    const char bytes[2] = {char(v), char(v >> 8)};
    out.write(bytes, 2);
}

std::uint16_t Checksum(const std::uint8_t* p, std::size_t length, std::uint32_t sum = 0) {
    for (std::size_t i = 0; i + 1 < length; i += 2) sum += std::uint32_t(p[i]) << 8 | p[i + 1];
    if (length & 1) sum += std::uint32_t(p[length - 1]) << 8;
    while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
    return static_cast<std::uint16_t>(~sum);
}

constexpr std::uint8_t kFin = 0x01, kSyn = 0x02, kPsh = 0x08, kAck = 0x10;
// One segment carries at most this much, like a loopback interface's MTU allows.
constexpr std::size_t kMaxSegment = 16384;

}  // namespace

WirePcapWriter::WirePcapWriter(std::ostream& out) : out_(out) {
    PutLe32(out_, kPcapMagicMicro);
    PutLe16(out_, 2);
    PutLe16(out_, 4);
    PutLe32(out_, 0);  // time zone
    PutLe32(out_, 0);  // accuracy
    PutLe32(out_, 65535);
    PutLe32(out_, kLinkEthernet);
}

bool WirePcapWriter::Good() const { return static_cast<bool>(out_); }

void WirePcapWriter::Open(Conversation& c, std::uint64_t timeNs) {
    Segment(c, true, kSyn, nullptr, 0, timeNs);
    ++c.clientSequence;
    Segment(c, false, kSyn | kAck, nullptr, 0, timeNs);
    ++c.serverSequence;
    Segment(c, true, kAck, nullptr, 0, timeNs);
}

void WirePcapWriter::Data(Conversation& c, bool fromClient, const std::uint8_t* bytes, std::size_t length,
                          std::uint64_t timeNs) {
    while (length > 0) {
        const std::size_t n = length < kMaxSegment ? length : kMaxSegment;
        Segment(c, fromClient, kPsh | kAck, bytes, n, timeNs);
        (fromClient ? c.clientSequence : c.serverSequence) += static_cast<std::uint32_t>(n);
        bytes += n;
        length -= n;
    }
}

void WirePcapWriter::Close(Conversation& c, bool fromClient, std::uint64_t timeNs) {
    Segment(c, fromClient, kFin | kAck, nullptr, 0, timeNs);
    ++(fromClient ? c.clientSequence : c.serverSequence);
}

void WirePcapWriter::Segment(const Conversation& c, bool fromClient, std::uint8_t flags, const std::uint8_t* bytes,
                             std::size_t length, std::uint64_t timeNs) {
    std::vector<std::uint8_t> frame(14 + 20 + 20 + length);
    std::uint8_t* eth = frame.data();
    // Made-up addresses of two adjacent interfaces; only the IP layer matters to a dissector.
    const std::uint8_t clientMac[6] = {0x02, 0, 0, 0, 0, 1}, serverMac[6] = {0x02, 0, 0, 0, 0, 2};
    std::memcpy(eth, fromClient ? serverMac : clientMac, 6);
    std::memcpy(eth + 6, fromClient ? clientMac : serverMac, 6);
    tzo_wire::StoreU16(eth + 12, 0x0800);
    std::uint8_t* ip = eth + 14;
    ip[0] = 0x45;
    tzo_wire::StoreU16(ip + 2, static_cast<std::uint16_t>(40 + length));
    tzo_wire::StoreU16(ip + 6, 0x4000);  // don't fragment
    ip[8] = 64;
    ip[9] = 6;
    const std::uint32_t source = fromClient ? c.clientAddress : c.serverAddress;
    const std::uint32_t destination = fromClient ? c.serverAddress : c.clientAddress;
    tzo_wire::StoreU32(ip + 12, source);
    tzo_wire::StoreU32(ip + 16, destination);
    tzo_wire::StoreU16(ip + 10, Checksum(ip, 20));
    std::uint8_t* tcp = ip + 20;
    tzo_wire::StoreU16(tcp, fromClient ? c.clientPort : c.serverPort);
    tzo_wire::StoreU16(tcp + 2, fromClient ? c.serverPort : c.clientPort);
    tzo_wire::StoreU32(tcp + 4, fromClient ? c.clientSequence : c.serverSequence);
    tzo_wire::StoreU32(tcp + 8, (flags & kAck) ? (fromClient ? c.serverSequence : c.clientSequence) : 0);
    tcp[12] = 5 << 4;
    tcp[13] = flags;
    tzo_wire::StoreU16(tcp + 14, 65535);
    if (length) std::memcpy(tcp + 20, bytes, length);
    // The checksum over the pseudo header, so that no tool flags the segments as damaged.
    std::uint32_t pseudo = (source >> 16) + (source & 0xffff) + (destination >> 16) + (destination & 0xffff) + 6 +
                           static_cast<std::uint32_t>(20 + length);
    tzo_wire::StoreU16(tcp + 16, Checksum(tcp, 20 + length, pseudo));

    PutLe32(out_, static_cast<std::uint32_t>(timeNs / 1000000000u));
    PutLe32(out_, static_cast<std::uint32_t>(timeNs % 1000000000u / 1000u));
    PutLe32(out_, static_cast<std::uint32_t>(frame.size()));
    PutLe32(out_, static_cast<std::uint32_t>(frame.size()));
    out_.write(reinterpret_cast<const char*>(frame.data()), static_cast<std::streamsize>(frame.size()));
}
