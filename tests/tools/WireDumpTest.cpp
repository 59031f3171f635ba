// The wire dump's pieces: framing of a byte stream, naming and reading of fields by the message that
// carries them, capture files in and out, and the exit statuses scripts rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "APIPackage.h"
#include "NELOOrderRecords.h"
#include "NELOQuotRecords.h"
#include "NELOSessionRecords.h"
#include "TZOByteOrder.h"
#include "WireCapture.h"
#include "WireDecoder.h"
#include "WireDump.h"
#include "WireStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// One message as a sender writes it: envelope, then the body the callback adds.
template <class Body>
Bytes Message(std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag, Body addBody) {
    std::uint8_t buffer[kAPIMessageMaxSize];
    CAPIPackage package;
    package.Begin(serviceNo, requestId, buffer);
    package.SetEndFlag(endFlag);
    addBody(package);
    return Bytes(package.Data(), package.Data() + package.Length());
}

Bytes Frame(const Bytes& payload) {
    Bytes frame(4);
    tzo_wire::StoreU32(frame.data(), static_cast<std::uint32_t>(payload.size()));
    frame.insert(frame.end(), payload.begin(), payload.end());
    return frame;
}

std::string Dump(const WireDecodedMessage& message) {
    std::string text = message.summary + "\n";
    std::function<void(const std::vector<WireNode>&, int)> add = [&](const std::vector<WireNode>& nodes, int depth) {
        for (const WireNode& node : nodes) {
            text += std::string(static_cast<std::size_t>(depth) * 2, ' ') + node.text + "\n";
            add(node.children, depth + 1);
        }
    };
    add(message.body, 1);
    return text;
}

// "成功" as the back end sends it (iconv -f UTF-8 -t GBK).
const char kSucceededGbk[] = "\xb3\xc9\xb9\xa6";

// --- framing ---------------------------------------------------------------------------------------------

struct SplitCase {
    const char* name;
    std::vector<Bytes> reads;  // the stream as it arrives
    bool finish;
    std::vector<WireFrameEvent::Kind> events;
    std::vector<std::size_t> payloadSizes;  // of the Frame events
};

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Header(std::uint32_t length) {
    Bytes header(4);
    tzo_wire::StoreU32(header.data(), length);
    return header;
}

std::vector<Bytes> OneBytePerRead(const Bytes& bytes) {
    std::vector<Bytes> reads;
    for (std::uint8_t b : bytes) reads.push_back({b});
    return reads;
}

TEST(WireFrameSplitterTest, FramesAsTheLibrariesSeeThem) {
    using K = WireFrameEvent::Kind;
    const Bytes small = Frame(Bytes(10, 0xab));
    const Bytes largest = Frame(Bytes(kWireMaxFrameLength, 1));
    const std::vector<SplitCase> cases = {
        {"three frames and part of a fourth in one read, then the rest",
         {Concat({small, small, small, Bytes(small.begin(), small.begin() + 2)}),
          Bytes(small.begin() + 2, small.end())},
         true,
         {K::Frame, K::Frame, K::Frame, K::Frame},
         {10, 10, 10, 10}},
        {"one byte per read", OneBytePerRead(small), true, {K::Frame}, {10}},
        {"the largest frame is accepted", {largest}, true, {K::Frame}, {kWireMaxFrameLength}},
        {"an empty frame is a frame", {Header(0)}, true, {K::Frame}, {0}},
        {"an oversized length is reported before its payload, and nothing after it is framed",
         {Concat({small, Header(kWireMaxFrameLength + 1)}), small},
         true,
         {K::Frame, K::Oversized},
         {10}},
        {"a stream ending inside a frame",
         {Concat({small, Bytes(small.begin(), small.begin() + 7)})},
         true,
         {K::Frame, K::Truncated},
         {10}},
        {"a stream ending inside a length", {Concat({small, Bytes{0, 0}})}, true, {K::Frame, K::Truncated}, {10}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<WireFrameEvent> events;
        WireFrameSplitter splitter([&](const WireFrameEvent& e) { events.push_back(e); });
        for (const Bytes& read : c.reads) splitter.Feed(read.data(), read.size());
        if (c.finish) splitter.Finish();
        ASSERT_EQ(events.size(), c.events.size());
        std::size_t frame = 0;
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].kind, c.events[i]) << "event " << i;
            if (events[i].kind == K::Frame) {
                EXPECT_EQ(events[i].payload.size(), c.payloadSizes[frame++]);
            }
        }
    }
}

