// The transport half of a service client: the registered fronts, the I/O service and its thread, the
// connector, and the hand-over of requests from application threads to the I/O thread. The trade client
// and the quote client each own one and give it themselves as the connection owner.
//
// Threads: Init, Stop, SendRequest, PostRequest and the destructor may be called from any application thread.
// Owner notifications and dispatch run on the client's own I/O thread.
//
// Stop: once it returns, no notification or dispatch of this client runs or will run, and the
// connection is closed without OnFrontDisconnected. Called from an application thread, it performs the
// stop on the I/O thread and waits for the thread to end. Called from inside one of this client's own
// callbacks (on the I/O thread), it stops at once without waiting for itself: the callback that called
// it is the last one, the rest of a read is not delivered, and the thread ends as soon as that callback
// returns. The destructor stops; destroyed on its own I/O thread, the client lets that thread finish
// and free the I/O service by itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "APIPackage.h"
#include "ConnectionOwner.h"
#include "TransportSettings.h"

class CServerConnection;

class CBackendClient {
public:
    explicit CBackendClient(CConnectionOwner& owner);
    ~CBackendClient();  // stops
    CBackendClient(const CBackendClient&) = delete;
    CBackendClient& operator=(const CBackendClient&) = delete;

    // "host:port", the scheme already dropped by the facade. Before Init; later fronts are not seen.
    void RegisterFront(const char* hostPort);
    // Starts the first attempt (at the first front) and the I/O thread. A front that does not resolve
    // is a failed attempt like any other: the next front is tried after the reconnect delay, on the
    // I/O thread; nothing is thrown. 0; -1 when already started or stopped, or when the socket library
    // cannot be started or the thread cannot be created (the client then stays stopped).
    int Init();
    // See above. 0.
    int Stop();

    // Request path for a body that depends only on the call's arguments. -1 when no connection is
    // current or it has closed. Otherwise begins a CAPIPackage with (serviceNo, requestId) in a frame
    // buffer on the calling thread's stack, lets `writeBody(package)` add the body (return < 0 to
    // send nothing) and sends it from this thread at once, or queues what the socket does not take;
    // returns 0. Nothing is allocated and no other thread is involved. While a posted request is on
    // its way to the I/O thread, the request follows it there instead (a copy of the writer is
    // posted), so requests leave in the order of the calls.
    template <class BodyWriter>
    int SendRequest(std::uint16_t serviceNo, std::int32_t requestId, const BodyWriter& writeBody) {
        const int sent = SendNow(serviceNo, requestId, CBodyWriterRef(writeBody));
        return sent == kBehindPostedRequest ? PostRequest(serviceNo, requestId, writeBody) : sent;
    }

    // Request path for a body that reads state kept on the I/O thread. -1 when no connection is
    // current. Otherwise captures the current connection, posts to the I/O thread and returns 0.
    // There: if that connection has closed meanwhile nothing happens; else a CAPIPackage is begun in
    // the connection's staging buffer with (serviceNo, requestId), `writeBody(package)` adds the body
    // (return < 0 to send nothing), and the package is sent. The writer is a copyable callable
    // `int(CAPIPackage&)` holding a copy of the request record.
    template <class BodyWriter>
    int PostRequest(std::uint16_t serviceNo, std::int32_t requestId, BodyWriter writeBody) {
        return PostBodyWriter(serviceNo, requestId, std::function<int(CAPIPackage&)>(std::move(writeBody)));
    }

    // Before Init; default 120 s (tests shorten it, to 2 s at the least). The heartbeat leaves after
    // half of it without sending.
    void SetHeartbeatTimeout(std::uint16_t seconds);
    // Before Init; what ships keeps the defaults. Tests use smaller blocks, shorter delays and the
    // attempt observer.
    void SetTransportSettings(TransportSettings settings);

private:
    class CIOService;

    // A body writer called in place: a pointer to the caller's callable and how to call it.
    class CBodyWriterRef {
    public:
        template <class BodyWriter>
        explicit CBodyWriterRef(const BodyWriter& writer)
            : writer_(&writer),
              call_([](const void* w, CAPIPackage& p) { return (*static_cast<const BodyWriter*>(w))(p); }) {}
        int operator()(CAPIPackage& package) const { return call_(writer_, package); }

    private:
        const void* writer_;
        int (*call_)(const void*, CAPIPackage&);
    };
    static constexpr int kBehindPostedRequest = 1;

    // SendRequest's work: 0 or -1 as SendRequest returns, or kBehindPostedRequest.
    [[nodiscard]] int SendNow(std::uint16_t serviceNo, std::int32_t requestId, CBodyWriterRef writeBody);
    std::shared_ptr<CServerConnection> CurrentConnection();

    int PostBodyWriter(std::uint16_t serviceNo, std::int32_t requestId, std::function<int(CAPIPackage&)> writeBody);
    bool OnIOThread();

    CConnectionOwner& owner_;
    std::vector<std::string> fronts_;
    TransportSettings settings_;
    bool started_ = false;
    std::mutex stopMutex_;  // serialises stops from application threads (never taken on the I/O thread)
    std::mutex mutex_;      // guards service_, thread_ and ioThreadId_
    std::shared_ptr<CIOService> service_;
    std::thread thread_;
    std::thread::id ioThreadId_;
};
