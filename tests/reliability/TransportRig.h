// A service client cut down to its transport: the connector on an I/O thread of the test's own, an owner
// that records every event with the reason its connection closed with, and a way to send messages on
// the current connection. Lets fault tests look at what the libraries keep to themselves: close
// reasons, the write queue, which front each attempt goes to.
#pragma once

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "APIPackage.h"
#include "ConnectionOwner.h"
#include "FrontConnector.h"
#include "ServerConnection.h"

// One received message, as the owner saw it.
struct RigMessage {
    std::uint16_t serviceNo;
    std::int32_t requestId;
    std::int32_t endFlag;
};

class CTransportRig final : public CConnectionOwner {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kPatience{20};  // generous: the suite runs under sanitizers on 2 cores

    CTransportRig(std::vector<std::string> fronts, TransportSettings settings)
        : work_(boost::asio::make_work_guard(io_)), connector_(io_, *this, std::move(fronts), std::move(settings)) {
        connector_.Connect();
        thread_ = std::thread([this] { io_.run(); });
    }

    ~CTransportRig() {
        boost::asio::post(io_, [this] { connector_.Stop(); });
        work_.reset();
        io_.stop();  // after the stop above or before it: either way nothing of ours runs afterwards
        thread_.join();
        connector_.Stop();
    }

    CTransportRig(const CTransportRig&) = delete;
    CTransportRig& operator=(const CTransportRig&) = delete;

    // ---- CConnectionOwner, on the rig's I/O thread ----
    void OnFrontConnected() override {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        up_ = connector_.CurrentConnection();
        ++connected_;
        changed_.notify_all();
    }
    void OnFrontDisconnected() override {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        const std::shared_ptr<CServerConnection> closed = std::move(up_);
        ++disconnected_;
        closeReasons_.emplace_back(!closed                 ? "<no connection>"
                                   : closed->CloseReason() ? closed->CloseReason()
                                                           : "<open>");
        changed_.notify_all();
    }
    int DispatchPackage(CAPIPackage& package) override {
        if (onMessage_) onMessage_(package);
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        messages_.push_back({package.ServiceNo, package.RequestID, package.EndFlag});
        changed_.notify_all();
        return 0;
    }

    // Before anything arrives: sees every message on the I/O thread, before it is recorded.
    void SetOnMessage(std::function<void(CAPIPackage&)> onMessage) { onMessage_ = std::move(onMessage); }

    // Builds a message on the I/O thread on the current connection; false when there is none.
    bool Send(std::uint16_t serviceNo, std::int32_t requestId, std::function<int(CAPIPackage&)> writeBody = {}) {
        std::shared_ptr<CServerConnection> connection = connector_.CurrentConnection();
        if (!connection) return false;
        boost::asio::post(io_, [connection, serviceNo, requestId, writeBody = std::move(writeBody)] {
            CAPIPackage package;
            package.Begin(serviceNo, requestId, connection->PackageBuffer());
            if (writeBody && writeBody(package) < 0) return;
            connection->SendPackage(package);
        });
        return true;
    }

    // Runs `work` on the I/O thread and returns its result.
    template <class Work>
    auto OnIOThread(Work work) -> decltype(work()) {
        std::packaged_task<decltype(work())()> task(std::move(work));
        auto result = task.get_future();
        boost::asio::post(io_, [&task] { task(); });
        return result.get();
    }

    std::shared_ptr<CServerConnection> Current() const { return connector_.CurrentConnection(); }

    // Waits until `done()` holds, looked at under the rig's lock after every event.
    bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = kPatience) {
        std::unique_lock<std::recursive_mutex> lock(mutex_);
        return changed_.wait_for(lock, timeout, done);
    }
    bool WaitForConnections(int count) {
        return WaitFor([&] { return connected_ >= count; });
    }
    bool WaitForService(std::uint16_t serviceNo, std::size_t occurrences = 1) {
        return WaitFor([&] { return CountLocked(serviceNo) >= occurrences; });
    }

    int Connected() const {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return connected_;
    }
    int Disconnected() const {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return disconnected_;
    }
    std::vector<std::string> CloseReasons() const {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return closeReasons_;
    }
    std::vector<RigMessage> Messages() const {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return messages_;
    }
    std::size_t Count(std::uint16_t serviceNo) const {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return CountLocked(serviceNo);
    }

private:
    std::size_t CountLocked(std::uint16_t serviceNo) const {
        std::size_t n = 0;
        for (const RigMessage& m : messages_) n += m.serviceNo == serviceNo;
        return n;
    }

    boost::asio::io_context io_;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_;
    CFrontConnector connector_;
    std::function<void(CAPIPackage&)> onMessage_;
    // Recursive: the conditions waited for read the counts through the accessors below.
    mutable std::recursive_mutex mutex_;
    std::condition_variable_any changed_;
    int connected_ = 0;
    int disconnected_ = 0;
    std::shared_ptr<CServerConnection> up_;  // the connection last reported up
    std::vector<std::string> closeReasons_;
    std::vector<RigMessage> messages_;
    std::thread thread_;  // last: started once everything it uses exists
};
