// A front that can be killed and brought back: a TCP relay on 127.0.0.1 in front of a server (the
// simulator). Kill drops every connection at once, in whatever state its bytes are, and refuses new
// ones; Restart listens again on the same port. The server behind it keeps its state, as the back end
// behind a restarted front does.
#pragma once

#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class CFrontProxy {
public:
    explicit CFrontProxy(std::uint16_t serverPort);
    ~CFrontProxy();
    CFrontProxy(const CFrontProxy&) = delete;
    CFrontProxy& operator=(const CFrontProxy&) = delete;

    // "127.0.0.1:<port>": the address clients register.
    std::string Address() const;
    void Kill();
    void Restart();
    // Connections accepted so far.
    int Accepted() const;

private:
    class CRelay;
    void Listen();
    void Accept();
    template <class Work>
    void RunOnThread(Work work);

    boost::asio::io_context io_;
    std::uint16_t serverPort_;
    std::uint16_t port_ = 0;
    std::unique_ptr<boost::asio::ip::tcp::acceptor> acceptor_;
    std::vector<std::shared_ptr<CRelay>> relays_;
    std::atomic<int> accepted_{0};
    std::thread thread_;
};
