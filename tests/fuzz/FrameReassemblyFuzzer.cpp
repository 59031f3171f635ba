// A stream of frames, well-formed and not, cut into arbitrary reads and fed through the connection's
// receive path without a socket. Besides memory errors it checks the outcome against a plain reading
// of the same stream: every whole frame up to the first oversized length word is dispatched once, in
// order, with its own head and body; the connection closes with the size reason at that length word,
// with the business reason at a failing dispatch, and stays open otherwise.
#include <fuzzer/FuzzedDataProvider.h>

#include <boost/asio/io_context.hpp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "APIPackage.h"
#include "ConnectionOwner.h"
#include "FrontConnector.h"
#include "ServerConnection.h"
#include "TZOByteOrder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Dispatched {
    std::uint16_t serviceNo;
    std::int32_t requestId;
    std::int32_t endFlag;
    Bytes body;

    bool operator==(const Dispatched& other) const {
        return serviceNo == other.serviceNo && requestId == other.requestId && endFlag == other.endFlag &&
               body == other.body;
    }
};

// What the connection hands on for one payload: the head values and the body the reader was given.
Dispatched Describe(CAPIPackage& package) {
    // The base class's view is the body being read; the envelope's own view is its outgoing message.
    const std::uint8_t* body = package.CTZOPackage::Data();
    const std::uint32_t length = package.CTZOPackage::Length();
    return {package.ServiceNo, package.RequestID, package.EndFlag,
            body != nullptr ? Bytes(body, body + length) : Bytes()};
}

class CRecordingOwner final : public CConnectionOwner {
public:
    explicit CRecordingOwner(std::int32_t failingRequestId) : failingRequestId_(failingRequestId) {}
    void OnFrontConnected() override { std::abort(); }     // never activated here
    void OnFrontDisconnected() override { std::abort(); }  // a connection never reported up is never reported down
    int DispatchPackage(CAPIPackage& package) override {
        dispatched.push_back(Describe(package));
        return package.RequestID == failingRequestId_ ? -1 : 0;
    }

    std::vector<Dispatched> dispatched;

private:
    std::int32_t failingRequestId_;
};

void AppendLength(Bytes& stream, std::uint32_t length) {
    std::uint8_t word[4];
    tzo_wire::StoreU32(word, length);
    stream.insert(stream.end(), word, word + 4);
}

// A well-formed envelope with an arbitrary body.
void AppendEnvelopeFrame(Bytes& stream, FuzzedDataProvider& in) {
    std::uint8_t buffer[kAPIMessageMaxSize];
    CAPIPackage package;
    package.Begin(in.ConsumeIntegral<std::uint16_t>(), in.ConsumeIntegral<std::int32_t>(), buffer);
    package.SetEndFlag(in.ConsumeIntegral<std::int32_t>());
    const Bytes body = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 256));
    if (!body.empty()) package.AppendRaw(body.data(), static_cast<std::uint32_t>(body.size()));
    AppendLength(stream, package.Length());
    stream.insert(stream.end(), package.Data(), package.Data() + package.Length());
}

Bytes BuildStream(FuzzedDataProvider& in) {
    Bytes stream;
    while (in.remaining_bytes() > 0 && stream.size() < 64 * 1024) {
        switch (in.ConsumeIntegralInRange<int>(0, 5)) {
            case 0:
            case 1:
                AppendEnvelopeFrame(stream, in);
                break;
            case 2: {  // any payload, framed correctly
                const Bytes payload = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 64));
                AppendLength(stream, static_cast<std::uint32_t>(payload.size()));
                stream.insert(stream.end(), payload.begin(), payload.end());
                break;
            }
            case 3: {  // the largest frame there is, or one byte more
                const std::uint32_t length = kAPIMessageMaxSize + (in.ConsumeBool() ? 1 : 0);
                AppendLength(stream, length);
                stream.insert(stream.end(), length, in.ConsumeIntegral<std::uint8_t>());
                break;
            }
            case 4:
                AppendLength(stream, in.ConsumeIntegralInRange<std::uint32_t>(kAPIMessageMaxSize + 1, 0xFFFFFFFFu));
                break;
            default: {  // bytes without any framing
                const Bytes raw = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(1, 16));
                stream.insert(stream.end(), raw.begin(), raw.end());
                break;
            }
        }
    }
    return stream;
}

struct Outcome {
    std::vector<Dispatched> dispatched;
    const char* closeReason = nullptr;  // nullptr: open
};

// The stream read the plain way: one length word and its payload after the other.
Outcome Expect(const Bytes& stream, std::int32_t failingRequestId) {
    Outcome outcome;
    std::size_t at = 0;
    while (stream.size() - at >= 4) {
        const std::uint32_t length = tzo_wire::LoadU32(stream.data() + at);
        if (length > kAPIMessageMaxSize) {
            outcome.closeReason = kCloseReasonPackageTooLarge;
            break;
        }
        if (stream.size() - at - 4 < length) break;
        const Bytes payload(stream.begin() + static_cast<std::ptrdiff_t>(at + 4),
                            stream.begin() + static_cast<std::ptrdiff_t>(at + 4 + length));
        CAPIPackage package;
        package.OpenReceived(payload.data(), length);
        outcome.dispatched.push_back(Describe(package));
        if (package.RequestID == failingRequestId) {
            outcome.closeReason = kCloseReasonBusinessError;
            break;
        }
        at += 4 + length;
    }
    return outcome;
}

TransportSettings SmallSettings() {
    TransportSettings settings;
    settings.writeBlockSize = 4096;
    settings.readBufferSize = 4096;
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::int32_t failingRequestId = in.ConsumeIntegral<std::int32_t>();
    std::uint32_t cutState = in.ConsumeIntegral<std::uint32_t>() | 1u;
    const std::uint32_t largestRead = in.ConsumeIntegralInRange<std::uint32_t>(1, 3 * kFrameMaxSize);
    const Bytes stream = BuildStream(in);
    const Outcome expected = Expect(stream, failingRequestId);

    boost::asio::io_context io;  // never run: the timers the receive path arms only wait
    CRecordingOwner owner(failingRequestId);
    CFrontConnector connector(io, owner, {}, SmallSettings());
    auto connection = std::make_shared<CServerConnection>(io, connector, owner);

    std::size_t at = 0;
    while (at < stream.size()) {
        cutState ^= cutState << 13;
        cutState ^= cutState >> 17;
        cutState ^= cutState << 5;
        const std::size_t read = std::min<std::size_t>(stream.size() - at, 1 + cutState % largestRead);
        // Each read in a buffer of its own size, as a socket read would fill it: a read past it is reported.
        std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[read]);
        std::memcpy(buffer.get(), stream.data() + at, read);
        const std::int32_t result = connection->OnReceive(buffer.get(), static_cast<std::uint32_t>(read));
        at += read;
        if (result < 0) break;
    }

    if (!(owner.dispatched == expected.dispatched)) std::abort();
    if (expected.closeReason == nullptr) {
        if (connection->IsClosed()) std::abort();
        connection->Close(kCloseReasonStopped);  // cancels the timers so that their waits can be let go
    } else if (!connection->IsClosed() || std::strcmp(connection->CloseReason(), expected.closeReason) != 0) {
        std::abort();
    }
    connection.reset();
    io.run();  // the cancelled waits complete and release the connection
    return 0;
}
