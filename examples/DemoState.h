// State that the libraries' callback threads fill in and the main thread waits on, with a bounded wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

template <class State>
class CDemoState {
public:
    // Changes the state under the lock and wakes every waiter.
    template <class Change>
    void Update(Change change) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            change(state_);
        }
        changed_.notify_all();
    }

    // Reads the state under the lock.
    template <class Reader>
    auto Read(Reader read) {
        std::lock_guard<std::mutex> lock(mutex_);
        return read(static_cast<const State&>(state_));
    }

    // Waits until `done(state)` holds; false when `timeout` passed first.
    template <class Done>
    bool WaitFor(Done done, std::chrono::seconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] { return done(static_cast<const State&>(state_)); });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_;
};

#include <string>

// The outcome of one request as its answers arrive: rows seen, the first error, and whether the last
// answer came.
struct DemoAnswer {
    bool done = false;
    int rows = 0;
    int errorId = 0;
    std::string error;  // UTF-8
};
