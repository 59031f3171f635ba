// Fronts that misbehave as real networks do, for failover tests. Both listen on 127.0.0.1 with an
// ephemeral port and are registered like any front ("127.0.0.1:<port>").
//
//     CUnansweringFront silent;   // a connect to it neither succeeds nor fails
//     CClosingFront closing;      // every connection is accepted and closed at once
//     ASSERT_TRUE(closing.WaitForAccepts(3));
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A listener whose accept queue is full and never drained: the kernel drops every further connection
// request, so a client's connect hangs as it would towards a firewalled or dead host, until the client
// gives up by itself. Throws std::runtime_error when the queue cannot be filled. Used from the test's
// thread only.
class CUnansweringFront {
public:
    CUnansweringFront();
    CUnansweringFront(const CUnansweringFront&) = delete;
    CUnansweringFront& operator=(const CUnansweringFront&) = delete;

    std::string Address() const;

private:
    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor listener_;
    // Connections that completed and sit in the accept queue, keeping it full.
    std::vector<std::unique_ptr<boost::asio::ip::tcp::socket>> fillers_;
};

// Accepts every connection and closes it at once, like a proxy with nothing behind it. Remembers when
// each connection came. Runs on a thread of its own; its methods are safe from any thread.
class CClosingFront {
public:
    using Clock = std::chrono::steady_clock;

    CClosingFront();
    ~CClosingFront();
    CClosingFront(const CClosingFront&) = delete;
    CClosingFront& operator=(const CClosingFront&) = delete;

    std::string Address() const { return address_; }
    // true once `count` connections have been accepted, false after the timeout.
    [[nodiscard]] bool WaitForAccepts(std::size_t count, std::chrono::milliseconds timeout);
    std::vector<Clock::time_point> AcceptTimes() const;

private:
    void AcceptNext();

    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor listener_;
    std::string address_;  // taken before the thread starts, which then alone uses the listener
    mutable std::mutex mutex_;
    std::condition_variable accepted_;
    std::vector<Clock::time_point> acceptTimes_;
    std::thread thread_;
};
