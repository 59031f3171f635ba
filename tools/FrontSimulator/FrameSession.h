// One client connection of the simulated front: frames of a 4-byte big-endian length and one message,
// heartbeats while the server has nothing else to say, an idle timeout, and the fault switches that
// client tests need (close after N messages, silence, an oversized frame, frames split into small writes).
#pragma once

#include <array>
#include <boost/asio.hpp>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "SimConfig.h"

struct SimSessionSettings {
    std::uint32_t heartbeatSeconds = 30;
    std::uint32_t idleTimeoutSeconds = 120;
    SimFaults faults;  // already narrowed to this connection: all zero when none applies
};

class CFrameSession : public std::enable_shared_from_this<CFrameSession> {
public:
    class Handler {
    public:
        // One received message (envelope bytes without the frame length), valid during the call.
        virtual void OnMessage(CFrameSession& session, const std::uint8_t* message, std::uint32_t length) = 0;
        // The connection ended; called once, after which the session sends nothing.
        virtual void OnClosed(CFrameSession& session) = 0;

    protected:
        ~Handler() = default;
    };

    CFrameSession(boost::asio::ip::tcp::socket socket, Handler& handler, const SimSessionSettings& settings,
                  std::uint64_t id);

    void Start();
    // Frames and queues one message.
    void Send(const std::uint8_t* message, std::uint32_t length);
    void Send(const std::vector<std::uint8_t>& message) {
        Send(message.data(), static_cast<std::uint32_t>(message.size()));
    }
    void Close();
    bool IsOpen() const { return !closed_; }
    std::uint64_t Id() const { return id_; }
    // Messages sent so far, heartbeats not counted.
    std::uint32_t MessagesSent() const { return sent_; }

private:
    void ReadSome();
    void ConsumeFrames();
    void QueueFrame(std::vector<std::uint8_t> frame);
    void WriteNext();
    void ArmIdleTimer();
    void ArmHeartbeat();
    void SendHeartbeat();

    boost::asio::ip::tcp::socket socket_;
    Handler& handler_;
    SimSessionSettings settings_;
    std::uint64_t id_;
    boost::asio::steady_timer idleTimer_;
    boost::asio::steady_timer heartbeatTimer_;
    std::array<std::uint8_t, 16384> readBuffer_{};
    std::vector<std::uint8_t> pending_;  // received bytes not yet forming a whole frame
    std::deque<std::vector<std::uint8_t>> writes_;
    bool writing_ = false;
    bool closed_ = false;
    bool closeWhenFlushed_ = false;
    std::uint32_t sent_ = 0;
};
