// The write queue over a real loopback socket, with small blocks so that it spans several, and the
// reading side: bytes arriving before the start, in bursts larger than the read buffer, and one at a
// time after pauses.
#include <gtest/gtest.h>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "TcpConnection.h"

namespace {

class CSinkConnection final : public CTcpConnection {
public:
    CSinkConnection(boost::asio::io_context& io, std::uint32_t blockSize) : CTcpConnection(io, blockSize, 4096) {}
    void OnClose(const char*) override {}
    std::int32_t OnReceive(const std::uint8_t*, std::uint32_t) override { return 0; }
};

std::vector<std::uint8_t> Pattern(std::size_t size, std::size_t seed) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>((seed + i) % 251);
    }
    return bytes;
}

class WriteQueue : public ::testing::Test {
protected:
    static constexpr std::uint32_t kBlock = 1000;

    void SetUp() override {
        using boost::asio::ip::tcp;
        tcp::acceptor acceptor(io, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0));
        connection->Socket().connect(acceptor.local_endpoint());
        acceptor.accept(peer);
    }

    void TearDown() override {
        boost::asio::post(io, [this] { connection->Close(""); });
        work.reset();
        if (runner.joinable()) {
            runner.join();
        }
    }

    void RunIO() {
        runner = std::thread([this] { io.run(); });
    }

    // Reads the queue's state on the I/O thread.
    std::pair<std::size_t, std::uint64_t> BlocksAndPending() {
        std::promise<std::pair<std::size_t, std::uint64_t>> state;
        auto result = state.get_future();
        boost::asio::post(io, [&] { state.set_value({connection->WriteBlockCount(), connection->PendingBytes()}); });
        return result.get();
    }

    boost::asio::io_context io;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work{io.get_executor()};
    std::shared_ptr<CSinkConnection> connection = std::make_shared<CSinkConnection>(io, kBlock);
    boost::asio::ip::tcp::socket peer{io};
    std::thread runner;
};

TEST_F(WriteQueue, SendsSpanningBlocksLeaveInOrderAndReleaseTheBlocks) {
    const std::vector<std::vector<std::uint8_t>> sends = {
        Pattern(2500, 0),                                     // more than one block by itself
        Pattern(700, 1),                                      // fills the third block past its end
        Pattern(1, 2),    Pattern(3000, 3), Pattern(799, 4),  // ends exactly on a block boundary (7000 bytes)
        Pattern(10, 5),                                       // then opens a new block
    };
    std::vector<std::uint8_t> expected;
    for (const auto& bytes : sends) {
        // Nothing is written before the loop runs: every send lands behind the previous ones.
        EXPECT_EQ(connection->Send(bytes.data(), static_cast<std::uint32_t>(bytes.size())), 0);
        expected.insert(expected.end(), bytes.begin(), bytes.end());
    }
    EXPECT_EQ(connection->PendingBytes(), expected.size());
    EXPECT_EQ(connection->WriteBlockCount(), (expected.size() + kBlock - 1) / kBlock);

    RunIO();
    std::vector<std::uint8_t> received(expected.size());
    boost::asio::read(peer, boost::asio::buffer(received));
    EXPECT_EQ(received, expected);

    // The last completions may still be on their way after the bytes are in.
    auto state = BlocksAndPending();
    for (int i = 0; i < 200 && state.second != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        state = BlocksAndPending();
    }
    EXPECT_EQ(state.second, 0u);
    EXPECT_EQ(state.first, 1u);  // written blocks are released, the first one stays for reuse
}

TEST_F(WriteQueue, QueueIsReusedAfterDraining) {
    RunIO();
    for (std::size_t round = 0; round < 3; ++round) {
        const auto bytes = Pattern(1500 + round * 333, round);
        boost::asio::post(io, [&] { connection->Send(bytes.data(), static_cast<std::uint32_t>(bytes.size())); });
        std::vector<std::uint8_t> received(bytes.size());
        boost::asio::read(peer, boost::asio::buffer(received));
        EXPECT_EQ(received, bytes) << "round " << round;
    }
}

