// narv_make_bad_capture: writes a capture of one conversation whose front answers with damaged
// messages, to check that the dump tool and the dissector report each damage and carry on.
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <vector>

#include "APIPackage.h"
#include "NELOSessionRecords.h"
#include "TZOByteOrder.h"
#include "WireCapture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char kHelp[] =
    "usage: narv_make_bad_capture OUTPUT.pcap\n"
    "\n"
    "Writes a capture of one conversation: a login request, then replies with a value running past its\n"
    "group, a field its record does not have, a number of the wrong size, and an oversized frame.\n"
    "\n"
    "Exit status: 0 written; 1 the file cannot be written; 2 bad command line.\n";

Bytes Field(std::uint16_t id, const Bytes& value, std::uint32_t announced) {
    Bytes field(8);
    tzo_wire::StoreU16(field.data(), id);
    tzo_wire::StoreU32(field.data() + 4, announced);
    field.insert(field.end(), value.begin(), value.end());
    return field;
}

Bytes Field(std::uint16_t id, const Bytes& value) { return Field(id, value, static_cast<std::uint32_t>(value.size())); }

Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

// A message whose body is one group holding the given raw fields.
Bytes Message(std::uint16_t serviceNo, std::int32_t requestId, std::uint16_t groupId, const Bytes& groupContent) {
    std::uint8_t buffer[kAPIMessageMaxSize];
    CAPIPackage package;
    package.Begin(serviceNo, requestId, buffer);
    CTZOPackage group;
    package.OpenField(groupId, &group);
    group.AppendRaw(groupContent.data(), static_cast<std::uint32_t>(groupContent.size()));
    Bytes frame(4);
    tzo_wire::StoreU32(frame.data(), package.Length());
    frame.insert(frame.end(), package.Data(), package.Data() + package.Length());
    return frame;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))) {
        std::cout << kHelp;
        return 0;
    }
    if (argc != 2) {
        std::cerr << "narv_make_bad_capture: give the output file\n(--help tells more)\n";
        return 2;
    }
    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, "demo");
    std::uint8_t buffer[kAPIMessageMaxSize];
    CAPIPackage request;
    request.Begin(116, 1, buffer);
    TZOAddRecord(request, TZOField::LoginReq.id, kNELOLoginReqLayout, &login);
    Bytes loginFrame(4);
    tzo_wire::StoreU32(loginFrame.data(), request.Length());
    loginFrame.insert(loginFrame.end(), request.Data(), request.Data() + request.Length());

    // RspDesc announces 40 bytes and carries 2.
    const Bytes pastItsGroup = Message(117, 1, TZOField::RspInfo.id, Field(TZOField::RspDesc.id, Text("ok"), 40));
    // InputOrder with a field id no order member has, between two good ones.
    const Bytes alien = Message(123, 2, TZOField::InputOrder.id, [] {
        Bytes content = Field(TZOField::InstrumentID.id, Text("cu2601"));
        const Bytes stray = Field(4242, Bytes{1, 2});
        const Bytes qty = Field(TZOField::Qty.id, Bytes{0, 0, 0, 3});
        content.insert(content.end(), stray.begin(), stray.end());
        content.insert(content.end(), qty.begin(), qty.end());
        return content;
    }());
    // RspNo is a 16-bit number; this one has 4 bytes.
    const Bytes wrongSize = Message(119, 3, TZOField::RspInfo.id, Field(TZOField::RspNo.id, Bytes{0, 0, 0, 1}));
    Bytes oversized(4);
    tzo_wire::StoreU32(oversized.data(), 9000);
    oversized.resize(64, 0xee);

    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    WirePcapWriter writer(file);
    WirePcapWriter::Conversation c;
    c.clientPort = 40001;
    c.serverPort = 7101;
    std::uint64_t now = 1767600000ull * 1000000000ull;
    writer.Open(c, now);
    writer.Data(c, true, loginFrame.data(), loginFrame.size(), now += 1000000);
    for (const Bytes* reply : std::initializer_list<const Bytes*>{&pastItsGroup, &alien, &wrongSize, &oversized})
        writer.Data(c, false, reply->data(), reply->size(), now += 1000000);
    writer.Close(c, true, now += 1000000);
    writer.Close(c, false, now);
    file.close();
    if (!file) {
        std::cerr << "narv_make_bad_capture: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
