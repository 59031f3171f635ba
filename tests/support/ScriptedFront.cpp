#include "support/ScriptedFront.h"

#include <algorithm>
#include <boost/asio/buffer.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <future>
#include <utility>

#include "TZOByteOrder.h"

namespace {

constexpr std::size_t kLengthSize = 4;

}  // namespace

ReceivedMessage::ReceivedMessage(std::vector<std::uint8_t> payload) : bytes(std::move(payload)) {
    package.OpenReceived(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    ServiceNo = package.ServiceNo;
    RequestID = package.RequestID;
    EndFlag = package.EndFlag;
}

// Lives on the front's thread; the test thread reaches it through posts and the event state. Handlers
// refer to it plainly: it owns the io_context, so none outlives it.
class CScriptedFront::CServer {
public:
    CServer() : work_(boost::asio::make_work_guard(io_)), acceptor_(io_) {}

    boost::asio::io_context& IO() { return io_; }

    std::uint16_t Listen(std::uint16_t port) {
        using boost::asio::ip::tcp;
        const tcp::endpoint endpoint(boost::asio::ip::make_address("127.0.0.1"), port);
        acceptor_.open(endpoint.protocol());
        acceptor_.set_option(tcp::acceptor::reuse_address(true));
        acceptor_.bind(endpoint);
        acceptor_.listen();
        port_ = acceptor_.local_endpoint().port();
        Accept();
        return port_;
    }

    void StopListening() {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
    }

    void DropSession() {
        if (session_) {
            session_->Close();
            session_.reset();
        }
    }

    void Write(std::shared_ptr<std::vector<std::uint8_t>> bytes) {
        if (session_) {
            session_->Write(std::move(bytes));
        }
    }

    void Shutdown() {
        StopListening();
        DropSession();
        work_.reset();
        io_.stop();
    }

    // State shared with the test thread.
    mutable std::mutex mutex;
    std::condition_variable changed;
    int accepted = 0;
    int acceptedWaited = 0;
    int ended = 0;
    int endedWaited = 0;
    bool connected = false;
    std::vector<std::uint16_t> peerPorts;  // of every accepted connection, in order
    std::deque<std::unique_ptr<ReceivedMessage>> messages;

private:
    class CSession : public std::enable_shared_from_this<CSession> {
    public:
        CSession(CServer& server, boost::asio::ip::tcp::socket socket) : server_(server), socket_(std::move(socket)) {}

        void Read() {
            socket_.async_read_some(boost::asio::buffer(chunk_),
                                    [self = shared_from_this()](const boost::system::error_code& error, std::size_t n) {
                                        self->HandleRead(error, n);
                                    });
        }

        void Write(std::shared_ptr<std::vector<std::uint8_t>> bytes) {
            if (closed_) {
                return;
            }
            outbox_.push_back(std::move(bytes));
            if (outbox_.size() == 1) {
                WriteNext();
            }
        }

        void Close() {
            if (closed_) {
                return;
            }
            closed_ = true;
            boost::system::error_code ignored;
            socket_.close(ignored);
            std::lock_guard<std::mutex> lock(server_.mutex);
            server_.connected = false;
            ++server_.ended;
            server_.changed.notify_all();
        }

    private:
        void HandleRead(const boost::system::error_code& error, std::size_t n) {
            if (closed_) {
                return;
            }
            if (error) {
                Close();
                return;
            }
            inbox_.insert(inbox_.end(), chunk_, chunk_ + n);
            std::size_t offset = 0;
            while (inbox_.size() - offset >= kLengthSize) {
                const std::uint32_t length = tzo_wire::LoadU32(inbox_.data() + offset);
                if (inbox_.size() - offset - kLengthSize < length) {
                    break;
                }
                const auto begin = inbox_.begin() + static_cast<std::ptrdiff_t>(offset + kLengthSize);
                auto message = std::make_unique<ReceivedMessage>(std::vector<std::uint8_t>(begin, begin + length));
                {
                    std::lock_guard<std::mutex> lock(server_.mutex);
                    server_.messages.push_back(std::move(message));
                }
                server_.changed.notify_all();
                offset += kLengthSize + length;
            }
            inbox_.erase(inbox_.begin(), inbox_.begin() + static_cast<std::ptrdiff_t>(offset));
            Read();
        }

        void WriteNext() {
            boost::asio::async_write(socket_, boost::asio::buffer(*outbox_.front()),
                                     [self = shared_from_this()](const boost::system::error_code& error, std::size_t) {
                                         if (self->closed_) {
                                             return;
                                         }
                                         if (error) {
                                             self->Close();
                                             return;
                                         }
                                         self->outbox_.pop_front();
                                         if (!self->outbox_.empty()) {
                                             self->WriteNext();
                                         }
                                     });
        }

        CServer& server_;
        boost::asio::ip::tcp::socket socket_;
        std::uint8_t chunk_[65536];
        std::vector<std::uint8_t> inbox_;
        std::deque<std::shared_ptr<std::vector<std::uint8_t>>> outbox_;
        bool closed_ = false;
    };

    void Accept() {
        acceptor_.async_accept(
            [self = this](const boost::system::error_code& error, boost::asio::ip::tcp::socket socket) {
                if (error) {
                    return;  // closed listener (refusing or stopping)
                }
                self->DropSession();  // one connection at a time: the newest wins
                boost::system::error_code ignored;
                const std::uint16_t peerPort = socket.remote_endpoint(ignored).port();
                self->session_ = std::make_shared<CSession>(*self, std::move(socket));
                {
                    std::lock_guard<std::mutex> lock(self->mutex);
                    self->connected = true;
                    ++self->accepted;
                    self->peerPorts.push_back(peerPort);
                }
                self->changed.notify_all();
                self->session_->Read();
                self->Accept();
            });
    }

    boost::asio::io_context io_;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> work_;
    boost::asio::ip::tcp::acceptor acceptor_;
    std::uint16_t port_ = 0;
    std::shared_ptr<CSession> session_;
};

namespace {

// Runs `work` on the front's thread and waits for it, so that its effect is in place on return.
template <class Work>
void RunOnFrontThread(boost::asio::io_context& io, Work work) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    boost::asio::post(io, [&] {
        try {
            work();
            done.set_value();
        } catch (...) {
            done.set_exception(std::current_exception());  // e.g. the port was taken meanwhile
        }
    });
    finished.get();
}

}  // namespace

