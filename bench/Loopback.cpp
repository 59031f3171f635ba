#include "Loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "TZOByteOrder.h"

namespace narv_bench {

namespace {

constexpr std::size_t kFrameBufferSize = 1 << 20;
constexpr std::uint32_t kMaxFrame = 8192;

void SetNoDelay(int fd) {
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

CLoopbackListener::CLoopbackListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd_, 4) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        throw std::runtime_error(std::string("loopback listener: ") + std::strerror(errno));
    }
    port_ = ntohs(address.sin_port);
}

CLoopbackListener::~CLoopbackListener() { CloseSocket(fd_); }

std::string CLoopbackListener::FrontAddress() const { return "tcp://127.0.0.1:" + std::to_string(port_); }

int CLoopbackListener::Accept(int timeoutMilliseconds) {
    pollfd waiting{fd_, POLLIN, 0};
    if (::poll(&waiting, 1, timeoutMilliseconds) != 1) return -1;
    const int fd = ::accept(fd_, nullptr, nullptr);
    if (fd >= 0) SetNoDelay(fd);
    return fd;
}

int ConnectLoopback(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    sockaddr_in address = Loopback(port);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    SetNoDelay(fd);
    return fd;
}

void CloseSocket(int fd) {
    if (fd >= 0) ::close(fd);
}

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::send(fd, bytes, length, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReadExactly(int fd, std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::recv(fd, bytes, length, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

std::size_t ReadSome(int fd, std::uint8_t* bytes, std::size_t room) {
    for (;;) {
        const ssize_t n = ::recv(fd, bytes, room, 0);
        if (n < 0 && errno == EINTR) continue;
        return n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

CFrameReader::CFrameReader(int fd) : fd_(fd), buffer_(new std::uint8_t[kFrameBufferSize]) {}

bool CFrameReader::Next(const std::uint8_t*& payload, std::uint32_t& length) {
    for (;;) {
        const std::size_t held = end_ - begin_;
        if (held >= 4) {
            const std::uint32_t announced = tzo_wire::LoadU32(buffer_.get() + begin_);
            if (announced > kMaxFrame) return false;
            if (held >= 4 + announced) {
                payload = buffer_.get() + begin_ + 4;
                length = announced;
                begin_ += 4 + announced;
                return true;
            }
        }
        if (kFrameBufferSize - end_ < kMaxFrame + 4) {  // keep room for one whole frame behind the start
            std::memmove(buffer_.get(), buffer_.get() + begin_, held);
            begin_ = 0;
            end_ = held;
        }
        const ssize_t n = ::recv(fd_, buffer_.get() + end_, kFrameBufferSize - end_, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        end_ += static_cast<std::size_t>(n);
    }
}

void CFrameCounter::Feed(const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        if (payloadLeft_ > 0) {
            const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(payloadLeft_, length));
            bytes += take;
            length -= take;
            payloadLeft_ -= take;
            if (payloadLeft_ == 0) ++frames_;
            continue;
        }
        head_[headBytes_++] = *bytes++;
        --length;
        if (headBytes_ == 4) {
            headBytes_ = 0;
            payloadLeft_ = tzo_wire::LoadU32(head_);
            if (payloadLeft_ == 0) ++frames_;
        }
    }
}

}  // namespace narv_bench
