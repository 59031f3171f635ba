#include "BackendClient.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/post.hpp>
#include <system_error>

#include "FrontConnector.h"
#include "ServerConnection.h"
#include "SocketLibrary.h"

// Everything the I/O thread works on. Shared by the client and its thread, so that a client destroyed
// on its own I/O thread leaves the thread something valid to return into.
class CBackendClient::CIOService {
public:
    CIOService(CConnectionOwner& owner, const std::vector<std::string>& fronts, const TransportSettings& settings)
        : work_(boost::asio::make_work_guard(io_)), connector_(io_, owner, fronts, settings) {}

    // False when Windows Sockets could not be started: nothing can connect, so the client stays stopped.
    bool SocketsStarted() const { return sockets_.IsStarted(); }
    boost::asio::io_context& IO() { return io_; }
    CFrontConnector& Connector() { return connector_; }

    // The I/O thread's loop. A failing completion costs only itself: the loop goes on until Halt.
    void Run() {
        for (;;) {
            try {
                io_.run();
                return;
            } catch (...) {
                // Nothing to report to (no logging); the connection's own timers recover from a lost read.
            }
        }
    }

    // Closes the connection without notification, cancels every retry and ends the loop once the
    // running handler returns; queued handlers never run. Idempotent.
    void Halt() {
        connector_.Stop();
        work_.reset();
        io_.stop();
    }

private:
    CSocketLibraryRef sockets_;  // first in, last out: outlives every socket of the service
    boost::asio::io_context io_;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_;
    CFrontConnector connector_;
};

CBackendClient::CBackendClient(CConnectionOwner& owner) : owner_(owner) {}

CBackendClient::~CBackendClient() {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_.joinable()) {
        thread_.detach();  // destroyed on its own I/O thread: it ends and frees the service by itself
    }
}

void CBackendClient::RegisterFront(const char* hostPort) {
    if (hostPort != nullptr) {
        fronts_.emplace_back(hostPort);
    }
}

void CBackendClient::SetHeartbeatTimeout(std::uint16_t seconds) { settings_.heartbeatTimeout = seconds; }

void CBackendClient::SetTransportSettings(TransportSettings settings) { settings_ = std::move(settings); }

int CBackendClient::Init() {
    if (started_) {
        return -1;
    }
    started_ = true;
    auto service = std::make_shared<CIOService>(owner_, fronts_, settings_);
    if (!service->SocketsStarted()) {
        return -1;
    }
    service->Connector().Connect();
    // Held while the thread starts, so that a callback on it already sees the client as started.
    std::lock_guard<std::mutex> lock(mutex_);
    service_ = service;
    try {
        thread_ = std::thread([service]() mutable {
            std::shared_ptr<CIOService> mine = std::move(service);
            mine->Run();
        });
    } catch (const std::system_error&) {  // the thread could not be created
        service_.reset();
        service->Halt();
        return -1;
    }
    ioThreadId_ = thread_.get_id();
    return 0;
}

bool CBackendClient::OnIOThread() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ioThreadId_ != std::thread::id() && ioThreadId_ == std::this_thread::get_id();
}

int CBackendClient::Stop() {
    if (OnIOThread()) {
        std::shared_ptr<CIOService> service;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            service = std::move(service_);
        }
        if (service) {
            service->Halt();
        }
        return 0;
    }
    std::lock_guard<std::mutex> serial(stopMutex_);
    std::shared_ptr<CIOService> service;
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        service = std::move(service_);
        thread = std::move(thread_);
    }
    if (service) {
        boost::asio::post(service->IO(), [raw = service.get()] { raw->Halt(); });
    }
    if (thread.joinable()) {
        thread.join();
    }
    if (service) {
        service->Halt();  // the thread is gone: whatever the loop did not get to is settled here
    }
    return 0;
}

std::shared_ptr<CServerConnection> CBackendClient::CurrentConnection() {
    std::lock_guard<std::mutex> lock(mutex_);
    return service_ ? service_->Connector().CurrentConnection() : nullptr;
}

int CBackendClient::SendNow(std::uint16_t serviceNo, std::int32_t requestId, CBodyWriterRef writeBody) {
    const std::shared_ptr<CServerConnection> connection = CurrentConnection();
    if (!connection) {
        return -1;
    }
    if (connection->HasDeferredRequests()) {
        return kBehindPostedRequest;
    }
    // Left uninitialised: only the message's own bytes are written, and the frame is no larger.
    std::uint8_t frame[kFrameMaxSize];
    CAPIPackage package;
    package.Begin(serviceNo, requestId, frame + kFrameLengthSize);
    if (writeBody(package) < 0) {
        return 0;
    }
    return connection->SendFrame(frame, package.Length());
}

int CBackendClient::PostBodyWriter(std::uint16_t serviceNo, std::int32_t requestId,
                                   std::function<int(CAPIPackage&)> writeBody) {
    std::shared_ptr<CIOService> service;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        service = service_;
    }
    if (!service) {
        return -1;
    }
    std::shared_ptr<CServerConnection> connection = service->Connector().CurrentConnection();
    if (!connection) {
        return -1;
    }
    // Counted until sent, so that requests sent at once meanwhile wait their turn behind it.
    connection->BeginDeferredRequest();
    boost::asio::post(service->IO(), [connection, serviceNo, requestId, writeBody = std::move(writeBody)] {
        if (!connection->IsClosed()) {
            CAPIPackage package;
            package.Begin(serviceNo, requestId, connection->PackageBuffer());
            if (writeBody(package) >= 0) {
                connection->SendPackage(package);
            }
        }
        connection->EndDeferredRequest();
    });
    return 0;
}