TEST(WireFrameSplitterTest, OffsetsPointAtEachLengthField) {
    const Bytes small = Frame(Bytes(10, 0));
    std::vector<std::uint64_t> offsets;
    WireFrameSplitter splitter([&](const WireFrameEvent& e) { offsets.push_back(e.offset); });
    const Bytes stream = Concat({small, small, Header(kWireMaxFrameLength + 5)});
    splitter.Feed(stream.data(), 5);
    splitter.Feed(stream.data() + 5, stream.size() - 5);
    EXPECT_EQ(offsets, (std::vector<std::uint64_t>{0, 14, 28}));
}

// --- decoding --------------------------------------------------------------------------------------------

TEST(WireDecoderTest, NamesEveryFieldOfARequestByItsRecord) {
    NELOInputOrderRecord order{};
    std::strcpy(order.InvestorID, "demo");
    std::strcpy(order.InstrumentID, "cu2601");
    std::strcpy(order.ExchangeID, "SHFE");
    order.BSFlag = 'B';
    order.Price = 71230.5;
    order.Qty = 3;
    order.SessionID = (std::int64_t{5} << 32) | 7;
    const Bytes payload = Message(
        122, 9, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::InputOrder.id, kNELOInputOrderLayout, &order); });
    const WireDecodedMessage message = DecodeWireMessage(WireService::Trade, payload.data(), payload.size());
    const std::string text = Dump(message);
    EXPECT_TRUE(message.problems.empty()) << text;
    EXPECT_EQ(message.serviceNo, 122);
    EXPECT_EQ(message.requestId, 9);
    for (const char* line :
         {"ServiceNo 122 (order entry)  RequestID 9  EndFlag 0\n", "  InputOrder (1043) NELOInputOrderRecord\n",
          "    InvestorID (1034) = \"demo\"\n", "    InstrumentID (1046) = \"cu2601\"\n", "    BSFlag (1045) = 'B'\n",
          "    Price (1047) = 71230.5\n", "    Qty (1048) = 3\n", "    ExchangeID (1637) = \"SHFE\"\n",
          "    SessionID (1638) = 21474836487\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
}

TEST(WireDecoderTest, TwoRowsOfOneRecordSharingAnIdAreBothNamed) {
    quot::NELOQuotRecord quote{};
    std::strcpy(quote.InstrumentID, "cu2601");
    quote.AskQty5 = 7;
    std::strcpy(quote.ExchangeID, "SHFE");
    const Bytes payload =
        Message(125, 0, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::Quot.id, quot::kNELOQuotLayout, &quote); });
    const WireDecodedMessage message = DecodeWireMessage(WireService::Quote, payload.data(), payload.size());
    const std::string text = Dump(message);
    EXPECT_TRUE(message.problems.empty()) << text;
    EXPECT_NE(text.find("    AskQty5 (1637) = 7\n"), std::string::npos) << text;
    EXPECT_NE(text.find("    ExchangeID (1637) = \"SHFE\"\n"), std::string::npos) << text;
    EXPECT_LT(text.find("AskQty5"), text.find("ExchangeID")) << text;
}

