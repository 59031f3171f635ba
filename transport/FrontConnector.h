// Keeps at most one connection to one of the registered fronts. The first attempt starts at the first
// front; a failed attempt (refused, unresolved, or not connected within the connect timeout) waits the
// reconnect delay and moves on to the next front, wrapping around, without end and without telling the
// owner; a lost connection is retried at once from the first front with a new connection object, unless
// it was lost within its short life: then it counts as a failed attempt on its front. Runs on the I/O
// thread, except the first Connect (on the thread that starts the client) and CurrentConnection (any
// thread).
#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/system/error_code.hpp>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TransportSettings.h"

class CConnectionOwner;
class CServerConnection;

class CFrontConnector {
public:
    CFrontConnector(boost::asio::io_context& io, CConnectionOwner& owner, std::vector<std::string> fronts,
                    TransportSettings settings = {});
    CFrontConnector(const CFrontConnector&) = delete;
    CFrontConnector& operator=(const CFrontConnector&) = delete;

    // Starts an attempt at the first front with a new connection. 0, or -1 when there is no front or
    // the connector is stopping.
    int Connect();
    // Closes the current connection (and one being connected) with "Stoped", without notification,
    // and cancels the pending retry. Nothing is attempted afterwards. Call it on the I/O thread, or
    // when no thread runs the io_context.
    void Stop();
    bool IsStopping() const { return stopping_.load(); }

    // The connection that is up, or empty. Safe from any thread.
    std::shared_ptr<CServerConnection> CurrentConnection() const;
    // Called by a connection that has closed (not during a stop), before it reports the loss: once the
    // owner hears of it, requests are refused instead of being accepted for a connection that is gone.
    // true when `connection` was the current one, which then leaves it to ReplaceLost.
    bool ForgetClosed(const CServerConnection& connection);
    // After the current connection was lost (and forgotten): a connection that had been up for its
    // short life or longer is replaced at once from the first front (Connect); one lost sooner is
    // treated as a failed attempt on its front, so a front that accepts and closes is tried about
    // once per reconnect delay and the fronts after it get their turn.
    void ReplaceLost();

    const TransportSettings& Settings() const { return settings_; }

private:
    // Resolves the front at index_ and connects `connection` to it; a front that does not resolve
    // counts as a failed attempt.
    void Attempt(const std::shared_ptr<CServerConnection>& connection);
    void HandleConnect(const std::shared_ptr<CServerConnection>& connection, const boost::system::error_code& error);
    void ScheduleRetry(const std::shared_ptr<CServerConnection>& connection);
    // Bounds the attempt numbered `attempt`: if it is still connecting when the timeout passes, its
    // socket is closed and the attempt fails.
    void ArmConnectTimer(std::uint64_t attempt, const std::shared_ptr<CServerConnection>& connection);
    void HandleConnectTimer(const boost::system::error_code& error, std::uint64_t attempt,
                            const std::shared_ptr<CServerConnection>& connection);
    void HandleReconnectTimer(const boost::system::error_code& error,
                              const std::shared_ptr<CServerConnection>& connection);
    boost::asio::ip::tcp::resolver::results_type Resolve(const std::string& front);

    boost::asio::io_context& io_;
    TransportSettings settings_;
    std::vector<std::string> fronts_;
    std::size_t index_ = 0;
    CConnectionOwner& owner_;
    mutable std::mutex currentMutex_;  // guards current_: application threads read it to post requests
    std::shared_ptr<CServerConnection> current_;
    std::shared_ptr<CServerConnection> connecting_;  // the object of the attempt in progress, if any
    std::atomic<bool> stopping_{false};
    // Numbers the asynchronous connects, so that a connect timer that expires as its connect completes
    // cannot cut the next one short.
    std::uint64_t attemptSerial_ = 0;
    bool connectTimedOut_ = false;                         // the attempt in progress was cut short by its timer
    std::chrono::steady_clock::time_point connectedAt_{};  // when current_ came up
    boost::asio::steady_timer reconnectTimer_;
    boost::asio::steady_timer connectTimer_;
    boost::asio::ip::tcp::resolver resolver_;
};
