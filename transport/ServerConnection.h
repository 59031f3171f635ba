// The framed connection to a front server: every frame is a 4-byte big-endian length and one envelope
// message of at most kAPIMessageMaxSize bytes. Received frames are reassembled, decoded in place and
// handed to the owner's dispatch; outgoing messages are built in the staging buffer and framed there.
// Heartbeats leave after half the heartbeat timeout without sending; a peer silent for the whole
// timeout is dropped. A connection is used once: after its close the connector makes a new one.
//
// Threads: everything runs on the I/O thread except SendFrame, which any thread may call (requests go
// to the socket from the thread that makes them), and the deferred-request count.
#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/system/error_code.hpp>
#include <cstdint>
#include <memory>

#include "APIPackage.h"
#include "TcpConnection.h"
#include "TimerSource.h"

class CConnectionOwner;
class CFrontConnector;

// The reasons a connection closes with, as the system words them.
inline constexpr char kCloseReasonHeartbeatTimeout[] = "Disconnect because of heartbeat timeout!";
inline constexpr char kCloseReasonPackageTooLarge[] = "Disconnect because package is too large!";
inline constexpr char kCloseReasonBusinessError[] = "Disconnect because of an error in business processing!";
inline constexpr char kCloseReasonStopped[] = "Stoped";
inline constexpr char kCloseReasonTransportError[] = "";

// A frame: the length word and at most one whole message.
constexpr std::uint32_t kFrameLengthSize = 4;
constexpr std::uint32_t kFrameMaxSize = kFrameLengthSize + kAPIMessageMaxSize;

class CServerConnection final : public CTcpConnection {
public:
    // Sizes and the heartbeat timeout come from the connector's settings.
    CServerConnection(boost::asio::io_context& io, CFrontConnector& connector, CConnectionOwner& owner);
    ~CServerConnection();

    // The TCP connect has succeeded: start reading and both timers, then tell the owner.
    void Activate(std::shared_ptr<CServerConnection> self);
    // Frames and sends a message built in PackageBuffer() (any other message is copied there first).
    // On the I/O thread. Returns 0, or -1 when the connection is closed or the message is larger than
    // a frame allows.
    int SendPackage(CAPIPackage& package);
    // Frames and sends the `messageLength` bytes of a message begun kFrameLengthSize bytes into
    // `frame`, a buffer of kFrameMaxSize bytes of the caller's. Any thread; written at once when
    // nothing is queued. Returns 0, or -1 when the connection is closed or the message is too large.
    int SendFrame(std::uint8_t* frame, std::uint32_t messageLength);

    // Requests whose body is written on the I/O thread (it reads state kept there) are posted to it;
    // while any is on its way, a request from another thread must not overtake it. Count them with
    // these two, and ask HasDeferredRequests before sending at once.
    void BeginDeferredRequest() { deferredRequests_.fetch_add(1, std::memory_order_acq_rel); }
    void EndDeferredRequest() { deferredRequests_.fetch_sub(1, std::memory_order_acq_rel); }
    bool HasDeferredRequests() const { return deferredRequests_.load(std::memory_order_acquire) != 0; }
    // Where outgoing messages are begun: kAPIMessageMaxSize bytes behind the staging buffer's length word.
    std::uint8_t* PackageBuffer() { return staging_.get() + kFrameLengthSize; }

    // Reassembles frames from any split of the stream. Callable without a socket (tests feed it
    // directly); once the connection is closed it consumes nothing and returns -1.
    std::int32_t OnReceive(const std::uint8_t* bytes, std::uint32_t length) override;
    // Decodes one frame payload in place and returns the owner's dispatch result.
    std::int32_t OnPackage(const std::uint8_t* payload, std::uint32_t length);
    void OnClose(const char* reason) override;

private:
    std::shared_ptr<CServerConnection> Self();
    // Traffic only moves a deadline; a timer wait is started when none is pending, and an expiry that
    // comes before its deadline waits again for the rest. (Re-arming the timer on every read and every
    // send would cancel a wait and allocate a new one each time.)
    void ArmReceiveTimer();
    void ArmHeartbeatTimer();
    // Any thread: something was sent, so the heartbeat is due half a timeout from now.
    void MoveHeartbeatDeadline();
    CTimerSource::Clock::time_point HeartbeatDeadline() const;
    void WaitForReceiveDeadline();
    void WaitForHeartbeatDeadline();
    void HandleReceiveTimer(const boost::system::error_code& error);
    void HandleHeartbeatTimer(const boost::system::error_code& error);
    // Dispatches one whole frame payload; closes with the business reason when it fails.
    bool DeliverFrame(const std::uint8_t* payload, std::uint32_t length);

    std::unique_ptr<std::uint8_t[]> reassembly_;
    std::uint32_t reassemblyCount_ = 0;
    std::unique_ptr<std::uint8_t[]> staging_;
    CTimerSource& timers_;  // the settings' source, or the steady clock
    std::unique_ptr<CTimerSource::CTimer> receiveTimer_;
    std::unique_ptr<CTimerSource::CTimer> heartbeatTimer_;
    CTimerSource::Clock::time_point receiveDeadline_{};
    // Moved by senders on any thread; the tick count of a time point of the source's clock.
    std::atomic<CTimerSource::Clock::duration::rep> heartbeatDeadline_{0};
    std::atomic<int> deferredRequests_{0};
    bool receiveWaitPending_ = false;
    bool heartbeatWaitPending_ = false;
    CFrontConnector& connector_;
    std::uint16_t heartbeatTimeout_;
    CConnectionOwner& owner_;
    std::shared_ptr<CServerConnection> self_;
    // Set by Activate: only a connection that was reported up is reported down.
    bool activated_ = false;
};