TEST(WireDecoderTest, RepliesShowTheirCodeTextInUtf8AndEveryRowOfTheirList) {
    NELORspInfoRecord info{};
    std::strcpy(info.RspDesc, kSucceededGbk);
    NELOFlowSubscribeRecord rows[2] = {{1, 7}, {2, -1}};
    const Bytes payload = Message(4, 0, 0, [&](CAPIPackage& p) {
        TZOAddRecord(p, TZOField::RspInfo.id, kNELORspInfoLayout, &info);
        CTZORecordSet list;
        p.AddRecordSet(TZOField::FlowSubscribeRspList.id, &list);
        for (const auto& row : rows) TZOAddRecordToSet(list, kNELOFlowSubscribeLayout, &row);
    });
    const std::string text = Dump(DecodeWireMessage(WireService::Trade, payload.data(), payload.size()));
    for (const char* line :
         {"EndFlag 0 (last)", "    RspDesc (1027) = \"成功\"\n", "    row 1 (NELOFlowSubscribeRecord)\n",
          "      PkgNo (1005) = 7\n", "    row 2 (NELOFlowSubscribeRecord)\n", "      PkgNo (1005) = -1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "in\n" << text;
}

TEST(WireDecoderTest, FlowPushesShowKindAndSequence) {
    struct Case {
        std::uint16_t flow;
        std::int32_t kind;
        std::int32_t sequence;
        const char* expected;
    };
    for (const Case& c :
         {Case{1, 124, 7, "ServiceNo 1 (flow 1 push (account))  kind 124 (order return)  sequence 7"},
          Case{2, 129, -1, "ServiceNo 2 (flow 2 push (market))  kind 129 (market status)  sequence 4294967295"},
          Case{1, 999, 3, "kind 999 (unknown kind)  sequence 3"}}) {
        const Bytes payload = Message(c.flow, c.kind, c.sequence, [](CAPIPackage&) {});
        const WireDecodedMessage message = DecodeWireMessage(WireService::Trade, payload.data(), payload.size());
        EXPECT_NE(message.summary.find(c.expected), std::string::npos) << message.summary;
    }
}

TEST(WireDecoderTest, ReportsWhatDoesNotDecodeAndGoesOn) {
    NELOInvestorRecord investor{};
    std::strcpy(investor.InvestorID, "demo");
    const Bytes good = Message(
        118, 1, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::LogoutReq.id, kNELOInvestorLayout, &investor); });
    struct Case {
        const char* name;
        Bytes payload;
        WireService service;
        const char* problem;  // expected in one of the problems; nullptr: none expected
        const char* shown;    // expected in the dump
    };
    Bytes cutShort = good;
    cutShort.resize(good.size() - 2);  // the last value now runs past its package
    Bytes wrongSize = Message(118, 1, 0, [&](CAPIPackage& p) {
        // RspNo is 2 bytes wide; a 4-byte value is not what the type says.
        CTZOPackage group;
        p.OpenField(TZOField::LogoutReq.id, &group);
        std::uint8_t field[12] = {};
        tzo_wire::StoreU16(field, TZOField::InvestorID.id);
        tzo_wire::StoreU32(field + 4, 4);
        std::memcpy(field + 8, "demo", 4);
        group.AppendRaw(field, sizeof field);
        std::uint8_t alien[10] = {};
        tzo_wire::StoreU16(alien, 4242);
        tzo_wire::StoreU32(alien + 4, 2);
        group.AppendRaw(alien, sizeof alien);
    });
    const std::vector<Case> cases = {
        {"a clean message", good, WireService::Trade, nullptr, "InvestorID (1034) = \"demo\""},
        {"a value running past its package", cutShort, WireService::Trade, "runs past", "ServiceNo 118 (logout)"},
        {"a field the record does not have", wrongSize, WireService::Trade,
         "field id 4242 is not part of NELOInvestorRecord", "InvestorID (1034) = \"demo\""},
        {"an empty payload", {}, WireService::Trade, "no ApiHead", "ServiceNo 0 (heartbeat)"},
        {"a ServiceNo the service does not have", Message(125, 0, 0, [](CAPIPackage&) {}), WireService::Trade, nullptr,
         "ServiceNo 125 (unknown to the trade service)"},
        {"garbage", Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, WireService::Quote, "no ApiHead", "ServiceNo 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WireDecodedMessage message = DecodeWireMessage(c.service, c.payload.data(), c.payload.size());
        const std::string text = Dump(message);
        EXPECT_NE(text.find(c.shown), std::string::npos) << text;
        if (!c.problem) {
            EXPECT_TRUE(message.problems.empty()) << text;
            continue;
        }
        bool found = false;
        for (const std::string& problem : message.problems)
            found = found || problem.find(c.problem) != std::string::npos;
        EXPECT_TRUE(found) << text;
    }
}

TEST(WireDecoderTest, TextsThatAreNotGbkAreEscaped) {
    const std::uint8_t bytes[] = {'a', 0xb3, 0xc9, 0xff, '"', 0x01};
    EXPECT_EQ(WireTextForDisplay(bytes, sizeof bytes), "a成\\xff\\x22\\x01");
}

// Passwords are the investor's secrets: a dump is pasted into bug reports, so their values are masked in
// every service that carries one unless the reader asks for them.
TEST(WireDecoderTest, PasswordsAreMaskedUnlessAskedFor) {
    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, "demo");
    std::strcpy(login.InvestorPassword, "s3cret!");
    NELOChangePasswordRecord change{};
    std::strcpy(change.InvestorID, "demo");
    std::strcpy(change.InvestorOldPassword, "s3cret!");
    std::strcpy(change.InvestorNewPassword, "n3w-one");
    quot::NELOQuotLoginReqRecord quoteLogin{};
    std::strcpy(quoteLogin.InvestorID, "demo");
    std::strcpy(quoteLogin.InvestorPassword, "s3cret!");
    NELOLoginReqRecord noPassword{};
    std::strcpy(noPassword.InvestorID, "demo");
    struct Case {
        const char* name;
        WireService service;
        Bytes payload;
        std::vector<const char*> masked;  // field labels whose values are secret
        const char* emptyShown;           // a password left empty is shown as empty
    };
    const std::vector<Case> cases = {
        {"trade login",
         WireService::Trade,
         Message(116, 1, 0,
                 [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login); }),
         {"InvestorPassword (1035) = "},
         nullptr},
        {"password change",
         WireService::Trade,
         Message(120, 2, 0,
                 [&](CAPIPackage& p) {
                     TZOAddRecord(p, TZOField::ChangePasswordReq.id, kNELOChangePasswordLayout, &change);
                 }),
         {"InvestorOldPassword (1041) = ", "InvestorNewPassword (1042) = "},
         nullptr},
        {"quote login",
         WireService::Quote,
         Message(116, 1, 0,
                 [&](CAPIPackage& p) {
                     TZOAddRecord(p, TZOField::LoginReq.id, quot::kNELOQuotLoginReqLayout, &quoteLogin);
                 }),
         {"InvestorPassword (1035) = "},
         nullptr},
        {"login without a password",
         WireService::Trade,
         Message(116, 1, 0,
                 [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &noPassword); }),
         {},
         "InvestorPassword (1035) = \"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string hidden = Dump(DecodeWireMessage(c.service, c.payload.data(), c.payload.size()));
        const std::string shown = Dump(DecodeWireMessage(c.service, c.payload.data(), c.payload.size(), true));
        EXPECT_EQ(hidden.find("s3cret!"), std::string::npos) << hidden;
        EXPECT_EQ(hidden.find("n3w-one"), std::string::npos) << hidden;
        EXPECT_NE(hidden.find("InvestorID (1034) = \"demo\""), std::string::npos) << hidden;
        for (const char* label : c.masked) {
            EXPECT_NE(hidden.find(std::string(label) + "******** (hidden"), std::string::npos) << label << hidden;
            EXPECT_NE(shown.find(std::string(label) + "\""), std::string::npos) << label << shown;
        }
        if (c.emptyShown) {
            EXPECT_NE(hidden.find(c.emptyShown), std::string::npos) << hidden;
        }
    }
}

