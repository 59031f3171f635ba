#include "transport/TcpConnection.h"

#include <boost/asio/buffer.hpp>
#include <boost/asio/error.hpp>
#include <algorithm>
#include <cstring>
#include <utility>

CTcpConnection::CTcpConnection(boost::asio::io_context& io, std::uint32_t writeBlockSize,
                               std::uint32_t readBufferSize)
    : socket_(io),
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

void CTcpConnection::Start(std::shared_ptr<CTcpConnection> self) {
    self_ = std::move(self);
    StartRead();
}

void CTcpConnection::StartRead() {
    socket_.async_read_some(boost::asio::buffer(readBuffer_.get(), readBufferSize_),
                            [self = shared_from_this()](const boost::system::error_code& error,
                                                        std::size_t bytesRead) {
                                self->HandleRead(error, bytesRead);
                            });
}

void CTcpConnection::HandleRead(const boost::system::error_code& error, std::size_t bytesRead) {
    if (closed_ || error == boost::asio::error::operation_aborted) {
        return;
    }
    if (error) {
        // End of stream and every other failure, a local abort included: there is nothing left to
        // read from this socket, so end it now rather than wait for the receive timer.
        Close("");
        return;
    }
    if (OnReceive(readBuffer_.get(), static_cast<std::uint32_t>(bytesRead)) < 0 || closed_) {
        return;
    }
    StartRead();
}

int CTcpConnection::Send(const std::uint8_t* bytes, std::uint32_t length) {
    if (closed_ || length == 0) {
        return 0;
    }
    const bool writeInProgress = pending_ != 0;
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
    if (!writeInProgress) {
        StartWrite();
    }
    return 0;
}

void CTcpConnection::StartWrite() {
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(pending_, writeBlockSize_ - headOffset_));
    socket_.async_write_some(boost::asio::buffer(writeBlocks_.front().get() + headOffset_, chunk),
                             [self = shared_from_this()](const boost::system::error_code& error,
                                                         std::size_t bytesWritten) {
                                 self->HandleWrite(error, bytesWritten);
                             });
}

void CTcpConnection::HandleWrite(const boost::system::error_code& error, std::size_t bytesWritten) {
    if (closed_ || error == boost::asio::error::operation_aborted) {
        return;
    }
    if (error) {
        Close("");
        return;
    }
    pending_ -= bytesWritten;
    headOffset_ += static_cast<std::uint32_t>(bytesWritten);
    if (pending_ == 0) {
        headOffset_ = 0;
        writeBlocks_.resize(1);  // the first block stays for reuse
        return;
    }
    if (headOffset_ == writeBlockSize_) {
        writeBlocks_.pop_front();
        headOffset_ = 0;
    }
    StartWrite();
}

void CTcpConnection::Close(const char* reason) {
    if (closed_) {
        return;
    }
    closed_ = true;
    closeReason_ = reason;
    boost::system::error_code ignored;  // a socket that fails to close is closed for our purposes
    socket_.close(ignored);
    // The last reference may be this one: keep the object until OnClose has returned.
    std::shared_ptr<CTcpConnection> keepAlive = std::move(self_);
    OnClose(reason);
}
