// A timer source whose time only the test moves: connections given it (TransportSettings::timers) see
// heartbeat intervals and silences pass when the test says so, without waiting real seconds. A wait
// that comes due is handed to its connection's I/O thread; one not due never completes.
//
// Thread safety: Now, Advance and PendingWaits may be called on any thread; timers are used on their
// I/O thread, as a connection does.
#pragma once

#include <boost/asio/error.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "TimerSource.h"

class CManualTimerSource final : public CTimerSource {
public:
    CManualTimerSource() : state_(std::make_shared<CState>()) {}
    // The waits left own their handlers, which may own connections whose timers come back to the state.
    ~CManualTimerSource() override { state_->Drop(); }

    Clock::time_point Now() const override {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->now;
    }
    // Moves the time on and hands every wait that has come due to its I/O thread.
    void Advance(Clock::duration step) { state_->Advance(step); }
    std::size_t PendingWaits() const {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->waits.size();
    }
    std::unique_ptr<CTimer> MakeTimer(boost::asio::io_context& io) override {
        return std::make_unique<CManualTimer>(state_, io);
    }

private:
    struct Wait {
        const void* timer;
        boost::asio::io_context* io;
        Clock::time_point deadline;
        Handler handler;
    };

    // Shared with the timers, which may outlive the source inside handlers still queued on an I/O thread.
    struct CState {
        std::mutex mutex;
        Clock::time_point now{};  // starts at the clock's epoch
        std::vector<Wait> waits;

        void Add(Wait wait) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (wait.deadline > now) {
                    waits.push_back(std::move(wait));
                    return;
                }
            }
            Complete(std::move(wait), {});  // already due
        }
        void Advance(Clock::duration step) {
            std::vector<Wait> due;
            {
                std::lock_guard<std::mutex> lock(mutex);
                now += step;
                Take(due, [&](const Wait& wait) { return wait.deadline <= now; });
            }
            for (Wait& wait : due) Complete(std::move(wait), {});
        }
        void Cancel(const void* timer) {
            std::vector<Wait> cancelled;
            {
                std::lock_guard<std::mutex> lock(mutex);
                Take(cancelled, [&](const Wait& wait) { return wait.timer == timer; });
            }
            for (Wait& wait : cancelled) Complete(std::move(wait), boost::asio::error::operation_aborted);
        }
        void Forget(const void* timer) {
            std::vector<Wait> forgotten;
            {
                std::lock_guard<std::mutex> lock(mutex);
                Take(forgotten, [&](const Wait& wait) { return wait.timer == timer; });
            }
        }
        void Drop() {
            std::vector<Wait> left;
            {
                std::lock_guard<std::mutex> lock(mutex);
                left.swap(waits);
            }
            left.clear();  // outside the lock: a handler's connection may cancel its timers here
        }

    private:
        template <class Match>
        void Take(std::vector<Wait>& into, Match match) {
            for (auto it = waits.begin(); it != waits.end();) {
                if (match(*it)) {
                    into.push_back(std::move(*it));
                    it = waits.erase(it);
                } else {
                    ++it;
                }
            }
        }
        static void Complete(Wait wait, boost::system::error_code error) {
            boost::asio::post(*wait.io, [handler = std::move(wait.handler), error] { handler(error); });
        }
    };

    class CManualTimer final : public CTimer {
    public:
        CManualTimer(std::shared_ptr<CState> state, boost::asio::io_context& io) : state_(std::move(state)), io_(io) {}
        // Nothing is posted from here: the I/O service may be going away with the connection.
        ~CManualTimer() override { state_->Forget(this); }
        void WaitUntil(Clock::time_point deadline, Handler handler) override {
            Cancel();
            state_->Add({this, &io_, deadline, std::move(handler)});
        }
        void Cancel() override { state_->Cancel(this); }

    private:
        std::shared_ptr<CState> state_;
        boost::asio::io_context& io_;
    };

    std::shared_ptr<CState> state_;
};
