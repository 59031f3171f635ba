#include "ServerConnection.h"

#include <algorithm>
#include <boost/asio/error.hpp>
#include <chrono>
#include <cstring>
#include <utility>

#include "ConnectionOwner.h"
#include "FrontConnector.h"
#include "TZOByteOrder.h"

namespace {

// Both buffers hold one whole frame at most.
constexpr std::uint32_t kFrameBufferSize = 8192;
static_assert(kFrameMaxSize == kFrameBufferSize, "a frame buffer holds exactly one largest frame");

// A heartbeat is an envelope with ServiceNo 0, RequestID 0 and an empty body.
constexpr std::uint16_t kHeartbeatServiceNo = 0;
constexpr std::int32_t kHeartbeatRequestID = 0;

// Half the timeout (60 s of 120), but never 0 s: a zero interval would send heartbeats back to back.
std::chrono::seconds HeartbeatInterval(std::uint16_t heartbeatTimeout) {
    return std::chrono::seconds(std::max(heartbeatTimeout / 2, 1));
}

}  // namespace

CServerConnection::CServerConnection(boost::asio::io_context& io, CFrontConnector& connector, CConnectionOwner& owner)
    : CTcpConnection(io, connector.Settings().writeBlockSize, connector.Settings().readBufferSize),
      reassembly_(new std::uint8_t[kFrameBufferSize]),
      staging_(new std::uint8_t[kFrameBufferSize]),
      timers_(connector.Settings().timers ? *connector.Settings().timers : SteadyTimerSource()),
      receiveTimer_(timers_.MakeTimer(io)),
      heartbeatTimer_(timers_.MakeTimer(io)),
      connector_(connector),
      heartbeatTimeout_(connector.Settings().heartbeatTimeout),
      owner_(owner) {}

CServerConnection::~CServerConnection() = default;

std::shared_ptr<CServerConnection> CServerConnection::Self() {
    return std::static_pointer_cast<CServerConnection>(shared_from_this());
}

void CServerConnection::Activate(std::shared_ptr<CServerConnection> self) {
    if (IsClosed()) {
        return;
    }
    self_ = self;
    activated_ = true;
    Start(std::move(self));
    ArmReceiveTimer();
    ArmHeartbeatTimer();
    owner_.OnFrontConnected();
}

using TimerClock = CTimerSource::Clock;

TimerClock::time_point CServerConnection::HeartbeatDeadline() const {
    return TimerClock::time_point(TimerClock::duration(heartbeatDeadline_.load(std::memory_order_relaxed)));
}

void CServerConnection::ArmReceiveTimer() {
    receiveDeadline_ = timers_.Now() + std::chrono::seconds(heartbeatTimeout_);
    if (!receiveWaitPending_) {
        WaitForReceiveDeadline();
    }
}

void CServerConnection::MoveHeartbeatDeadline() {
    const TimerClock::time_point deadline = timers_.Now() + HeartbeatInterval(heartbeatTimeout_);
    heartbeatDeadline_.store(deadline.time_since_epoch().count(), std::memory_order_relaxed);
}

void CServerConnection::ArmHeartbeatTimer() {
    MoveHeartbeatDeadline();
    if (!heartbeatWaitPending_) {
        WaitForHeartbeatDeadline();
    }
}

void CServerConnection::WaitForReceiveDeadline() {
    receiveWaitPending_ = true;
    receiveTimer_->WaitUntil(
        receiveDeadline_, [self = Self()](const boost::system::error_code& error) { self->HandleReceiveTimer(error); });
}

void CServerConnection::WaitForHeartbeatDeadline() {
    heartbeatWaitPending_ = true;
    heartbeatTimer_->WaitUntil(HeartbeatDeadline(), [self = Self()](const boost::system::error_code& error) {
        self->HandleHeartbeatTimer(error);
    });
}

void CServerConnection::HandleReceiveTimer(const boost::system::error_code& error) {
    receiveWaitPending_ = false;
    if (IsClosed() || error == boost::asio::error::operation_aborted) {
        return;
    }
    if (receiveDeadline_ > timers_.Now()) {
        WaitForReceiveDeadline();  // bytes arrived meanwhile: the silence is not long enough yet
        return;
    }
    Close(kCloseReasonHeartbeatTimeout);
}

void CServerConnection::HandleHeartbeatTimer(const boost::system::error_code& error) {
    heartbeatWaitPending_ = false;
    if (IsClosed() || error == boost::asio::error::operation_aborted) {
        return;
    }
    if (HeartbeatDeadline() > timers_.Now()) {
        WaitForHeartbeatDeadline();  // something was sent meanwhile
        return;
    }
    CAPIPackage heartbeat;
    heartbeat.Begin(kHeartbeatServiceNo, kHeartbeatRequestID, PackageBuffer());
    SendPackage(heartbeat);  // moves the deadline and waits again
}

