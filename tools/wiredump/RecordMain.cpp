// narv_wirerecord: a TCP relay between clients and fronts that writes every byte it forwards into a pcap
// file, so that a session can be captured without root rights or a capture tool.
#include <boost/asio.hpp>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "WireCapture.h"

namespace asio = boost::asio;
using asio::ip::tcp;

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoPort = 3;

const char kHelp[] =
    "usage: narv_wirerecord --output FILE --forward [LISTEN_PORT=]HOST:PORT [--forward ...] [options]\n"
    "\n"
    "Relays TCP connections to fronts and records everything relayed into a pcap file that\n"
    "narv_wiredump, tshark and Wireshark read. Point the application at the relay's ports instead of\n"
    "the fronts. Each connection is recorded with the client's own address and port and the front's\n"
    "address and port, as if captured between the two.\n"
    "\n"
    "options:\n"
    "  -h, --help                print this help and exit\n"
    "  --output FILE             the pcap file to write (replaced if it exists)\n"
    "  --forward [L=]HOST:PORT   relay connections to HOST:PORT, listening on port L (default: a free\n"
    "                            port); repeatable, one listening port per front\n"
    "  --listen ADDRESS          address to listen on (default 127.0.0.1)\n"
    "  --sessions N              exit once N relayed connections have ended (default 0: run until\n"
    "                            SIGINT or SIGTERM)\n"
    "\n"
    "On start the first line on standard output lists the listening addresses, one per --forward, in\n"
    "order:\n"
    "  listen=HOST:PORT[,HOST:PORT...]\n"
    "\n"
    "Exit status: 0 after N sessions or a signal; 1 the output cannot be written; 2 bad command line;\n"
    "3 a listening port cannot be opened.\n";

struct Forward {
    std::uint16_t listenPort = 0;
    std::string host;
    std::string port;
};

std::uint64_t NowNs() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count());
}

std::uint32_t Ipv4Of(const tcp::endpoint& endpoint) {
    const auto address = endpoint.address();
    if (address.is_v4()) return address.to_v4().to_uint();
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        return asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6()).to_uint();
    return 0;  // the pcap writer speaks IPv4 only
}

class Recorder {
public:
    Recorder(std::ofstream& file) : file_(file), writer_(file) {}
    void Open(WirePcapWriter::Conversation& c) { writer_.Open(c, NowNs()), Flush(); }
    void Data(WirePcapWriter::Conversation& c, bool fromClient, const std::uint8_t* bytes, std::size_t n) {
        writer_.Data(c, fromClient, bytes, n, NowNs());
        Flush();
    }
    void Close(WirePcapWriter::Conversation& c, bool fromClient) { writer_.Close(c, fromClient, NowNs()), Flush(); }
    bool Good() const { return writer_.Good(); }

private:
    void Flush() { file_.flush(); }  // a relay killed at any moment leaves a readable file
    std::ofstream& file_;
    WirePcapWriter writer_;
};

class Relay;

// One relayed connection: two sockets, two pumps.
class Session : public std::enable_shared_from_this<Session> {
public:
    Session(Relay& relay, tcp::socket client)
        : relay_(relay), client_(std::move(client)), server_(client_.get_executor()) {}
    void Start(const Forward& forward);

private:
    void Pump(bool fromClient);
    void Ended(bool fromClient);
    void Finish();

    Relay& relay_;
    tcp::socket client_;
    tcp::socket server_;
    WirePcapWriter::Conversation conversation_;
    std::vector<std::uint8_t> buffers_[2] = {std::vector<std::uint8_t>(65536), std::vector<std::uint8_t>(65536)};
    bool open_[2] = {true, true};  // [0]: client to server, [1]: server to client
    bool finished_ = false;
};

class Relay {
public:
    Relay(asio::io_context& context, Recorder& recorder, unsigned sessions)
        : context_(context), recorder_(recorder), sessionsWanted_(sessions) {}

    std::string Listen(const std::string& address, const Forward& forward) {
        auto acceptor = std::make_shared<tcp::acceptor>(
            context_, tcp::endpoint(asio::ip::make_address(address), forward.listenPort));
        acceptors_.push_back(acceptor);
        Accept(acceptor, forward);
        const tcp::endpoint local = acceptor->local_endpoint();
        return local.address().to_string() + ":" + std::to_string(local.port());
    }

    Recorder& Recording() { return recorder_; }
    asio::io_context& Context() { return context_; }

    void SessionEnded() {
        if (sessionsWanted_ && ++sessionsEnded_ >= sessionsWanted_) context_.stop();
    }

private:
    void Accept(std::shared_ptr<tcp::acceptor> acceptor, Forward forward) {
        acceptor->async_accept([this, acceptor, forward](const boost::system::error_code& error, tcp::socket socket) {
            if (error) return;
            std::make_shared<Session>(*this, std::move(socket))->Start(forward);
            Accept(acceptor, forward);
        });
    }

    asio::io_context& context_;
    Recorder& recorder_;
    unsigned sessionsWanted_;
    unsigned sessionsEnded_ = 0;
    std::vector<std::shared_ptr<tcp::acceptor>> acceptors_;
};

