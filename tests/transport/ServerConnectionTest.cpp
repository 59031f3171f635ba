// The receive path of the framed connection, fed directly (no socket): reassembly across any split of
// the stream, the frame size limit and the close on a failed dispatch.
#include <gtest/gtest.h>

#include <boost/asio/io_context.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ConnectionOwner.h"
#include "FrontConnector.h"
#include "ManualTimerSource.h"
#include "MarkedFrames.h"
#include "ServerConnection.h"
#include "TZOByteOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Records what reaches the owner; all of it happens on the test thread here.
class CRecordingOwner final : public CConnectionOwner {
public:
    void OnFrontConnected() override { ++connected; }
    void OnFrontDisconnected() override { ++disconnected; }
    int DispatchPackage(CAPIPackage& package) override {
        requestIds.push_back(package.RequestID);
        serviceNos.push_back(package.ServiceNo);
        markers.push_back(ReadMarker(package));
        return package.RequestID == failOnRequestId ? -1 : 0;
    }

    int connected = 0;
    int disconnected = 0;
    std::int32_t failOnRequestId = -1;
    std::vector<std::int32_t> requestIds;
    std::vector<std::uint16_t> serviceNos;
    std::vector<std::string> markers;
};

class SocketlessConnection : public ::testing::Test {
protected:
    static TransportSettings Settings() {
        TransportSettings settings;
        settings.heartbeatTimeout = 1;
        settings.writeBlockSize = 65536;  // many connections are made here; the sizes play no part
        settings.readBufferSize = 65536;
        return settings;
    }

