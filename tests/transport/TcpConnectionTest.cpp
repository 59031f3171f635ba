// The write queue over a real loopback socket, with small blocks so that it spans several, and the
// reading side: bytes arriving before the start, in bursts larger than the read buffer, and one at a
// time after pauses.
#include <gtest/gtest.h>

#include <boost/asio/error.hpp>
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
#include <string>
#include <thread>
#include <vector>

#include "ReadinessWatch.h"
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

// The reading side's ends: the bytes and the end of the stream arriving together, a close from inside a
// read and from outside one, and an io_context that goes away while the connection still reads.
class Reading : public ::testing::Test {
protected:
    // Counts the bytes and keeps the close; closes itself from inside the read that brings
    // `closeAfter` bytes or more, when set.
    class CReadingConnection final : public CTcpConnection {
    public:
        static constexpr std::uint32_t kReadBuffer = 4096;
        CReadingConnection(boost::asio::io_context& io, std::size_t closeAfter)
            : CTcpConnection(io, 1000, kReadBuffer), closeAfter_(closeAfter) {}
        void OnClose(const char* reason) override {
            std::lock_guard<std::mutex> lock(mutex_);
            ++closes_;
            reason_ = reason;
            changed_.notify_all();
        }
        std::int32_t OnReceive(const std::uint8_t*, std::uint32_t length) override {
            bool closeNow;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                received_ += length;
                ++reads_;
                changed_.notify_all();
                closeNow = closeAfter_ != 0 && received_ >= closeAfter_;
            }
            if (closeNow) {
                Close("closed from inside a read");
                return -1;
            }
            return 0;
        }
        // Waits until closed; the bytes received and the closes by then.
        std::pair<std::size_t, int> WaitForClose() {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait_for(lock, std::chrono::seconds(10), [&] { return closes_ > 0; });
            return {received_, closes_};
        }
        int Reads() {
            std::lock_guard<std::mutex> lock(mutex_);
            return reads_;
        }
        std::string Reason() {
            std::lock_guard<std::mutex> lock(mutex_);
            return reason_;
        }

    private:
        std::size_t closeAfter_;
        std::mutex mutex_;
        std::condition_variable changed_;
        std::size_t received_ = 0;
        int reads_ = 0;
        int closes_ = 0;
        std::string reason_;
    };

    std::shared_ptr<CReadingConnection> Connect(boost::asio::io_context& context, std::size_t closeAfter = 0) {
        using boost::asio::ip::tcp;
        auto connection = std::make_shared<CReadingConnection>(context, closeAfter);
        tcp::acceptor acceptor(context, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0));
        connection->Socket().connect(acceptor.local_endpoint());
        acceptor.accept(peer);
        return connection;
    }

    void Run(boost::asio::io_context& context) {
        runner = std::thread([&context] { context.run(); });
    }

    // True once the peer's reads end in the end of the stream or a reset: the connection is closed
    // for the other side, every descriptor of its socket included.
    bool PeerSeesTheClose() {
        std::uint8_t sink[4096];
        boost::system::error_code error;
        while (!error) {
            peer.read_some(boost::asio::buffer(sink), error);
        }
        return error == boost::asio::error::eof || error == boost::asio::error::connection_reset;
    }

    void TearDown() override {
        work.reset();
        if (runner.joinable()) {
            runner.join();
        }
    }

    boost::asio::io_context io;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work{io.get_executor()};
    boost::asio::io_context peerIo;
    boost::asio::ip::tcp::socket peer{peerIo};
    std::thread runner;
};

// Written and closed before the connection reads at all, so the last bytes and the end of the stream
// are there together: every byte is delivered, then the close, once. Sizes around the read buffer: a
// read that fills it is followed by another, which finds the end.
TEST_F(Reading, BytesFollowedAtOnceByTheEndAreDeliveredThenTheCloseOnce) {
    for (const std::size_t size : {std::size_t{1}, std::size_t{4095}, std::size_t{4096}, std::size_t{4097},
                                   std::size_t{3 * 4096}, std::size_t{100000}}) {
        boost::asio::io_context context;
        auto connection = Connect(context);
        boost::asio::write(peer, boost::asio::buffer(Pattern(size, size)));
        peer.close();
        connection->Start(connection);
        std::thread reader([&context] { context.run(); });
        const auto [received, closes] = connection->WaitForClose();
        EXPECT_EQ(received, size) << size << " bytes";
        EXPECT_EQ(closes, 1) << size << " bytes";
        EXPECT_EQ(connection->Reason(), "") << size << " bytes";
        reader.join();  // nothing is left to run: the connection has stopped reading
    }
}

TEST_F(Reading, ACloseFromInsideAReadEndsTheReadingAndTheConnectionForThePeer) {
    auto connection = Connect(io, 1);
    connection->Start(connection);
    Run(io);
    boost::asio::write(peer, boost::asio::buffer(Pattern(10, 1)));
    EXPECT_EQ(connection->WaitForClose().second, 1);
    // More bytes find nobody reading: the peer learns of the close instead.
    boost::system::error_code ignored;
    boost::asio::write(peer, boost::asio::buffer(Pattern(100, 2)), ignored);
    EXPECT_TRUE(PeerSeesTheClose());
    EXPECT_EQ(connection->Reads(), 1);
    EXPECT_EQ(connection->Reason(), "closed from inside a read");
}

TEST_F(Reading, ACloseFromOutsideAReadEndsTheConnectionForThePeer) {
    auto connection = Connect(io);
    connection->Start(connection);
    Run(io);
    boost::asio::write(peer, boost::asio::buffer(Pattern(10, 1)));
    boost::asio::post(io, [connection] { connection->Close("closed by a timer"); });
    EXPECT_EQ(connection->WaitForClose().second, 1);
    EXPECT_TRUE(PeerSeesTheClose());
    EXPECT_EQ(connection->Reason(), "closed by a timer");
}

// The reactor shutting down (its io_context destroyed) with the registration in place lets go of the
// watch's target and, with the watch, of the duplicate descriptor: the socket closes for the peer.
TEST_F(Reading, AReactorShutDownWhileWatchingLetsGoOfTheTargetAndTheDuplicate) {
    std::weak_ptr<int> target;
    {
        CReadinessWatch watch;
        {
            boost::asio::io_context context;
            using boost::asio::ip::tcp;
            tcp::acceptor acceptor(context, tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), 0));
            tcp::socket mine(context);
            mine.connect(acceptor.local_endpoint());
            acceptor.accept(peer);
            auto keepAlive = std::make_shared<int>(0);
            target = keepAlive;
            const bool watching = watch.Watch(
                context, static_cast<int>(mine.native_handle()), [](void*) { return true; }, keepAlive.get(),
                keepAlive);
#if defined(__linux__)
            ASSERT_TRUE(watching);
#else
            ASSERT_FALSE(watching);  // read with asynchronous operations instead
            return;
#endif
            keepAlive.reset();
            EXPECT_FALSE(target.expired()) << "the registration holds the target";
            mine.close();
        }
        EXPECT_TRUE(target.expired());
    }
    EXPECT_TRUE(PeerSeesTheClose());
}

}  // namespace