void Session::Start(const Forward& forward) {
    auto self = shared_from_this();
    auto resolver = std::make_shared<tcp::resolver>(relay_.Context());
    resolver->async_resolve(
        forward.host, forward.port,
        [this, self, resolver](const boost::system::error_code& error, tcp::resolver::results_type results) {
            if (error) {
                std::cerr << "narv_wirerecord: cannot resolve the front: " << error.message() << "\n";
                Finish();
                return;
            }
            asio::async_connect(
                server_, results, [this, self](const boost::system::error_code& error, const tcp::endpoint& front) {
                    if (error) {
                        std::cerr << "narv_wirerecord: cannot connect to the front: " << error.message() << "\n";
                        Finish();
                        return;
                    }
                    boost::system::error_code ignored;
                    const tcp::endpoint peer = client_.remote_endpoint(ignored);
                    conversation_.clientAddress = Ipv4Of(peer);
                    conversation_.clientPort = peer.port();
                    conversation_.serverAddress = Ipv4Of(front);
                    conversation_.serverPort = front.port();
                    relay_.Recording().Open(conversation_);
                    Pump(true);
                    Pump(false);
                });
        });
}

void Session::Pump(bool fromClient) {
    auto self = shared_from_this();
    tcp::socket& from = fromClient ? client_ : server_;
    std::vector<std::uint8_t>& buffer = buffers_[fromClient ? 0 : 1];
    from.async_read_some(
        asio::buffer(buffer), [this, self, fromClient](const boost::system::error_code& error, std::size_t n) {
            if (error) {
                Ended(fromClient);
                return;
            }
            std::vector<std::uint8_t>& buffer = buffers_[fromClient ? 0 : 1];
            relay_.Recording().Data(conversation_, fromClient, buffer.data(), n);
            tcp::socket& to = fromClient ? server_ : client_;
            asio::async_write(to, asio::buffer(buffer.data(), n),
                              [this, self, fromClient](const boost::system::error_code& error, std::size_t) {
                                  if (error) {
                                      Finish();
                                      return;
                                  }
                                  Pump(fromClient);
                              });
        });
}

// One side stopped sending: pass the end on, and finish once both sides have.
void Session::Ended(bool fromClient) {
    bool& open = open_[fromClient ? 0 : 1];
    if (!open || finished_) return;
    open = false;
    relay_.Recording().Close(conversation_, fromClient);
    boost::system::error_code ignored;
    (fromClient ? server_ : client_).shutdown(tcp::socket::shutdown_send, ignored);
    if (!open_[0] && !open_[1]) Finish();
}

void Session::Finish() {
    if (finished_) return;
    finished_ = true;
    boost::system::error_code ignored;
    client_.close(ignored);
    server_.close(ignored);
    relay_.SessionEnded();
}

bool ParseForward(const std::string& text, Forward& forward) {
    std::string rest = text;
    const auto equals = rest.find('=');
    if (equals != std::string::npos) {
        const std::string port = rest.substr(0, equals);
        char* end = nullptr;
        const unsigned long value = std::strtoul(port.c_str(), &end, 10);
        if (port.empty() || *end || value > 65535) return false;
        forward.listenPort = static_cast<std::uint16_t>(value);
        rest = rest.substr(equals + 1);
    }
    const auto colon = rest.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == rest.size()) return false;
    forward.host = rest.substr(0, colon);
    forward.port = rest.substr(colon + 1);
    return true;
}

int Usage(const std::string& message) {
    std::cerr << "narv_wirerecord: " << message << "\n(--help lists the options)\n";
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::string output, listenAddress = "127.0.0.1";
    std::vector<Forward> forwards;
    unsigned sessions = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 == argc) return nullptr;
            (void)what;
            return argv[++i];
        };
        if (arg == "-h" || arg == "--help") {
            std::cout << kHelp;
            return kExitDone;
        } else if (arg == "--output") {
            const char* v = value("--output");
            if (!v) return Usage("--output needs a file");
            output = v;
        } else if (arg == "--forward") {
            const char* v = value("--forward");
            Forward forward;
            if (!v || !ParseForward(v, forward)) return Usage("--forward needs [LISTEN_PORT=]HOST:PORT");
            forwards.push_back(forward);
        } else if (arg == "--listen") {
            const char* v = value("--listen");
            if (!v) return Usage("--listen needs an address");
            listenAddress = v;
        } else if (arg == "--sessions") {
            const char* v = value("--sessions");
            char* end = nullptr;
            if (!v || !*v || (std::strtoul(v, &end, 10), *end)) return Usage("--sessions needs a number");
            sessions = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
        } else {
            return Usage("unknown argument " + arg);
        }
    }
    if (output.empty()) return Usage("--output is required");
    if (forwards.empty()) return Usage("at least one --forward is required");

    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::cerr << "narv_wirerecord: cannot write " << output << "\n";
        return kExitFailure;
    }
    Recorder recorder(file);
    asio::io_context context;
    Relay relay(context, recorder, sessions);
    std::string listening;
    try {
        for (const Forward& forward : forwards)
            listening += (listening.empty() ? "" : ",") + relay.Listen(listenAddress, forward);
    } catch (const boost::system::system_error& e) {
        std::cerr << "narv_wirerecord: cannot listen on " << listenAddress << ": " << e.what() << "\n";
        return kExitNoPort;
    }
    asio::signal_set signals(context, SIGINT, SIGTERM);
    signals.async_wait([&](const boost::system::error_code& error, int) {
        if (!error) context.stop();
    });
    std::cout << "listen=" << listening << std::endl;
    context.run();
    file.flush();
    if (!recorder.Good()) {
        std::cerr << "narv_wirerecord: writing " << output << " failed\n";
        return kExitFailure;
    }
    return kExitDone;
}