// The hex view of a frame would give the password away byte by byte.
TEST(WireDumpTest, HexViewHidesMaskedBytes) {
    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, "demo");
    std::strcpy(login.InvestorPassword, "ABC");  // 41 42 43
    const Bytes frame = Frame(Message(
        116, 1, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login); }));
    for (const bool show : {false, true}) {
        WireDumpOptions options;
        options.input = WireDumpOptions::Input::Raw;
        options.hexPayload = true;
        options.showPasswords = show;
        std::ostringstream out, err;
        EXPECT_EQ(RunWireDump(std::string(frame.begin(), frame.end()), options, out, err).exitStatus, kWireDumpClean);
        const std::string text = out.str();
        EXPECT_EQ(text.find("41 42 43") != std::string::npos, show) << text;
        EXPECT_EQ(text.find("** ** **") != std::string::npos, !show) << text;
        EXPECT_NE(text.find("64 65 6d 6f"), std::string::npos) << text;  // "demo" stays readable
    }
}

// --- capture files and the whole dump --------------------------------------------------------------------

// A capture of one conversation: login request, its reply split over two segments, then a push.
std::string RecordedConversation() {
    NELOLoginReqRecord login{};
    std::strcpy(login.InvestorID, "demo");
    const Bytes request = Frame(Message(
        116, 1, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::LoginReq.id, kNELOLoginReqLayout, &login); }));
    NELORspInfoRecord info{};
    const Bytes reply = Frame(
        Message(117, 1, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::RspInfo.id, kNELORspInfoLayout, &info); }));
    const Bytes flow = Frame(Message(3, 0, 0, [](CAPIPackage&) {}));
    std::ostringstream file;
    WirePcapWriter writer(file);
    WirePcapWriter::Conversation c;
    c.clientPort = 40000;
    c.serverPort = 7001;
    writer.Open(c, 1000000000);
    writer.Data(c, true, request.data(), request.size(), 1000000000);
    writer.Data(c, false, reply.data(), 7, 1001000000);
    writer.Data(c, false, reply.data() + 7, reply.size() - 7, 1002000000);
    writer.Data(c, true, flow.data(), flow.size(), 1003000000);
    writer.Close(c, true, 1004000000);
    writer.Close(c, false, 1004000000);
    return file.str();
}

