// Where a connection's heartbeat and silence timers take their time and their waits from. What ships
// uses the steady clock and Asio's timers (SteadyTimerSource); a test may give a source whose time it
// moves itself, so that the heartbeat rules are checked without waiting real seconds.
//
// Thread safety: Now may be called on any thread (senders move the heartbeat deadline from theirs).
// A timer is used on its connection's I/O thread only; its handler runs there.
#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/system/error_code.hpp>
#include <chrono>
#include <functional>
#include <memory>

class CTimerSource {
public:
    using Clock = std::chrono::steady_clock;
    using Handler = std::function<void(const boost::system::error_code&)>;

    // One timer: at most one wait at a time. A cancelled wait's handler is called with
    // boost::asio::error::operation_aborted; destroying the timer cancels its wait.
    class CTimer {
    public:
        virtual ~CTimer() = default;
        virtual void WaitUntil(Clock::time_point deadline, Handler handler) = 0;
        virtual void Cancel() = 0;
    };

    virtual ~CTimerSource() = default;
    virtual Clock::time_point Now() const = 0;
    // A timer whose handlers run on `io`'s thread.
    virtual std::unique_ptr<CTimer> MakeTimer(boost::asio::io_context& io) = 0;
};

// The steady clock and Asio's steady_timer: what every connection uses unless its settings name another.
CTimerSource& SteadyTimerSource();
