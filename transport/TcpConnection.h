// One TCP stream with a fixed read buffer and a write queue of large blocks. Subclasses give meaning to
// the bytes (OnReceive) and to the end of the connection (OnClose). Everything here runs on the I/O
// thread that runs the connection's io_context.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/system/error_code.hpp>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

class CTcpConnection : public std::enable_shared_from_this<CTcpConnection> {
public:
    CTcpConnection(const CTcpConnection&) = delete;
    CTcpConnection& operator=(const CTcpConnection&) = delete;

    // The table of operations keeps this order.
    // The connection has been closed; `reason` is empty for transport errors and end of stream.
    virtual void OnClose(const char* reason) = 0;
    // `length` bytes have arrived at `bytes`. A negative result means the receiver has closed the
    // connection and no further read is to be started.
    virtual std::int32_t OnReceive(const std::uint8_t* bytes, std::uint32_t length) = 0;
    // Holds its place in the table; nothing calls it.
    virtual void OnReserved();

    // Keeps the connection alive through `self` and starts reading.
    void Start(std::shared_ptr<CTcpConnection> self);
    // Queues the bytes and starts a write when none is in progress. Never blocks; does nothing once
    // the connection is closed. Returns 0.
    int Send(const std::uint8_t* bytes, std::uint32_t length);
    // Closes once: later calls do nothing, so OnClose runs at most once per connection.
    void Close(const char* reason);

    boost::asio::ip::tcp::socket& Socket() { return socket_; }
    bool IsClosed() const { return closed_; }
    // The reason given to the close, or nullptr while the connection is open.
    const char* CloseReason() const { return closeReason_; }
    // Blocks the write queue holds at the moment, and the bytes queued but not yet written.
    std::size_t WriteBlockCount() const { return writeBlocks_.size(); }
    std::uint64_t PendingBytes() const { return pending_; }

protected:
    CTcpConnection(boost::asio::io_context& io, std::uint32_t writeBlockSize, std::uint32_t readBufferSize);
    // Destroyed through the concrete type only (by its last shared reference).
    ~CTcpConnection();

private:
    void StartRead();
    void HandleRead(const boost::system::error_code& error, std::size_t bytesRead);
    void StartWrite();
    void HandleWrite(const boost::system::error_code& error, std::size_t bytesWritten);
    std::uint8_t* AllocateBlock() const;

    boost::asio::ip::tcp::socket socket_;
    std::unique_ptr<std::uint8_t[]> readBuffer_;
    std::deque<std::unique_ptr<std::uint8_t[]>> writeBlocks_;
    std::uint32_t headOffset_ = 0;
    // 64 bits: a peer that stops reading must not make the count wrap and the queue hand out
    // overwritten bytes.
    std::uint64_t pending_ = 0;
    std::uint32_t readBufferSize_;
    std::uint32_t writeBlockSize_;
    std::shared_ptr<CTcpConnection> self_;
    bool closed_ = false;
    const char* closeReason_ = nullptr;
};
