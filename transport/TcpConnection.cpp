#include "TcpConnection.h"

#include <algorithm>
#include <boost/asio/buffer.hpp>
#include <boost/asio/error.hpp>
#include <boost/asio/post.hpp>
#include <cstring>
#include <utility>

#include "HandlerMemory.h"

CTcpConnection::CTcpConnection(boost::asio::io_context& io, std::uint32_t writeBlockSize, std::uint32_t readBufferSize)
    : io_(io),
      socket_(io),
      readBuffer_(new std::uint8_t[readBufferSize]),
      readBufferSize_(readBufferSize),
      writeBlockSize_(writeBlockSize) {
    writeBlocks_.emplace_back(AllocateBlock());
}

CTcpConnection::~CTcpConnection() = default;

void CTcpConnection::OnReserved() {}

std::uint8_t* CTcpConnection::AllocateBlock() const {
    // Left uninitialised on purpose: a 10 MiB block is only touched where bytes are queued.
    return new std::uint8_t[writeBlockSize_];
}

bool CTcpConnection::OnIOThread() const { return io_.get_executor().running_in_this_thread(); }

std::size_t CTcpConnection::WriteBlockCount() const {
    std::lock_guard<std::mutex> lock(sendMutex_);
    return writeBlocks_.size();
}

std::uint64_t CTcpConnection::PendingBytes() const {
    std::lock_guard<std::mutex> lock(sendMutex_);
    return pending_;
}

void CTcpConnection::Start(std::shared_ptr<CTcpConnection> self) {
    self_ = std::move(self);
    {
        std::lock_guard<std::mutex> lock(sendMutex_);
        boost::system::error_code error;
        socket_.non_blocking(true, error);
        // Set before any read is started, so that Asio never again changes the socket's state while
        // another thread writes to it. Without it every request simply goes through the I/O thread.
        directWrites_ = !error && !IsClosed();
    }
    if (!IsClosed() && readiness_.Watch(io_, static_cast<int>(socket_.native_handle()),
                                        &CTcpConnection::ReadWhileReadable, this, self_)) {
        return;
    }
    StartRead();
}

bool CTcpConnection::ReadWhileReadable(void* connection) {
    return static_cast<CTcpConnection*>(connection)->ReadWhileReadable();
}

bool CTcpConnection::ReadWhileReadable() {
    for (;;) {
        if (IsClosed()) {
            return false;
        }
        std::size_t bytesRead = 0;
        switch (readiness_.ReadSome(readBuffer_.get(), readBufferSize_, bytesRead)) {
            case CReadinessWatch::ReadResult::WouldBlock:
                return true;
            case CReadinessWatch::ReadResult::Ended:
                Close("");  // as an asynchronous read that fails
                return false;
            case CReadinessWatch::ReadResult::Received:
                break;
        }
        if (OnReceive(readBuffer_.get(), static_cast<std::uint32_t>(bytesRead)) < 0 || IsClosed()) {
            return false;
        }
        if (bytesRead < readBufferSize_) {
            // A read that did not fill the buffer took everything there was: the watch reports the
            // socket again when more (or the end of the stream) is there, so the read that would only
            // find nothing is not made.
            return true;
        }
    }
}

void CTcpConnection::StartRead() {
    socket_.async_read_some(
        boost::asio::buffer(readBuffer_.get(), readBufferSize_),
        BindHandlerMemory(readMemory_,
                          [self = shared_from_this()](const boost::system::error_code& error, std::size_t bytesRead) {
                              self->HandleRead(error, bytesRead);
                          }));
}

void CTcpConnection::HandleRead(const boost::system::error_code& error, std::size_t bytesRead) {
    if (IsClosed() || error == boost::asio::error::operation_aborted) {
        return;
    }
    if (error) {
        // End of stream and every other failure, a local abort included: there is nothing left to
        // read from this socket, so end it now rather than wait for the receive timer.
        Close("");
        return;
    }
    if (OnReceive(readBuffer_.get(), static_cast<std::uint32_t>(bytesRead)) < 0 || IsClosed()) {
        return;
    }
    StartRead();
}

int CTcpConnection::Send(const std::uint8_t* bytes, std::uint32_t length) {
    std::lock_guard<std::mutex> lock(sendMutex_);
    if (IsClosed() || length == 0) {
        return 0;
    }
    Queue(bytes, length);
    return 0;
}