// Write goes to the socket from the calling thread when nothing is queued: here the I/O thread does
// not even run. Whatever is queued or does not fit is written by the I/O thread, in the order of the calls.
TEST_F(WriteQueue, WriteGoesOutAtOnceUnlessSomethingIsQueuedAndKeepsTheOrder) {
    connection->Start(connection);
    const auto first = Pattern(300, 7);
    EXPECT_EQ(connection->Write(first.data(), static_cast<std::uint32_t>(first.size())), 0);
    EXPECT_EQ(connection->PendingBytes(), 0u);
    std::vector<std::uint8_t> received(first.size());
    boost::asio::read(peer, boost::asio::buffer(received));
    EXPECT_EQ(received, first);

    // Queued first, so everything after it waits behind it, even a write far larger than the
    // socket's buffer; then Write goes straight out again once the queue has drained.
    const auto queued = Pattern(500, 8);
    const auto behind = Pattern(100, 9);
    const auto large = Pattern(8 << 20, 10);
    EXPECT_EQ(connection->Send(queued.data(), static_cast<std::uint32_t>(queued.size())), 0);
    EXPECT_EQ(connection->Write(behind.data(), static_cast<std::uint32_t>(behind.size())), 0);
    EXPECT_EQ(connection->PendingBytes(), queued.size() + behind.size());
    EXPECT_EQ(connection->Write(large.data(), static_cast<std::uint32_t>(large.size())), 0);
    std::vector<std::uint8_t> expected = queued;
    expected.insert(expected.end(), behind.begin(), behind.end());
    expected.insert(expected.end(), large.begin(), large.end());
    RunIO();
    received.assign(expected.size(), 0);
    boost::asio::read(peer, boost::asio::buffer(received));
    EXPECT_TRUE(received == expected);
}

TEST_F(WriteQueue, PeerClosingEndsTheConnectionWithTheEmptyReason) {
    class CClosingConnection final : public CTcpConnection {
    public:
        explicit CClosingConnection(boost::asio::io_context& io) : CTcpConnection(io, 1000, 4096) {}
        void OnClose(const char* reason) override { closed.set_value(reason); }
        std::int32_t OnReceive(const std::uint8_t*, std::uint32_t) override { return 0; }
        std::promise<std::string> closed;
    };
    using boost::asio::ip::tcp;
    auto closing = std::make_shared<CClosingConnection>(io);
    tcp::acceptor acceptor(io, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0));
    closing->Socket().connect(acceptor.local_endpoint());
    tcp::socket other(io);
    acceptor.accept(other);
    auto reason = closing->closed.get_future();
    closing->Start(closing);
    RunIO();
    other.close();
    ASSERT_EQ(reason.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(reason.get(), "");
    EXPECT_TRUE(closing->IsClosed());
}

// Keeps every byte it receives; Received waits until `count` bytes are in.
class CCollectingConnection final : public CTcpConnection {
public:
    static constexpr std::uint32_t kReadBuffer = 4096;
    explicit CCollectingConnection(boost::asio::io_context& io) : CTcpConnection(io, 1000, kReadBuffer) {}
    void OnClose(const char*) override {}
    std::int32_t OnReceive(const std::uint8_t* bytes, std::uint32_t length) override {
        std::lock_guard<std::mutex> lock(mutex_);
        received_.insert(received_.end(), bytes, bytes + length);
        arrived_.notify_all();
        return 0;
    }
    std::vector<std::uint8_t> Received(std::size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait_for(lock, std::chrono::seconds(10), [&] { return received_.size() >= count; });
        return received_;
    }

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::uint8_t> received_;
};

// Every byte arrives once and in order however the peer's writes fall: the first read finds bytes
// that came before the start, a burst fills the read buffer several times over, and after each pause
// the next read waits for the socket to have bytes again.
TEST_F(WriteQueue, ReadsEveryByteInOrderAfterPausesAndBursts) {
    struct PeerWrite {
        std::size_t size;
        bool waitUntilReceived;  // a pause: the connection has drained the socket before the next write
    };
    const std::vector<PeerWrite> writes = {
        {100, true},                                           // sent before the start
        {1, true},    {37, true},           {4096, true},      // exactly one read buffer
        {4097, true}, {5 * 4096 + 3, true},                    // more than the buffer holds
        {10, false},  {20, false},          {3 * 4096, true},  // back to back
        {1, true},
    };
    auto collecting = std::make_shared<CCollectingConnection>(io);
    using boost::asio::ip::tcp;
    tcp::acceptor acceptor(io, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0));
    collecting->Socket().connect(acceptor.local_endpoint());
    tcp::socket other(io);
    acceptor.accept(other);

    std::vector<std::uint8_t> expected;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const auto bytes = Pattern(writes[i].size, i);
        boost::asio::write(other, boost::asio::buffer(bytes));
        expected.insert(expected.end(), bytes.begin(), bytes.end());
        if (i == 0) {
            collecting->Start(collecting);
            RunIO();
        }
        if (writes[i].waitUntilReceived) {
            ASSERT_EQ(collecting->Received(expected.size()), expected) << "after write " << i;
        }
    }
    boost::asio::post(io, [collecting] { collecting->Close(""); });
}

}  // namespace
