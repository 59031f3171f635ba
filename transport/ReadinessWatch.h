// Calls back each time the I/O thread's reactor finds a socket readable, through a registration made
// once for as long as the socket is read. Nothing is started per read: a round trip costs the reactor's
// wait and the read itself. (A read started through the socket's own asynchronous operations first
// tries the socket once more, which comes back empty on nearly every round trip; a readiness wait
// started through them re-registers the socket with the reactor each time.)
//
// The registration is of a duplicate of the socket's descriptor, so the socket object keeps its own
// registration for writes and its close, and it is level-triggered: the reactor reports the socket
// again while anything is left in it, an end of stream that arrived with the last bytes included, so
// one read per report is enough. Available with the epoll reactor of the Boost release the library is
// built against, whose registrations that stay in place across events are reached through its detail
// interface; elsewhere Watch returns false and the caller reads with asynchronous operations.
//
// Threads: Watch, Unwatch and the callback run on the I/O thread that runs the io_context (Unwatch may
// also run when no thread runs it). The callback runs as a completion, outside the reactor's locks, and
// may do anything, Unwatch included.
#pragma once

#include <boost/asio/io_context.hpp>
#include <cstddef>
#include <memory>

class CReadinessWatch {
public:
    // Reads on from the socket; returns false to end the registration (the socket is done with).
    using Callback = bool (*)(void* target);

    enum class ReadResult {
        Received,    // `received` bytes, at least one
        WouldBlock,  // nothing there now: the next arrival is reported
        Ended,       // end of stream or a failure: nothing more will come
    };

    CReadinessWatch() = default;
    CReadinessWatch(const CReadinessWatch&) = delete;
    CReadinessWatch& operator=(const CReadinessWatch&) = delete;
    // Closes the duplicate when the reactor was shut down with the registration in place.
    ~CReadinessWatch();

    // Registers a duplicate of `socket` and calls `callback(target)` whenever it turns readable, until
    // the callback returns false or Unwatch. `keepAlive` owns `target` and is held by the registration,
    // so the target outlives every call. False when this platform cannot watch or the registration
    // fails: then nothing is registered.
    [[nodiscard]] bool Watch(boost::asio::io_context& io, int socket, Callback callback, void* target,
                             std::shared_ptr<void> keepAlive);
    // Ends the registration and closes the duplicate. Does nothing when not watching. The caller keeps
    // the target alive across the call: the registration's reference to it goes here.
    void Unwatch();
    bool IsWatching() const { return state_ == State::Watching; }

    // One non-blocking read from the socket into `buffer`; only while watching.
    [[nodiscard]] ReadResult ReadSome(void* buffer, std::size_t size, std::size_t& received) const;

private:
    class COperation;
    enum class State { Idle, Watching, Dropped };

    // The reactor's report: runs the callback; false ends the registration.
    bool OnReadable();
    // Queues the operation for the next report.
    void Requeue(COperation* operation);
    // Takes the registration down while its operation is not queued, and closes the duplicate.
    void End();
    // The reactor let go of the registration without ending it (its shutdown).
    void Dropped();
    void Release();

    State state_ = State::Idle;
    int descriptor_ = -1;  // the duplicate
    Callback callback_ = nullptr;
    void* target_ = nullptr;
    void* reactor_ = nullptr;       // the io_context's reactor
    void* scheduler_ = nullptr;     // and its scheduler
    void* registration_ = nullptr;  // the reactor's record of the duplicate
    bool inCallback_ = false;
    bool unwatching_ = false;
};