TEST(WireCaptureTest, WrittenConversationsReadBackSegmentBySegment) {
    const std::string file = RecordedConversation();
    std::istringstream in(file);
    WireCaptureReader reader(in);
    ASSERT_TRUE(reader.Open()) << reader.Error();
    WirePacket packet;
    WireTcpSegment segment;
    std::vector<std::string> seen;
    while (reader.Next(packet)) {
        ASSERT_TRUE(WireParseTcpSegment(packet, segment));
        seen.push_back(segment.source + ">" + segment.destination + (segment.syn ? " S" : "") +
                       (segment.fin ? " F" : "") + " " + std::to_string(segment.payloadLength));
    }
    EXPECT_TRUE(reader.Error().empty()) << reader.Error();
    ASSERT_EQ(seen.size(), 9u);
    EXPECT_EQ(seen[0], "127.0.0.1:40000>127.0.0.1:7001 S 0");
    EXPECT_EQ(seen[4], "127.0.0.1:7001>127.0.0.1:40000 7");
}

TEST(WireDumpTest, DumpsACaptureWithDirectionsAndReassembledFrames) {
    std::ostringstream out, err;
    const WireDumpResult result = RunWireDump(RecordedConversation(), WireDumpOptions{}, out, err);
    const std::string text = out.str();
    EXPECT_EQ(result.exitStatus, kWireDumpClean) << text << err.str();
    EXPECT_EQ(result.messages, 3u);
    EXPECT_NE(text.find("127.0.0.1:40000 -> 127.0.0.1:7001 C->S trade?"), std::string::npos) << text;
    EXPECT_NE(text.find("127.0.0.1:7001 -> 127.0.0.1:40000 S->C trade?"), std::string::npos) << text;
    EXPECT_NE(text.find("ServiceNo 117 (login reply)  RequestID 1  EndFlag 0 (last)"), std::string::npos) << text;
    EXPECT_NE(text.find("C->S trade  frame 50 bytes"), std::string::npos) << text;
}

