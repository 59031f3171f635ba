// The sizes and intervals of one back-end connection. What ships always uses the defaults below; tests
// build clients with shorter intervals or smaller blocks to exercise the same code quickly.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class CTimerSource;

// The write queue grows by blocks of this size; one is allocated up front and reused.
constexpr std::uint32_t kWriteBlockSize = 10485760;
// Every read lands in this buffer, allocated once per connection.
constexpr std::uint32_t kReadBufferSize = 1048576;
// Seconds without a received byte before the connection is dropped; a heartbeat leaves after half of it
// without anything sent.
constexpr std::uint16_t kHeartbeatTimeoutSeconds = 120;
// Pause between a failed connect attempt and the attempt on the next front.
constexpr std::chrono::milliseconds kReconnectDelay{1000};
// An attempt not connected by then has failed, like a refused one. The operating system would wait
// minutes for a front that drops connection requests (a firewall, a dead host); a front across a border
// answers within a second, and three seconds still leave room for one lost SYN, resent after a second.
constexpr std::chrono::milliseconds kConnectTimeout{3000};
// A connection lost sooner than this after it came up counts as a failed attempt: the reconnect delay
// passes and the next front is tried. A front that accepts and closes at once (a proxy with nothing
// behind it, a front refusing this client) would otherwise be reconnected thousands of times a second,
// and would hold the client even when a later front works.
constexpr std::chrono::milliseconds kShortConnectionLife{1000};

struct TransportSettings {
    std::uint32_t writeBlockSize = kWriteBlockSize;
    std::uint32_t readBufferSize = kReadBufferSize;
    std::uint16_t heartbeatTimeout = kHeartbeatTimeoutSeconds;
    std::chrono::milliseconds reconnectDelay = kReconnectDelay;
    std::chrono::milliseconds connectTimeout = kConnectTimeout;
    std::chrono::milliseconds shortConnectionLife = kShortConnectionLife;
    // Told the position (in registration order) of every front an attempt is started on, on the thread
    // that starts it. Empty in what ships; tests watch failover with it.
    std::function<void(std::size_t frontIndex)> onAttempt;
    // The time and the waits of the heartbeat and silence timers. Empty in what ships: the steady clock
    // and Asio's timers. Tests give a source whose time they move themselves.
    std::shared_ptr<CTimerSource> timers;
};
