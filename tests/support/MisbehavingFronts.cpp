#include "support/MisbehavingFronts.h"

#include <boost/asio/post.hpp>
#include <stdexcept>

namespace {

using boost::asio::ip::tcp;
using namespace std::chrono_literals;

// Opens a listener on an ephemeral loopback port with the given backlog.
void Listen(tcp::acceptor& listener, int backlog) {
    listener.open(tcp::v4());
    listener.bind(tcp::endpoint(boost::asio::ip::address_v4::loopback(), 0));
    listener.listen(backlog);
}

std::string LoopbackAddress(const tcp::acceptor& listener) {
    return "127.0.0.1:" + std::to_string(listener.local_endpoint().port());
}

}  // namespace

CUnansweringFront::CUnansweringFront() : listener_(io_) {
    // With the smallest backlog the queue is full after a connection or two; a connect that has not
    // completed after the grace period was dropped, so the queue is full from then on.
    constexpr int kMostFillers = 16;
    constexpr auto kGrace = 500ms;
    Listen(listener_, 0);
    for (int i = 0; i < kMostFillers; ++i) {
        auto filler = std::make_unique<tcp::socket>(io_);
        bool completed = false;
        filler->async_connect(listener_.local_endpoint(),
                              [&completed](const boost::system::error_code&) { completed = true; });
        io_.restart();
        io_.run_for(kGrace);
        if (!completed) {
            filler->close();  // the dropped request goes; the queue stays full
            io_.restart();
            io_.run();  // the aborted connect's handler, which refers to `completed`
            return;
        }
        fillers_.push_back(std::move(filler));
    }
    throw std::runtime_error("the listener's accept queue never filled");
}

std::string CUnansweringFront::Address() const { return LoopbackAddress(listener_); }

CClosingFront::CClosingFront() : listener_(io_) {
    Listen(listener_, boost::asio::socket_base::max_listen_connections);
    address_ = LoopbackAddress(listener_);
    AcceptNext();
    thread_ = std::thread([this] { io_.run(); });
}

CClosingFront::~CClosingFront() {
    boost::asio::post(io_, [this] { listener_.close(); });
    thread_.join();
}

void CClosingFront::AcceptNext() {
    listener_.async_accept([this](const boost::system::error_code& error, tcp::socket connection) {
        if (error) {
            return;  // closed: the thread ends
        }
        boost::system::error_code ignored;
        connection.close(ignored);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            acceptTimes_.push_back(Clock::now());
        }
        accepted_.notify_all();
        AcceptNext();
    });
}

bool CClosingFront::WaitForAccepts(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return accepted_.wait_for(lock, timeout, [&] { return acceptTimes_.size() >= count; });
}

std::vector<CClosingFront::Clock::time_point> CClosingFront::AcceptTimes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return acceptTimes_;
}
