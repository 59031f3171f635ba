// Waiting for what other threads do: state that callbacks change under one lock and a test waits on.
// Callback objects and observers keep what they saw in a CWaitable (or a CEventRecord, a list of
// events in arrival order) and the test waits for a condition instead of sleeping.
//
//     CEventRecord<int> reasons;                     // filled by a callback on the I/O thread
//     ASSERT_TRUE(reasons.WaitForCount(1));
//     EXPECT_EQ(reasons.Events()[0], 0x1001);
//
// To prove that something did not happen, wait for a marker that comes after it through the same path
// (a later reply on the same queue, a later message on the same connection), then look.
//
// Thread safety: every member may be called from any thread; conditions, reads and changes run under
// the object's lock, so they must not call back into the object or block.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

// Long enough for a loaded machine running under a sanitizer; a passing test never waits for it.
constexpr std::chrono::milliseconds kTestPatience{30000};

// A lock and the condition its waiters sleep on.
class CWaitable {
public:
    // Waits until `done` holds (checked under the lock), at most `patience`; false if it never did.
    template <class Predicate>
    [[nodiscard]] bool WaitUntil(Predicate done, std::chrono::milliseconds patience = kTestPatience) const {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, patience, done);
    }
    // Runs `read` under the lock and returns its result.
    template <class ReadFn>
    auto Read(ReadFn read) const {
        std::lock_guard<std::mutex> lock(mutex_);
        return read();
    }
    // Runs `change` and wakes the waiters, all under the lock: a waiter that returns may destroy this
    // object at once, so nothing of it is touched once the lock is released.
    template <class Change>
    void Note(Change change) {
        std::lock_guard<std::mutex> lock(mutex_);
        change();
        changed_.notify_all();
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
};

// Events in the order they arrived.
template <class Event>
class CEventRecord {
public:
    void Add(Event event) {
        state_.Note([&] { events_.push_back(std::move(event)); });
    }
    [[nodiscard]] bool WaitForCount(std::size_t count, std::chrono::milliseconds patience = kTestPatience) const {
        return state_.WaitUntil([&] { return events_.size() >= count; }, patience);
    }
    // Waits for the first event (from the start) that `match` accepts and returns a copy of it.
    template <class Match>
    [[nodiscard]] std::optional<Event> WaitForMatch(Match match,
                                                    std::chrono::milliseconds patience = kTestPatience) const {
        std::optional<Event> found;
        (void)state_.WaitUntil(
            [&] {
                for (const Event& event : events_) {
                    if (match(event)) {
                        found = event;
                        return true;
                    }
                }
                return false;
            },
            patience);
        return found;
    }
    // Waits until `done` holds for the list of events so far.
    template <class Predicate>
    [[nodiscard]] bool WaitUntil(Predicate done, std::chrono::milliseconds patience = kTestPatience) const {
        return state_.WaitUntil([&] { return done(events_); }, patience);
    }
    std::vector<Event> Events() const {
        return state_.Read([&] { return events_; });
    }
    std::size_t Count() const {
        return state_.Read([&] { return events_.size(); });
    }
    void Clear() {
        state_.Note([&] { events_.clear(); });
    }

private:
    CWaitable state_;
    std::vector<Event> events_;
};

// How many times something happened.
class CEventCounter {
public:
    void Add() {
        state_.Note([&] { ++count_; });
    }
    [[nodiscard]] bool WaitFor(std::size_t count, std::chrono::milliseconds patience = kTestPatience) const {
        return state_.WaitUntil([&] { return count_ >= count; }, patience);
    }
    std::size_t Count() const {
        return state_.Read([&] { return count_; });
    }

private:
    CWaitable state_;
    std::size_t count_ = 0;
};