// A capture that starts inside a connection has no handshake to tell the client: the first message with a
// direction of its own tells it, and --server-port tells it from the start.
TEST(WireDumpTest, ClientSideWithoutTheHandshake) {
    const Bytes heartbeat = Frame(Message(0, 0, 0, [](CAPIPackage&) {}));
    NELORspInfoRecord info{};
    const Bytes reply = Frame(
        Message(117, 1, 0, [&](CAPIPackage& p) { TZOAddRecord(p, TZOField::RspInfo.id, kNELORspInfoLayout, &info); }));
    std::ostringstream file;
    WirePcapWriter writer(file);
    WirePcapWriter::Conversation c;
    c.clientPort = 40000;
    c.serverPort = 7001;
    writer.Data(c, false, heartbeat.data(), heartbeat.size(), 1000000000);
    writer.Data(c, false, reply.data(), reply.size(), 1000000000);
    writer.Data(c, false, heartbeat.data(), heartbeat.size(), 1000000000);

    struct Case {
        std::vector<std::uint16_t> serverPorts;
        const char* firstHeartbeat;
        const char* lastHeartbeat;
    };
    for (const Case& test : {Case{{},
                                  "#1 0.000000 127.0.0.1:7001 -> 127.0.0.1:40000 ? ",
                                  "#3 0.000000 127.0.0.1:7001 -> 127.0.0.1:40000 S->C "},
                             Case{{7001},
                                  "#1 0.000000 127.0.0.1:7001 -> 127.0.0.1:40000 S->C ",
                                  "#3 0.000000 127.0.0.1:7001 -> 127.0.0.1:40000 S->C "}}) {
        WireDumpOptions options;
        options.serverPorts = test.serverPorts;
        std::ostringstream out, err;
        EXPECT_EQ(RunWireDump(file.str(), options, out, err).exitStatus, kWireDumpClean) << out.str();
        EXPECT_NE(out.str().find(test.firstHeartbeat), std::string::npos) << out.str();
        EXPECT_NE(out.str().find(test.lastHeartbeat), std::string::npos) << out.str();
    }
}

TEST(WireDumpTest, ExitStatusesTellScriptsWhatHappened) {
    const Bytes good = Frame(Message(0, 0, 0, [](CAPIPackage&) {}));
    const Bytes oversized = Concat({good, Header(kWireMaxFrameLength + 1)});
    const Bytes noEnvelope = Concat({Header(2), Bytes{'x', 'y'}});
    std::string capture = RecordedConversation();
    std::string cutCapture = capture.substr(0, capture.size() - 10);
    WireDumpOptions raw;
    raw.input = WireDumpOptions::Input::Raw;
    WireDumpOptions forcedCapture;
    forcedCapture.input = WireDumpOptions::Input::Capture;
    struct Case {
        const char* name;
        std::string input;
        WireDumpOptions options;
        int status;
        std::uint64_t messages;
    };
    const std::vector<Case> cases = {
        {"raw frames, all good", std::string(good.begin(), good.end()), raw, kWireDumpClean, 1},
        {"raw frames told from their first bytes", std::string(good.begin(), good.end()), WireDumpOptions{},
         kWireDumpClean, 1},
        {"an oversized frame after a good one", std::string(oversized.begin(), oversized.end()), raw, kWireDumpProblems,
         1},
        {"a capture whose last packet is cut", cutCapture, WireDumpOptions{}, kWireDumpProblems, 3},
        {"not a capture although one was promised", std::string(good.begin(), good.end()), forcedCapture,
         kWireDumpUnreadable, 0},
        {"empty input", "", WireDumpOptions{}, kWireDumpClean, 0},
        {"a text file", "hello, this is not a capture\n", WireDumpOptions{}, kWireDumpUnreadable, 0},
        {"shorter than a frame header", "ab", WireDumpOptions{}, kWireDumpUnreadable, 0},
        {"a first frame cut short, told from its first bytes", std::string(good.begin(), good.end() - 1),
         WireDumpOptions{}, kWireDumpUnreadable, 0},
        {"a first frame cut short, read as raw frames", std::string(good.begin(), good.end() - 1), raw,
         kWireDumpProblems, 0},
        {"a first frame without an envelope", std::string(noEnvelope.begin(), noEnvelope.end()), WireDumpOptions{},
         kWireDumpUnreadable, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ostringstream out, err;
        const WireDumpResult result = RunWireDump(c.input, c.options, out, err);
        EXPECT_EQ(result.exitStatus, c.status) << out.str() << err.str();
        EXPECT_EQ(result.messages, c.messages) << out.str();
    }
}

}  // namespace
