// Memory for the asynchronous operations of one kind that a connection has under way, one at a time
// (its read, its write, the hand-off of a write to the I/O thread), so that starting one allocates
// nothing. Asio takes an operation's memory from the allocator associated with its handler; a handler
// wrapped by BindHandlerMemory names one of these blocks. Asio frees an operation's memory before it
// calls the handler, so the next operation of the same kind, started from inside the handler or
// afterwards, finds the block free again. Should a second operation ask while the block is taken, or
// ask for more than it holds, it gets memory from the heap as before.
//
// Threads: Allocate and Deallocate may be called from any thread; the block is claimed and released
// atomically.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>
#include <utility>

class CHandlerMemory {
public:
    CHandlerMemory() = default;
    CHandlerMemory(const CHandlerMemory&) = delete;
    CHandlerMemory& operator=(const CHandlerMemory&) = delete;

    void* Allocate(std::size_t size) {
        if (size <= sizeof(block_) && !inUse_.exchange(true, std::memory_order_acquire)) {
            return block_;
        }
        return ::operator new(size);
    }

    void Deallocate(void* memory) {
        if (memory == block_) {
            inUse_.store(false, std::memory_order_release);
        } else {
            ::operator delete(memory);
        }
    }

private:
    // Large enough for a socket operation with its handler (a shared pointer and a pointer to this)
    // and Asio's bookkeeping, with room to spare.
    alignas(std::max_align_t) unsigned char block_[256];
    std::atomic<bool> inUse_{false};
};

// The allocator Asio finds through a handler's get_allocator().
template <class T>
class THandlerAllocator {
public:
    using value_type = T;

    explicit THandlerAllocator(CHandlerMemory& memory) : memory_(&memory) {}
    template <class U>
    THandlerAllocator(const THandlerAllocator<U>& other) : memory_(other.memory_) {}

    T* allocate(std::size_t count) { return static_cast<T*>(memory_->Allocate(sizeof(T) * count)); }
    void deallocate(T* pointer, std::size_t /*count*/) { memory_->Deallocate(pointer); }

    template <class U>
    bool operator==(const THandlerAllocator<U>& other) const {
        return memory_ == other.memory_;
    }
    template <class U>
    bool operator!=(const THandlerAllocator<U>& other) const {
        return memory_ != other.memory_;
    }

private:
    template <class U>
    friend class THandlerAllocator;
    CHandlerMemory* memory_;
};

// A handler whose operation lives in `memory`; calls are passed on to `handler`.
template <class Handler>
class THandlerWithMemory {
public:
    using allocator_type = THandlerAllocator<void>;

    THandlerWithMemory(CHandlerMemory& memory, Handler handler) : memory_(&memory), handler_(std::move(handler)) {}

    allocator_type get_allocator() const noexcept { return allocator_type(*memory_); }

    template <class... Args>
    void operator()(Args&&... args) {
        handler_(std::forward<Args>(args)...);
    }

private:
    CHandlerMemory* memory_;
    Handler handler_;
};

template <class Handler>
THandlerWithMemory<Handler> BindHandlerMemory(CHandlerMemory& memory, Handler handler) {
    return THandlerWithMemory<Handler>(memory, std::move(handler));
}
