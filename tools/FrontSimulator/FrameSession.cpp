#include "FrameSession.h"

#include <algorithm>

#include "APIPackage.h"
#include "TZOByteOrder.h"

namespace {

constexpr std::uint32_t kFrameHeaderSize = 4;

std::vector<std::uint8_t> Frame(const std::uint8_t* message, std::uint32_t length) {
    std::vector<std::uint8_t> frame(kFrameHeaderSize + length);
    tzo_wire::StoreU32(frame.data(), length);
    std::copy(message, message + length, frame.begin() + kFrameHeaderSize);
    return frame;
}

}  // namespace

CFrameSession::CFrameSession(boost::asio::ip::tcp::socket socket, Handler& handler, const SimSessionSettings& settings,
                             std::uint64_t id)
    : socket_(std::move(socket)),
      handler_(handler),
      settings_(settings),
      id_(id),
      idleTimer_(socket_.get_executor()),
      heartbeatTimer_(socket_.get_executor()) {}

void CFrameSession::Start() {
    boost::system::error_code ignored;
    // Small writes must leave as small segments for the split-frame fault to mean anything.
    socket_.set_option(boost::asio::ip::tcp::no_delay(true), ignored);
    ArmIdleTimer();
    ArmHeartbeat();
    ReadSome();
}

void CFrameSession::ReadSome() {
    socket_.async_read_some(boost::asio::buffer(readBuffer_),
                            [self = shared_from_this()](const boost::system::error_code& error, std::size_t n) {
                                if (self->closed_) return;
                                if (error) {
                                    self->Close();
                                    return;
                                }
                                self->pending_.insert(self->pending_.end(), self->readBuffer_.begin(),
                                                      self->readBuffer_.begin() + static_cast<std::ptrdiff_t>(n));
                                self->ArmIdleTimer();
                                self->ConsumeFrames();
                                if (!self->closed_) self->ReadSome();
                            });
}

void CFrameSession::ConsumeFrames() {
    std::size_t offset = 0;
    while (!closed_ && pending_.size() - offset >= kFrameHeaderSize) {
        const std::uint32_t length = tzo_wire::LoadU32(pending_.data() + offset);
        // A client breaking the size limit is not followed any further.
        if (length > kAPIMessageMaxSize) {
            Close();
            return;
        }
        if (pending_.size() - offset - kFrameHeaderSize < length) break;
        // The handler may send (never touching pending_) or close, which stops the loop.
        handler_.OnMessage(*this, pending_.data() + offset + kFrameHeaderSize, length);
        offset += kFrameHeaderSize + length;
    }
    if (!closed_) pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(offset));
}

void CFrameSession::Send(const std::uint8_t* message, std::uint32_t length) {
    if (closed_ || closeWhenFlushed_) return;
    const SimFaults& faults = settings_.faults;
    if (faults.silenceAfter && sent_ >= faults.silenceAfter) return;
    ++sent_;
    QueueFrame(Frame(message, length));
    ArmHeartbeat();  // a heartbeat is due only after a quiet interval
    if (faults.oversizedAfter && sent_ == faults.oversizedAfter) {
        // Announces one byte more than a frame may carry; the payload never needs to follow.
        std::vector<std::uint8_t> header(kFrameHeaderSize);
        tzo_wire::StoreU32(header.data(), kAPIMessageMaxSize + 1);
        QueueFrame(std::move(header));
    }
    if (faults.closeAfter && sent_ >= faults.closeAfter) closeWhenFlushed_ = true;
}

void CFrameSession::QueueFrame(std::vector<std::uint8_t> frame) {
    const std::uint32_t piece = settings_.faults.splitWrites;
    if (piece == 0 || frame.size() <= piece) {
        writes_.push_back(std::move(frame));
    } else {
        for (std::size_t at = 0; at < frame.size(); at += piece) {
            const std::size_t end = std::min(frame.size(), at + piece);
            writes_.emplace_back(frame.begin() + static_cast<std::ptrdiff_t>(at),
                                 frame.begin() + static_cast<std::ptrdiff_t>(end));
        }
    }
    if (!writing_) WriteNext();
}

void CFrameSession::WriteNext() {
    if (closed_) return;
    if (writes_.empty()) {
        writing_ = false;
        if (closeWhenFlushed_) Close();
        return;
    }
    writing_ = true;
    boost::asio::async_write(socket_, boost::asio::buffer(writes_.front()),
                             [self = shared_from_this()](const boost::system::error_code& error, std::size_t) {
                                 if (self->closed_) return;
                                 if (error) {
                                     self->Close();
                                     return;
                                 }
                                 self->writes_.pop_front();
                                 self->WriteNext();
                             });
}

void CFrameSession::ArmIdleTimer() {
    idleTimer_.expires_after(std::chrono::seconds(settings_.idleTimeoutSeconds));
    idleTimer_.async_wait([self = shared_from_this()](const boost::system::error_code& error) {
        if (!error && !self->closed_) self->Close();
    });
}

void CFrameSession::ArmHeartbeat() {
    heartbeatTimer_.expires_after(std::chrono::seconds(settings_.heartbeatSeconds));
    heartbeatTimer_.async_wait([self = shared_from_this()](const boost::system::error_code& error) {
        if (error || self->closed_) return;
        self->SendHeartbeat();
        self->ArmHeartbeat();
    });
}

void CFrameSession::SendHeartbeat() {
    if (closeWhenFlushed_) return;
    if (settings_.faults.silenceAfter && sent_ >= settings_.faults.silenceAfter) return;
    std::array<std::uint8_t, kAPIMessageMaxSize> buffer;
    CAPIPackage heartbeat;
    heartbeat.Begin(0, 0, buffer.data());
    QueueFrame(Frame(heartbeat.Data(), heartbeat.Length()));
}

void CFrameSession::Close() {
    if (closed_) return;
    closed_ = true;
    boost::system::error_code ignored;
    socket_.shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    idleTimer_.cancel();
    heartbeatTimer_.cancel();
    writes_.clear();
    handler_.OnClosed(*this);
}