int CTcpConnection::Write(const std::uint8_t* bytes, std::uint32_t length) {
    std::lock_guard<std::mutex> lock(sendMutex_);
    if (IsClosed() || length == 0) {
        return 0;
    }
    if (directWrites_ && !writeScheduled_) {
        boost::system::error_code error;  // would_block, or a failure the queued write meets again
        const std::size_t written = socket_.write_some(boost::asio::buffer(bytes, length), error);
        bytes += written;
        length -= static_cast<std::uint32_t>(written);
        if (length == 0) {
            return 0;
        }
    }
    Queue(bytes, length);
    return 0;
}

void CTcpConnection::Queue(const std::uint8_t* bytes, std::uint32_t length) {
    std::uint32_t remaining = length;
    while (remaining > 0) {
        const std::uint64_t end = headOffset_ + pending_;  // offset of the queue's end from the first block
        std::uint8_t* block;
        std::uint32_t position;
        if (end < writeBlockSize_) {
            block = writeBlocks_.front().get();
            position = static_cast<std::uint32_t>(end);
        } else {
            position = static_cast<std::uint32_t>(end % writeBlockSize_);
            if (position == 0) {
                writeBlocks_.emplace_back(AllocateBlock());
            }
            block = writeBlocks_.back().get();
        }
        const std::uint32_t chunk = std::min(remaining, writeBlockSize_ - position);
        std::memcpy(block + position, bytes, chunk);
        bytes += chunk;
        remaining -= chunk;
        pending_ += chunk;
    }
    if (!writeScheduled_) {
        ScheduleWrite();
    }
}

void CTcpConnection::ScheduleWrite() {
    writeScheduled_ = true;
    if (OnIOThread()) {
        StartWrite();
        return;
    }
    // Only the I/O thread starts the socket's asynchronous operations. At most one hand-off is under
    // way (writeScheduled_ stays set until the queue is empty), so it always finds its memory free.
    boost::asio::post(io_, BindHandlerMemory(handOffMemory_, [self = shared_from_this()] {
                          std::lock_guard<std::mutex> lock(self->sendMutex_);
                          if (!self->IsClosed()) {
                              self->StartWrite();
                          }
                      }));
}

void CTcpConnection::StartWrite() {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(pending_, writeBlockSize_ - headOffset_));
    socket_.async_write_some(
        boost::asio::buffer(writeBlocks_.front().get() + headOffset_, chunk),
        BindHandlerMemory(writeMemory_, [self = shared_from_this()](const boost::system::error_code& error,
                                                                    std::size_t bytesWritten) {
            self->HandleWrite(error, bytesWritten);
        }));
}

void CTcpConnection::HandleWrite(const boost::system::error_code& error, std::size_t bytesWritten) {
    if (error == boost::asio::error::operation_aborted) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(sendMutex_);
        if (IsClosed()) {
            return;
        }
        if (!error) {
            pending_ -= bytesWritten;
            headOffset_ += static_cast<std::uint32_t>(bytesWritten);
            if (pending_ == 0) {
                headOffset_ = 0;
                writeBlocks_.resize(1);  // the first block stays for reuse
                writeScheduled_ = false;
                return;
            }
            if (headOffset_ == writeBlockSize_) {
                writeBlocks_.pop_front();
                headOffset_ = 0;
            }
            StartWrite();
            return;
        }
    }
    Close("");
}

void CTcpConnection::Close(const char* reason) {
    {
        std::lock_guard<std::mutex> lock(sendMutex_);
        if (IsClosed()) {
            return;
        }
        closeReason_.store(reason, std::memory_order_release);
        closed_.store(true, std::memory_order_release);
    }
    // The last reference may be this one: keep the object until OnClose has returned.
    std::shared_ptr<CTcpConnection> keepAlive = std::move(self_);
    // The duplicate the readiness watch reads from goes first, so that closing the socket closes the
    // connection (and takes its registration out of the reactor).
    readiness_.Unwatch();
    {
        // No write touches the socket once closed_ is set.
        std::lock_guard<std::mutex> lock(sendMutex_);
        boost::system::error_code ignored;  // a socket that fails to close is closed for our purposes
        socket_.close(ignored);
    }
    OnClose(reason);
}