int CServerConnection::SendPackage(CAPIPackage& package) {
    const std::uint32_t length = package.Length();
    if (IsClosed() || length > kAPIMessageMaxSize) {
        return -1;
    }
    if (package.Data() != PackageBuffer()) {
        std::memmove(PackageBuffer(), package.Data(), length);
    }
    SendFrame(staging_.get(), length);
    ArmHeartbeatTimer();  // after a heartbeat no wait is pending: this starts the next one
    return 0;
}

int CServerConnection::SendFrame(std::uint8_t* frame, std::uint32_t messageLength) {
    if (IsClosed() || messageLength > kAPIMessageMaxSize) {
        return -1;
    }
    tzo_wire::StoreU32(frame, messageLength);
    Write(frame, kFrameLengthSize + messageLength);
    // The heartbeat wait of an active connection is always pending: moving its deadline is enough.
    MoveHeartbeatDeadline();
    return 0;
}

std::int32_t CServerConnection::OnPackage(const std::uint8_t* payload, std::uint32_t length) {
    CAPIPackage package;
    package.OpenReceived(payload, length);
    try {
        return owner_.DispatchPackage(package);
    } catch (...) {
        // A dispatch that throws has failed to process the message, like one that returns < 0.
        return -1;
    }
}

bool CServerConnection::DeliverFrame(const std::uint8_t* payload, std::uint32_t length) {
    if (OnPackage(payload, length) < 0) {
        Close(kCloseReasonBusinessError);
        return false;
    }
    // The owner may have stopped the client from inside its dispatch: nothing more is delivered.
    return !IsClosed();
}

std::int32_t CServerConnection::OnReceive(const std::uint8_t* input, std::uint32_t rest) {
    if (IsClosed()) {
        return -1;
    }
    if (rest == 0) {
        return 0;  // nothing arrived (only a direct caller can hand in an empty, possibly null, input)
    }
    ArmReceiveTimer();

    if (reassemblyCount_ > 0) {
        if (reassemblyCount_ < kFrameLengthSize) {
            const std::uint32_t take = std::min(kFrameLengthSize - reassemblyCount_, rest);
            std::memcpy(reassembly_.get() + reassemblyCount_, input, take);
            reassemblyCount_ += take;
            input += take;
            rest -= take;
            if (reassemblyCount_ < kFrameLengthSize) {
                return 0;
            }
        }
        const std::uint32_t length = tzo_wire::LoadU32(reassembly_.get());
        if (length > kAPIMessageMaxSize) {
            Close(kCloseReasonPackageTooLarge);
            return -1;
        }
        const std::uint32_t take = std::min(kFrameLengthSize + length - reassemblyCount_, rest);
        std::memcpy(reassembly_.get() + reassemblyCount_, input, take);
        reassemblyCount_ += take;
        input += take;
        rest -= take;
        if (reassemblyCount_ < kFrameLengthSize + length) {
            return 0;
        }
        reassemblyCount_ = 0;
        if (!DeliverFrame(reassembly_.get() + kFrameLengthSize, length)) {
            return -1;
        }
    }

    while (rest >= kFrameLengthSize) {
        const std::uint32_t length = tzo_wire::LoadU32(input);
        // Tested before completeness: an oversized announcement closes before its payload arrives.
        if (length > kAPIMessageMaxSize) {
            Close(kCloseReasonPackageTooLarge);
            return -1;
        }
        if (length > rest - kFrameLengthSize) {
            break;
        }
        if (!DeliverFrame(input + kFrameLengthSize, length)) {
            return -1;
        }
        input += kFrameLengthSize + length;
        rest -= kFrameLengthSize + length;
    }

    if (rest > 0) {
        // A partial length word, or a length word with part of its payload: always less than a frame.
        std::memcpy(reassembly_.get(), input, rest);
        reassemblyCount_ = rest;
    }
    return 0;
}

void CServerConnection::OnClose(const char* /*reason*/) {
    heartbeatTimer_->Cancel();
    receiveTimer_->Cancel();
    std::shared_ptr<CServerConnection> keepAlive = std::move(self_);
    if (connector_.IsStopping() || !activated_) {
        return;
    }
    // Forgotten before the owner hears of the loss, so that a request made in answer to the
    // notification is refused (-1) rather than accepted and dropped on a connection that is gone.
    const bool wasCurrent = connector_.ForgetClosed(*this);
    try {
        owner_.OnFrontDisconnected();
    } catch (...) {
        // The owner's failure must not cost the client its reconnection.
    }
    if (connector_.IsStopping() || !wasCurrent) {
        return;  // stopped from inside the notification, or not the connection to replace
    }
    connector_.ReplaceLost();
}