CScriptedFront::CScriptedFront(bool accepting) : server_(std::make_unique<CServer>()) {
    port_ = server_->Listen(0);
    if (!accepting) {
        server_->StopListening();
    }
    thread_ = std::thread([server = server_.get()] { server->IO().run(); });
}

CScriptedFront::~CScriptedFront() { Stop(); }

std::string CScriptedFront::Address() const { return "127.0.0.1:" + std::to_string(port_); }

void CScriptedFront::SetAccepting(bool accepting) {
    if (stopped_) {
        return;
    }
    RunOnFrontThread(server_->IO(), [this, accepting] {
        server_->StopListening();
        if (accepting) {
            server_->Listen(port_);
        }
    });
}

bool CScriptedFront::WaitForConnection(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(server_->mutex);
    if (!server_->changed.wait_for(lock, timeout, [&] { return server_->accepted > server_->acceptedWaited; })) {
        return false;
    }
    ++server_->acceptedWaited;
    return true;
}

bool CScriptedFront::WaitForDisconnect(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(server_->mutex);
    if (!server_->changed.wait_for(lock, timeout, [&] { return server_->ended > server_->endedWaited; })) {
        return false;
    }
    ++server_->endedWaited;
    return true;
}

int CScriptedFront::ConnectionCount() const {
    std::lock_guard<std::mutex> lock(server_->mutex);
    return server_->accepted;
}

