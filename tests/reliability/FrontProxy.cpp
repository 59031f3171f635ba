#include "FrontProxy.h"

#include <array>
#include <boost/asio/connect.hpp>
#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <future>

using boost::asio::ip::tcp;

// One client connection and its connection to the server, copied both ways until either side ends.
class CFrontProxy::CRelay : public std::enable_shared_from_this<CRelay> {
public:
    explicit CRelay(boost::asio::io_context& io) : client(io), server(io) {}

    void Start(std::uint16_t serverPort) {
        auto self = shared_from_this();
        server.async_connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(), serverPort),
                             [self](const boost::system::error_code& error) {
                                 if (error) return self->Close();
                                 self->Pump(self->client, self->server, self->up);
                                 self->Pump(self->server, self->client, self->down);
                             });
    }

    void Close() {
        boost::system::error_code ignored;
        client.close(ignored);
        server.close(ignored);
    }

    tcp::socket client;
    tcp::socket server;

private:
    using Buffer = std::array<std::uint8_t, 16384>;

    void Pump(tcp::socket& from, tcp::socket& to, Buffer& buffer) {
        auto self = shared_from_this();
        from.async_read_some(boost::asio::buffer(buffer), [self, &from, &to, &buffer](
                                                              const boost::system::error_code& error, std::size_t n) {
            if (error) return self->Close();
            boost::asio::async_write(
                to, boost::asio::buffer(buffer.data(), n),
                [self, &from, &to, &buffer](const boost::system::error_code& writeError, std::size_t) {
                    if (writeError) return self->Close();
                    self->Pump(from, to, buffer);
                });
        });
    }

    Buffer up;
    Buffer down;
};

CFrontProxy::CFrontProxy(std::uint16_t serverPort) : serverPort_(serverPort) {
    Listen();
    thread_ = std::thread([this] {
        auto work = boost::asio::make_work_guard(io_);
        io_.run();
    });
}

CFrontProxy::~CFrontProxy() {
    Kill();
    io_.stop();
    thread_.join();
}

template <class Work>
void CFrontProxy::RunOnThread(Work work) {
    std::packaged_task<void()> task(std::move(work));
    auto done = task.get_future();
    boost::asio::post(io_, [&task] { task(); });
    done.get();
}

std::string CFrontProxy::Address() const { return "127.0.0.1:" + std::to_string(port_); }

void CFrontProxy::Listen() {
    acceptor_ = std::make_unique<tcp::acceptor>(io_);
    const tcp::endpoint endpoint(boost::asio::ip::address_v4::loopback(), port_);
    acceptor_->open(endpoint.protocol());
    acceptor_->set_option(tcp::acceptor::reuse_address(true));
    acceptor_->bind(endpoint);
    acceptor_->listen();
    if (port_ == 0) port_ = acceptor_->local_endpoint().port();  // a restart keeps the port it had
    Accept();
}

void CFrontProxy::Accept() {
    auto relay = std::make_shared<CRelay>(io_);
    acceptor_->async_accept(relay->client, [this, relay](const boost::system::error_code& error) {
        if (error) return;  // closed by Kill
        ++accepted_;
        relays_.push_back(relay);
        relay->Start(serverPort_);
        Accept();
    });
}

void CFrontProxy::Kill() {
    RunOnThread([this] {
        if (acceptor_) {
            boost::system::error_code ignored;
            acceptor_->close(ignored);
        }
        for (auto& relay : relays_) relay->Close();
        relays_.clear();
    });
}

void CFrontProxy::Restart() {
    RunOnThread([this] { Listen(); });
}

int CFrontProxy::Accepted() const { return accepted_.load(); }
