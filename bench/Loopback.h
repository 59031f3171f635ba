// Plain blocking sockets on 127.0.0.1 for the benchmark's own peers and for the raw floors: nothing
// between the program and the kernel, so what they measure is what the machine's loopback allows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace narv_bench {

class CLoopbackListener {
public:
    CLoopbackListener();  // listening on an ephemeral port
    ~CLoopbackListener();
    CLoopbackListener(const CLoopbackListener&) = delete;
    CLoopbackListener& operator=(const CLoopbackListener&) = delete;

    std::uint16_t Port() const { return port_; }
    // "tcp://127.0.0.1:<port>", as an application registers a front.
    std::string FrontAddress() const;
    // The next connection (TCP_NODELAY set), or -1 when none came within the timeout.
    int Accept(int timeoutMilliseconds = 10000);

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

// A connected client socket with TCP_NODELAY set, or -1.
int ConnectLoopback(std::uint16_t port);
void CloseSocket(int fd);
bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t length);
bool ReadExactly(int fd, std::uint8_t* bytes, std::size_t length);
// What one read returns (at most `room` bytes); 0 at end of stream or on an error.
std::size_t ReadSome(int fd, std::uint8_t* bytes, std::size_t room);

// Cuts a byte stream into frames (4-byte big-endian length, payload) with one fixed buffer: no
// allocation after construction.
class CFrameReader {
public:
    explicit CFrameReader(int fd);
    // The next whole frame's payload; false at end of stream or on an error.
    bool Next(const std::uint8_t*& payload, std::uint32_t& length);

private:
    int fd_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

// Counts the frames of a stream fed in arbitrary pieces, looking at nothing but the length words.
class CFrameCounter {
public:
    void Feed(const std::uint8_t* bytes, std::size_t length);
    std::int64_t Frames() const { return frames_; }

private:
    std::uint8_t head_[4] = {};
    int headBytes_ = 0;
    std::uint64_t payloadLeft_ = 0;
    std::int64_t frames_ = 0;
};

}  // namespace narv_bench
