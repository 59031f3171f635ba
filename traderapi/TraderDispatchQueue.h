// The private queue on which the trading facade delivers the replies it builds by itself: one
// io_context run by one thread, kept alive by a work guard and a one-second keep-alive timer.
//
// Threads: Post may be called from any thread at any time (items posted before Start wait for the
// thread). Start and Shutdown are called by the owner; Join by any application thread.
#pragma once

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

class CTraderDispatchQueue final {
public:
    CTraderDispatchQueue();
    ~CTraderDispatchQueue();
    CTraderDispatchQueue(const CTraderDispatchQueue&) = delete;
    CTraderDispatchQueue& operator=(const CTraderDispatchQueue&) = delete;

    // Arms the keep-alive timer and starts the thread. A thread that cannot be created leaves the
    // std::system_error of the standard library (resource temporarily unavailable) to the caller.
    // Does nothing when the thread was already started.
    void Start();

    // Queues a work item for the dispatch thread; never fails. An item still queued when the queue is
    // shut down never runs. The item checks that itself: on Windows the I/O completion port still hands
    // out the items queued ahead of the io_context's stop.
    template <class Handler>
    void Post(Handler&& handler) {
        boost::asio::post(io_, [this, item = std::forward<Handler>(handler)]() mutable {
            if (!io_.stopped()) {
                item();
            }
        });
    }

    // Blocks until the thread has ended, which happens only through Shutdown; returns 0. Throws the
    // standard library's invalid-argument system error when no thread runs, and its would-deadlock
    // error when called on the dispatch thread itself.
    int Join();

    bool OnDispatchThread() const;
    // How many threads are blocked in Join now, so that a teardown can be started once one waits.
    int WaitingJoiners() const;

    // Stops the queue: the item running finishes, queued ones are discarded. Then, called from any
    // thread but the dispatch thread, waits for the thread to end and for every Join to return, and
    // returns true: the queue may be destroyed. Called on the dispatch thread (from a work item), it
    // returns false at once; `onThreadExit` then runs on the dispatch thread after the thread has left
    // the queue and every Join has returned, and may destroy the queue's owner.
    bool Shutdown(std::function<void()> onThreadExit = {});

private:
    using WorkGuard = boost::asio::executor_work_guard<boost::asio::io_context::executor_type>;

    void Run();
    void ArmKeepAlive();
    // Marks the thread as ended, wakes the joiners and waits until they have left.
    void ReleaseJoiners();

    boost::asio::io_context io_;
    std::unique_ptr<WorkGuard> work_;
    std::unique_ptr<boost::asio::steady_timer> keepAlive_;  // touched on the dispatch thread once started

    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable changed_;
    std::thread thread_;
    std::thread::id threadId_;
    bool running_ = false;  // started and not yet ended
    int joiners_ = 0;
    std::function<void()> onThreadExit_;
};
