// A front server for client tests: a TCP listener on 127.0.0.1 with an ephemeral port, run by Boost.Asio
// on a thread of its own. It serves one connection at a time (a new one replaces the old), reassembles
// the client's frames and queues every message it receives; the test waits for messages and connection
// events with timeouts and sends messages or raw bytes back.
//
//     CScriptedFront front;
//     client.RegisterFront(front.Address().c_str());
//     ASSERT_TRUE(front.WaitForConnection());
//     auto login = front.WaitForService(116);          // skips heartbeats and other services
//     ASSERT_TRUE(login);
//     front.Send(117, login->RequestID, 0, [](CAPIPackage& p) { return TZOAddRecord(p, ...); });
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "APIPackage.h"

// One message received from the client: a copy of its frame payload, opened as an envelope.
class ReceivedMessage {
public:
    explicit ReceivedMessage(std::vector<std::uint8_t> payload);
    ReceivedMessage(const ReceivedMessage&) = delete;
    ReceivedMessage& operator=(const ReceivedMessage&) = delete;

    const std::vector<std::uint8_t> bytes;  // the frame payload, without the length word
    CAPIPackage package;                    // reader of the body, over `bytes`
    std::uint16_t ServiceNo = 0;
    std::int32_t RequestID = 0;
    std::int32_t EndFlag = 0;
};

class CScriptedFront {
public:
    using Clock = std::chrono::steady_clock;
    using BodyWriter = std::function<int(CAPIPackage&)>;
    static constexpr std::chrono::milliseconds kDefaultTimeout{5000};

    // Listening at once unless `accepting` is false (the port is then reserved but refuses connects).
    explicit CScriptedFront(bool accepting = true);
    ~CScriptedFront();
    CScriptedFront(const CScriptedFront&) = delete;
    CScriptedFront& operator=(const CScriptedFront&) = delete;

    std::uint16_t Port() const { return port_; }
    // "127.0.0.1:<port>", as a client registers it.
    std::string Address() const;

    // false closes the listener, so connects are refused; true listens again on the same port.
    // The connection already accepted is not touched.
    void SetAccepting(bool accepting);

    // Waits for a connection accepted after the ones already waited for. true when it came in time.
    bool WaitForConnection(std::chrono::milliseconds timeout = kDefaultTimeout);
    // Waits for the end of an accepted connection (closed by the client, or dropped), counted the same way.
    bool WaitForDisconnect(std::chrono::milliseconds timeout = kDefaultTimeout);
    int ConnectionCount() const;
    // How many connections the front had accepted before one the test makes now: the test connects
    // itself and waits until the front accepts it. The listener hands connections out in the order
    // they arrived, so every connection a client made before this call is counted; this proves that no
    // further connection came without waiting a fixed time. The test's connection counts like any
    // other afterwards (it replaces the current one, and WaitForConnection sees it). -1 when it was not
    // accepted in time (the front refusing).
    int ConnectionsBeforeMarker(std::chrono::milliseconds timeout = kDefaultTimeout);
    bool IsConnected() const;
    // Closes the current connection from this side.
    void Drop();

    // The next message received, in arrival order, or nullptr after the timeout.
    std::unique_ptr<ReceivedMessage> WaitForMessage(std::chrono::milliseconds timeout = kDefaultTimeout);
    // The next message with this ServiceNo; messages with other numbers (heartbeats included) are
    // discarded on the way.
    std::unique_ptr<ReceivedMessage> WaitForService(std::uint16_t serviceNo,
                                                    std::chrono::milliseconds timeout = kDefaultTimeout);
    // Messages received and not yet waited for.
    std::size_t QueuedMessageCount() const;
    void ClearMessages();

    // A whole frame (length word and envelope): begun with serviceNo and requestId, body added by
    // `writeBody` (may be empty), EndFlag set. For composing several frames into one SendRaw.
    static std::vector<std::uint8_t> BuildFrame(std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag,
                                                const BodyWriter& writeBody = {});
    // Sends one message to the current connection (dropped when there is none). The body is written
    // at once on the calling thread, so the writer may refer to the caller's locals.
    void Send(std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag, const BodyWriter& writeBody = {});
    // Sends bytes exactly as given (any framing, or none).
    void SendRaw(std::vector<std::uint8_t> bytes);

    // Closes everything and ends the thread; afterwards sending, dropping and SetAccepting do nothing.
    // The destructor does it too.
    void Stop();

private:
    class CServer;
    std::unique_ptr<CServer> server_;
    bool stopped_ = false;
    std::uint16_t port_ = 0;
    std::thread thread_;
};
