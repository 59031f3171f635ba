#include "FrontConnector.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/error.hpp>
#include <utility>

#include "FrontAddress.h"
#include "ServerConnection.h"

CFrontConnector::CFrontConnector(boost::asio::io_context& io, CConnectionOwner& owner, std::vector<std::string> fronts,
                                 TransportSettings settings)
    : io_(io),
      settings_(std::move(settings)),
      fronts_(std::move(fronts)),
      owner_(owner),
      reconnectTimer_(io, settings_.reconnectDelay),
      connectTimer_(io),
      resolver_(io) {}

int CFrontConnector::Connect() {
    if (fronts_.empty() || stopping_) {
        return -1;
    }
    index_ = 0;
    auto connection = std::make_shared<CServerConnection>(io_, *this, owner_);
    connecting_ = connection;
    Attempt(connection);
    return 0;
}

boost::asio::ip::tcp::resolver::results_type CFrontConnector::Resolve(const std::string& front) {
    using boost::asio::ip::tcp;
    const std::optional<FrontAddress> address = ParseFrontAddress(front);
    if (!address) {
        return {};
    }
    const std::string service = std::to_string(address->port);
    boost::system::error_code error;
    tcp::resolver::results_type results = resolver_.resolve(
        address->host, service, tcp::resolver::address_configured | tcp::resolver::numeric_service, error);
    if (error || results.empty()) {
        // The address-configured filter ignores loopback addresses, so on a machine whose only
        // address is the loopback it would leave 127.0.0.1 and localhost without any address.
        results = resolver_.resolve(address->host, service, tcp::resolver::numeric_service, error);
    }
    if (error) {
        return {};
    }
    return results;
}

void CFrontConnector::Attempt(const std::shared_ptr<CServerConnection>& connection) {
    if (settings_.onAttempt) {
        settings_.onAttempt(index_);
    }
    const auto endpoints = Resolve(fronts_[index_]);
    if (endpoints.empty()) {
        ScheduleRetry(connection);  // a front that does not resolve is a failed attempt
        return;
    }
    const std::uint64_t attempt = ++attemptSerial_;
    connectTimedOut_ = false;
    boost::asio::async_connect(
        connection->Socket(), endpoints,
        [this, connection](const boost::system::error_code& error, const boost::asio::ip::tcp::endpoint&) {
            HandleConnect(connection, error);
        });
    ArmConnectTimer(attempt, connection);
}

void CFrontConnector::ArmConnectTimer(std::uint64_t attempt, const std::shared_ptr<CServerConnection>& connection) {
    connectTimer_.expires_after(settings_.connectTimeout);
    connectTimer_.async_wait([this, attempt, connection](const boost::system::error_code& error) {
        HandleConnectTimer(error, attempt, connection);
    });
}

void CFrontConnector::HandleConnectTimer(const boost::system::error_code& error, std::uint64_t attempt,
                                         const std::shared_ptr<CServerConnection>& connection) {
    if (error == boost::asio::error::operation_aborted || stopping_ || attempt != attemptSerial_ ||
        CurrentConnection() == connection) {
        return;  // the connect has completed (or a newer one runs): nothing to cut short
    }
    connectTimedOut_ = true;
    boost::system::error_code ignored;
    connection->Socket().close(ignored);  // the connect completes with operation_aborted
}

void CFrontConnector::HandleConnect(const std::shared_ptr<CServerConnection>& connection,
                                    const boost::system::error_code& error) {
    if (stopping_) {
        return;
    }
    const bool timedOut = std::exchange(connectTimedOut_, false);
    if (error == boost::asio::error::operation_aborted && !timedOut) {
        return;
    }
    connectTimer_.cancel();
    if (error || timedOut) {
        // Refused, unreachable, or cut short by the connect timer (even when the connect completed
        // just as the timer closed its socket).
        ScheduleRetry(connection);
        return;
    }
    connecting_.reset();
    connectedAt_ = std::chrono::steady_clock::now();
    {
        std::lock_guard<std::mutex> lock(currentMutex_);
        current_ = connection;
    }
    connection->Activate(connection);
}

void CFrontConnector::ScheduleRetry(const std::shared_ptr<CServerConnection>& connection) {
    reconnectTimer_.expires_after(settings_.reconnectDelay);
    reconnectTimer_.async_wait(
        [this, connection](const boost::system::error_code& error) { HandleReconnectTimer(error, connection); });
}

void CFrontConnector::HandleReconnectTimer(const boost::system::error_code& error,
                                           const std::shared_ptr<CServerConnection>& connection) {
    if (error == boost::asio::error::operation_aborted || stopping_ || CurrentConnection()) {
        return;
    }
    index_ = index_ + 1 >= fronts_.size() ? 0 : index_ + 1;
    Attempt(connection);
}

std::shared_ptr<CServerConnection> CFrontConnector::CurrentConnection() const {
    std::lock_guard<std::mutex> lock(currentMutex_);
    return current_;
}

bool CFrontConnector::ForgetClosed(const CServerConnection& connection) {
    std::lock_guard<std::mutex> lock(currentMutex_);
    if (current_.get() != &connection) {
        return false;  // not ours to replace: an attempt chain is already running
    }
    current_.reset();
    return true;
}

void CFrontConnector::ReplaceLost() {
    if (stopping_) {
        return;
    }
    if (std::chrono::steady_clock::now() - connectedAt_ >= settings_.shortConnectionLife) {
        Connect();
        return;
    }
    // index_ still names the front the lost connection went to: the retry moves on from there.
    auto connection = std::make_shared<CServerConnection>(io_, *this, owner_);
    connecting_ = connection;
    ScheduleRetry(connection);
}

void CFrontConnector::Stop() {
    stopping_ = true;
    std::shared_ptr<CServerConnection> current;
    {
        std::lock_guard<std::mutex> lock(currentMutex_);
        current = std::move(current_);
    }
    if (current) {
        current->Close(kCloseReasonStopped);
    }
    if (connecting_) {
        std::shared_ptr<CServerConnection> connecting = std::move(connecting_);
        connecting->Close(kCloseReasonStopped);
    }
    reconnectTimer_.cancel();
    connectTimer_.cancel();
}