    std::int32_t Feed(const Bytes& bytes) {
        return connection->OnReceive(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }

    void ExpectDispatched(const std::vector<std::int32_t>& ids) {
        EXPECT_EQ(owner.requestIds, ids);
        ASSERT_EQ(owner.markers.size(), ids.size());
        for (std::size_t i = 0; i < ids.size(); ++i) {
            EXPECT_EQ(owner.markers[i], MarkerFor(ids[i])) << "body of message " << i;
        }
    }

    boost::asio::io_context io;  // never run unless a test needs its timers
    CRecordingOwner owner;
    CFrontConnector connector{io, owner, {}, Settings()};
    std::shared_ptr<CServerConnection> connection = std::make_shared<CServerConnection>(io, connector, owner);
};

Bytes LengthWord(std::uint32_t length) {
    Bytes word(4);
    tzo_wire::StoreU32(word.data(), length);
    return word;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t to) {
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

// A frame whose payload is exactly `payloadSize` bytes (at least an empty envelope plus a field header).
Bytes FrameWithPayloadSize(std::int32_t requestId, std::uint32_t payloadSize) {
    const std::string marker = MarkerFor(requestId);
    std::string padded = marker + std::string(payloadSize - kAPIEnvelopeSize - 8 - marker.size(), '.');
    Bytes frame = MarkedFrame(requestId, padded);
    EXPECT_EQ(frame.size(), kFrameLengthSize + payloadSize);
    return frame;
}

struct ReassemblyCase {
    const char* name;
    std::vector<Bytes> reads;
    std::vector<std::int32_t> dispatched;
    const char* closeReason;  // nullptr: still open
    std::int32_t failOnRequestId = -1;
};

std::vector<ReassemblyCase> ReassemblyCases() {
    const Bytes f1 = MarkedFrame(1), f2 = MarkedFrame(2), f3 = MarkedFrame(3), f4 = MarkedFrame(4);
    const Bytes three = Concat({f1, f2, f3});
    const Bytes largest = FrameWithPayloadSize(9, kAPIMessageMaxSize);
    return {
        {"one whole frame", {f1}, {1}, nullptr},
        {"three frames and two bytes of a fourth, then the rest",
         {Concat({three, Slice(f4, 0, 2)}), Slice(f4, 2, f4.size())},
         {1, 2, 3, 4},
         nullptr},
        {"a length word split 1 + 3, payload in a third read",
         {Slice(f1, 0, 1), Slice(f1, 1, 4), Slice(f1, 4, f1.size())},
         {1},
         nullptr},
        {"the tail of one frame together with the next two",
         {Slice(f1, 0, 10), Concat({Slice(f1, 10, f1.size()), f2, f3})},
         {1, 2, 3},
         nullptr},
        {"an empty read changes nothing", {Slice(f1, 0, 6), {}, Slice(f1, 6, f1.size())}, {1}, nullptr},
        {"a frame of 8188 bytes is accepted", {largest}, {9}, nullptr},
        {"a frame of 8188 bytes reassembled from halves",
         {Slice(largest, 0, 4000), Slice(largest, 4000, largest.size())},
         {9},
         nullptr},
        {"8189 closes as soon as the length word is in", {LengthWord(8189)}, {}, kCloseReasonPackageTooLarge},
        {"8189 after a good frame closes after dispatching it",
         {Concat({f1, LengthWord(8189)})},
         {1},
         kCloseReasonPackageTooLarge},
        {"8189 with its length word split over two reads",
         {Slice(LengthWord(8189), 0, 2), Slice(LengthWord(8189), 2, 4)},
         {},
         kCloseReasonPackageTooLarge},
        {"a huge length closes too", {LengthWord(0xFFFFFFFFu)}, {}, kCloseReasonPackageTooLarge},
        {"a failing dispatch stops the read: the third frame is never dispatched",
         {three},
         {1, 2},
         kCloseReasonBusinessError,
         2},
        {"a failing dispatch of a reassembled frame",
         {Slice(f1, 0, 5), Concat({Slice(f1, 5, f1.size()), f2})},
         {1},
         kCloseReasonBusinessError,
         1},
        {"input after a close is ignored", {Concat({f1, LengthWord(9000)}), f2}, {1}, kCloseReasonPackageTooLarge},
    };
}

TEST_F(SocketlessConnection, ReassemblesEveryListedSplit) {
    for (const ReassemblyCase& c : ReassemblyCases()) {
        SCOPED_TRACE(c.name);
        CRecordingOwner caseOwner;
        caseOwner.failOnRequestId = c.failOnRequestId;
        auto caseConnection = std::make_shared<CServerConnection>(io, connector, caseOwner);
        std::int32_t last = 0;
        for (const Bytes& read : c.reads) {
            last = caseConnection->OnReceive(read.data(), static_cast<std::uint32_t>(read.size()));
        }
        EXPECT_EQ(caseOwner.requestIds, c.dispatched);
        for (std::size_t i = 0; i < caseOwner.markers.size(); ++i) {
            EXPECT_EQ(caseOwner.markers[i].substr(0, MarkerFor(caseOwner.requestIds[i]).size()),
                      MarkerFor(caseOwner.requestIds[i]));
        }
        if (c.closeReason == nullptr) {
            EXPECT_EQ(last, 0);
            EXPECT_FALSE(caseConnection->IsClosed());
        } else {
            EXPECT_EQ(last, -1);
            ASSERT_TRUE(caseConnection->IsClosed());
            EXPECT_STREQ(caseConnection->CloseReason(), c.closeReason);
        }
        // Never reported up, so never reported down.
        EXPECT_EQ(caseOwner.disconnected, 0);
    }
}

TEST_F(SocketlessConnection, TwoFramesSplitAtEveryByteBoundary) {
    const Bytes stream = Concat({MarkedFrame(1), MarkedFrame(2)});
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        CRecordingOwner cutOwner;
        auto cutConnection = std::make_shared<CServerConnection>(io, connector, cutOwner);
        const Bytes head = Slice(stream, 0, cut), tail = Slice(stream, cut, stream.size());
        EXPECT_EQ(cutConnection->OnReceive(head.data(), static_cast<std::uint32_t>(head.size())), 0);
        EXPECT_EQ(cutConnection->OnReceive(tail.data(), static_cast<std::uint32_t>(tail.size())), 0);
        EXPECT_EQ(cutOwner.requestIds, (std::vector<std::int32_t>{1, 2}));
        EXPECT_EQ(cutOwner.markers, (std::vector<std::string>{MarkerFor(1), MarkerFor(2)}));
    }
}

TEST_F(SocketlessConnection, OneBytePerReadDispatchesEachFrameOnItsLastByte) {
    const Bytes f1 = MarkedFrame(1);
    const Bytes stream = Concat({f1, MarkedFrame(2)});
    for (std::size_t i = 0; i < stream.size(); ++i) {
        ASSERT_EQ(Feed(Slice(stream, i, i + 1)), 0);
        const std::size_t expected = i + 1 < f1.size() ? 0 : (i + 1 < stream.size() ? 1 : 2);
        ASSERT_EQ(owner.requestIds.size(), expected) << "after byte " << i;
    }
    ExpectDispatched({1, 2});
}

TEST_F(SocketlessConnection, ZeroLengthFrameIsDecodedLikeAnyOther) {
    EXPECT_EQ(Feed(Concat({LengthWord(0), MarkedFrame(5), LengthWord(0)})), 0);
    EXPECT_EQ(owner.requestIds, (std::vector<std::int32_t>{0, 5, 0}));
    EXPECT_EQ(owner.serviceNos, (std::vector<std::uint16_t>{0, 123, 0}));  // an empty message has no head
    EXPECT_FALSE(connection->IsClosed());
}

TEST_F(SocketlessConnection, ThrowingDispatchClosesWithTheBusinessReason) {
    class CThrowingOwner final : public CConnectionOwner {
    public:
        void OnFrontConnected() override {}
        void OnFrontDisconnected() override {}
        int DispatchPackage(CAPIPackage&) override { throw std::runtime_error("handler failed"); }
    } throwing;
    auto throwingConnection = std::make_shared<CServerConnection>(io, connector, throwing);
    const Bytes frames = Concat({MarkedFrame(1), MarkedFrame(2)});
    EXPECT_EQ(throwingConnection->OnReceive(frames.data(), static_cast<std::uint32_t>(frames.size())), -1);
    EXPECT_STREQ(throwingConnection->CloseReason(), kCloseReasonBusinessError);
}

// Timeout of 1 s here (what ships waits 120 s), on a time the test moves itself: every received byte
// starts the silence again, and a whole timeout of it closes.
TEST_F(SocketlessConnection, SilenceForTheHeartbeatTimeoutCloses) {
    using namespace std::chrono_literals;
    auto timers = std::make_shared<CManualTimerSource>();
    TransportSettings settings = Settings();
    settings.timers = timers;
    CFrontConnector timedConnector{io, owner, {}, settings};
    auto timed = std::make_shared<CServerConnection>(io, timedConnector, owner);
    const auto feed = [&](const Bytes& bytes) {
        return timed->OnReceive(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    };
    const auto runDue = [&] {
        io.restart();
        io.poll();
    };
    ASSERT_EQ(feed(MarkedFrame(1)), 0);
    timers->Advance(999ms);
    runDue();
    EXPECT_FALSE(timed->IsClosed());
    ASSERT_EQ(feed(MarkedFrame(2)), 0);
    timers->Advance(999ms);
    runDue();
    EXPECT_FALSE(timed->IsClosed()) << "the second frame started the silence again";
    timers->Advance(1ms);
    runDue();
    ASSERT_TRUE(timed->IsClosed());
    EXPECT_STREQ(timed->CloseReason(), kCloseReasonHeartbeatTimeout);
}

// The reasons are the system's own texts, compared here letter by letter.
TEST(CloseReasons, AreWordedAsTheSystemWordsThem) {
    EXPECT_STREQ(kCloseReasonHeartbeatTimeout, "Disconnect because of heartbeat timeout!");
    EXPECT_STREQ(kCloseReasonPackageTooLarge, "Disconnect because package is too large!");
    EXPECT_STREQ(kCloseReasonBusinessError, "Disconnect because of an error in business processing!");
    EXPECT_STREQ(kCloseReasonStopped, "Stoped");
    EXPECT_STREQ(kCloseReasonTransportError, "");
}

TEST_F(SocketlessConnection, SendPackageCopiesAForeignMessageAndRefusesOnceClosed) {
    CAPIPackage foreign;
    std::vector<std::uint8_t> elsewhere(kAPIMessageMaxSize);
    foreign.Begin(122, 1, elsewhere.data());
    ASSERT_EQ(WriteMarker(foreign, "copied"), 6);
    EXPECT_EQ(connection->SendPackage(foreign), 0);  // built outside the staging buffer: copied there
    EXPECT_EQ(connection->PendingBytes(), kFrameLengthSize + foreign.Length());

    connection->Close(kCloseReasonStopped);
    EXPECT_EQ(connection->SendPackage(foreign), -1);
}

}  // namespace