int CScriptedFront::ConnectionsBeforeMarker(std::chrono::milliseconds timeout) {
    using boost::asio::ip::tcp;
    boost::asio::io_context io;
    tcp::socket marker(io);
    boost::system::error_code error;
    marker.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port_), error);
    if (error) {
        return -1;
    }
    const std::uint16_t markerPort = marker.local_endpoint(error).port();
    std::unique_lock<std::mutex> lock(server_->mutex);
    const auto& ports = server_->peerPorts;
    if (!server_->changed.wait_for(lock, timeout,
                                   [&] { return std::find(ports.begin(), ports.end(), markerPort) != ports.end(); })) {
        return -1;
    }
    return static_cast<int>(std::find(ports.begin(), ports.end(), markerPort) - ports.begin());
}

bool CScriptedFront::IsConnected() const {
    std::lock_guard<std::mutex> lock(server_->mutex);
    return server_->connected;
}

void CScriptedFront::Drop() {
    if (stopped_) {
        return;
    }
    RunOnFrontThread(server_->IO(), [this] { server_->DropSession(); });
}

std::unique_ptr<ReceivedMessage> CScriptedFront::WaitForMessage(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(server_->mutex);
    if (!server_->changed.wait_for(lock, timeout, [&] { return !server_->messages.empty(); })) {
        return nullptr;
    }
    std::unique_ptr<ReceivedMessage> message = std::move(server_->messages.front());
    server_->messages.pop_front();
    return message;
}

std::unique_ptr<ReceivedMessage> CScriptedFront::WaitForService(std::uint16_t serviceNo,
                                                                std::chrono::milliseconds timeout) {
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        std::unique_ptr<ReceivedMessage> message = WaitForMessage(std::max(left, std::chrono::milliseconds(0)));
        if (!message || message->ServiceNo == serviceNo) {
            return message;
        }
    }
}

std::size_t CScriptedFront::QueuedMessageCount() const {
    std::lock_guard<std::mutex> lock(server_->mutex);
    return server_->messages.size();
}

void CScriptedFront::ClearMessages() {
    std::lock_guard<std::mutex> lock(server_->mutex);
    server_->messages.clear();
}

std::vector<std::uint8_t> CScriptedFront::BuildFrame(std::uint16_t serviceNo, std::int32_t requestId,
                                                     std::int32_t endFlag, const BodyWriter& writeBody) {
    std::vector<std::uint8_t> frame(kLengthSize + kAPIMessageMaxSize);
    CAPIPackage package;
    package.Begin(serviceNo, requestId, frame.data() + kLengthSize);
    if (writeBody) {
        writeBody(package);
    }
    package.SetEndFlag(endFlag);
    const std::uint32_t length = package.Length();
    tzo_wire::StoreU32(frame.data(), length);
    frame.resize(kLengthSize + length);
    return frame;
}

void CScriptedFront::Send(std::uint16_t serviceNo, std::int32_t requestId, std::int32_t endFlag,
                          const BodyWriter& writeBody) {
    SendRaw(BuildFrame(serviceNo, requestId, endFlag, writeBody));
}

void CScriptedFront::SendRaw(std::vector<std::uint8_t> bytes) {
    if (stopped_) {
        return;
    }
    {
        // The client may see its connect complete before this side has run its accept handler; a test
        // that sends right after its client reports the connection must not lose the bytes to that race.
        // Sending with no connection at all still drops them, after the bounded wait.
        std::unique_lock<std::mutex> lock(server_->mutex);
        server_->changed.wait_for(lock, kDefaultTimeout, [this] { return server_->connected; });
    }
    auto shared = std::make_shared<std::vector<std::uint8_t>>(std::move(bytes));
    boost::asio::post(server_->IO(), [server = server_.get(), shared] { server->Write(shared); });
}

void CScriptedFront::Stop() {
    if (stopped_) {
        return;
    }
    stopped_ = true;
    boost::asio::post(server_->IO(), [server = server_.get()] { server->Shutdown(); });
    thread_.join();
}
