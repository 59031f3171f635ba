#include "TraderDispatchQueue.h"

#include <chrono>
#include <system_error>

namespace {
constexpr std::chrono::seconds kKeepAlivePeriod{1};
}

CTraderDispatchQueue::CTraderDispatchQueue() : work_(std::make_unique<WorkGuard>(boost::asio::make_work_guard(io_))) {}

CTraderDispatchQueue::~CTraderDispatchQueue() {
    // Normally the owner has shut down already; an owner destroyed on the dispatch thread has
    // detached it.
    if (thread_.joinable()) {
        Shutdown();
    }
}

void CTraderDispatchQueue::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_.joinable() || io_.stopped()) {
        return;
    }
    keepAlive_ = std::make_unique<boost::asio::steady_timer>(io_);
    ArmKeepAlive();
    thread_ = std::thread([this] { Run(); });  // throws std::system_error when no thread can be made
    threadId_ = thread_.get_id();
    running_ = true;
}

void CTraderDispatchQueue::ArmKeepAlive() {
    keepAlive_->expires_after(kKeepAlivePeriod);
    keepAlive_->async_wait([this](const boost::system::error_code& error) {
        if (error == boost::asio::error::operation_aborted) {
            return;
        }
        ArmKeepAlive();
    });
}

void CTraderDispatchQueue::Run() {
    for (;;) {
        try {
            io_.run();
            break;
        } catch (...) {
            // An exception thrown by the application's callback costs only that reply.
        }
    }
    // Timer handlers are gone with the stopped queue; the timer itself belongs to this thread.
    keepAlive_.reset();
    std::function<void()> onExit;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        onExit = std::move(onThreadExit_);
    }
    if (!onExit) {
        return;
    }
    // Released from one of its own work items: nobody can join this thread, so it lets itself go
    // before its owner (and with it this queue) is destroyed.
    ReleaseJoiners();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        thread_.detach();
    }
    onExit();
}

int CTraderDispatchQueue::Join() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!running_) {
        throw std::system_error(std::make_error_code(std::errc::invalid_argument), "Join");
    }
    if (std::this_thread::get_id() == threadId_) {
        throw std::system_error(std::make_error_code(std::errc::resource_deadlock_would_occur), "Join");
    }
    ++joiners_;
    changed_.wait(lock, [this] { return !running_; });
    --joiners_;
    changed_.notify_all();
    return 0;
}

bool CTraderDispatchQueue::OnDispatchThread() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return running_ && std::this_thread::get_id() == threadId_;
}

int CTraderDispatchQueue::WaitingJoiners() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return joiners_;
}

bool CTraderDispatchQueue::Shutdown(std::function<void()> onThreadExit) {
    if (OnDispatchThread()) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            onThreadExit_ = std::move(onThreadExit);
        }
        work_.reset();
        io_.stop();
        return false;
    }
    work_.reset();
    io_.stop();
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        thread = std::move(thread_);
    }
    if (thread.joinable()) {
        thread.join();
    }
    ReleaseJoiners();
    return true;
}

void CTraderDispatchQueue::ReleaseJoiners() {
    std::unique_lock<std::mutex> lock(mutex_);
    running_ = false;
    changed_.notify_all();
    changed_.wait(lock, [this] { return joiners_ == 0; });
}
