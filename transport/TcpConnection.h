// One TCP stream with a fixed read buffer and a write queue of large blocks. Subclasses give meaning to
// the bytes (OnReceive) and to the end of the connection (OnClose).
//
// Threads: reading, the write completions, Close and both notifications run on the I/O thread that
// runs the connection's io_context. Send and Write may be called from any thread: the send side (the
// write queue, the socket's writes and its close) is guarded by one mutex, so bytes leave in the order
// of the calls that queued or wrote them.
#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/system/error_code.hpp>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "HandlerMemory.h"
#include "ReadinessWatch.h"

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

    // Keeps the connection alive through `self`, makes the socket non-blocking for Write and starts
    // reading: on readiness where the reactor allows it (see CReadinessWatch), else with asynchronous
    // reads. On the I/O thread.
    void Start(std::shared_ptr<CTcpConnection> self);
    // Queues the bytes behind everything queued before and makes sure a write is under way (started at
    // once on the I/O thread, posted to it from any other). Never blocks; does nothing once the
    // connection is closed. Returns 0.
    int Send(const std::uint8_t* bytes, std::uint32_t length);
    // Like Send, but when nothing is queued or being written the bytes go to the socket at once from
    // the calling thread, without waiting (a started connection only); only what the socket does not
    // take is queued for the I/O thread. A failed write is left to the I/O thread's write, which meets
    // the same failure and closes. Returns 0.
    int Write(const std::uint8_t* bytes, std::uint32_t length);
    // Closes once: later calls do nothing, so OnClose runs at most once per connection. On the I/O
    // thread, or when no thread runs the io_context.
    void Close(const char* reason);

    boost::asio::ip::tcp::socket& Socket() { return socket_; }
    bool IsClosed() const { return closed_.load(std::memory_order_acquire); }
    // The reason given to the close, or nullptr while the connection is open.
    const char* CloseReason() const { return closeReason_.load(std::memory_order_acquire); }
    // Blocks the write queue holds at the moment, and the bytes queued but not yet written.
    std::size_t WriteBlockCount() const;
    std::uint64_t PendingBytes() const;

protected:
    CTcpConnection(boost::asio::io_context& io, std::uint32_t writeBlockSize, std::uint32_t readBufferSize);
    // Destroyed through the concrete type only (by its last shared reference).
    ~CTcpConnection();

    bool OnIOThread() const;

private:
    // Reading on readiness: reads until the socket has nothing more, delivering each read. False once
    // the connection is closed or its receiver wants no more.
    static bool ReadWhileReadable(void* connection);
    bool ReadWhileReadable();
    void StartRead();
    void HandleRead(const boost::system::error_code& error, std::size_t bytesRead);
    // The rest need sendMutex_ held.
    void Queue(const std::uint8_t* bytes, std::uint32_t length);
    void ScheduleWrite();
    void StartWrite();
    void HandleWrite(const boost::system::error_code& error, std::size_t bytesWritten);
    std::uint8_t* AllocateBlock() const;

    boost::asio::io_context& io_;
    boost::asio::ip::tcp::socket socket_;
    std::unique_ptr<std::uint8_t[]> readBuffer_;
    std::uint32_t readBufferSize_;
    std::uint32_t writeBlockSize_;
    std::shared_ptr<CTcpConnection> self_;
    CReadinessWatch readiness_;
    // The memory of the read under way, of the write under way and of the write handed to the I/O
    // thread from another thread: there is at most one of each, so starting one allocates nothing,
    // whichever thread starts it.
    CHandlerMemory readMemory_;
    CHandlerMemory writeMemory_;
    CHandlerMemory handOffMemory_;

    mutable std::mutex sendMutex_;  // guards everything below but the two atomics
    std::deque<std::unique_ptr<std::uint8_t[]>> writeBlocks_;
    std::uint32_t headOffset_ = 0;
    // 64 bits: a peer that stops reading must not make the count wrap and the queue hand out
    // overwritten bytes.
    std::uint64_t pending_ = 0;
    // A write of the queue has been started or posted and has not yet emptied it.
    bool writeScheduled_ = false;
    // Set by Start once the socket is non-blocking: only then may Write go to the socket directly.
    bool directWrites_ = false;
    std::atomic<bool> closed_{false};
    std::atomic<const char*> closeReason_{nullptr};
};
