// Frames out of a byte stream: 4-byte big-endian length, then that many payload bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Frames announced above this length make the libraries close the connection.
constexpr std::uint32_t kWireMaxFrameLength = 8188;

struct WireFrameEvent {
    enum class Kind {
        Frame,      // a complete frame: payload holds it
        Oversized,  // a length above the limit: the rest of this stream cannot be framed
        Truncated,  // the stream ended inside a frame
        Gap,        // bytes of the stream are missing (a capture that lost packets)
    };
    Kind kind = Kind::Frame;
    std::uint64_t offset = 0;  // where the frame's length field starts in the stream
    std::uint32_t announced = 0;
    std::vector<std::uint8_t> payload;
};

class WireFrameSplitter {
public:
    using Sink = std::function<void(const WireFrameEvent&)>;

    explicit WireFrameSplitter(Sink sink) : sink_(std::move(sink)) {}

    void Feed(const std::uint8_t* bytes, std::size_t length);
    // The stream ended: reports a frame left incomplete.
    void Finish();
    // Bytes went missing: reported once; framing cannot resume after it.
    void Lost();
    bool Broken() const { return broken_; }

private:
    Sink sink_;
    std::vector<std::uint8_t> pending_;
    std::uint64_t consumed_ = 0;  // stream offset of pending_[0]
    bool broken_ = false;
};
