#include "WireStream.h"

#include "TZOByteOrder.h"

void WireFrameSplitter::Feed(const std::uint8_t* bytes, std::size_t length) {
    if (broken_) return;
    pending_.insert(pending_.end(), bytes, bytes + length);
    std::size_t position = 0;
    while (pending_.size() - position >= 4) {
        const std::uint32_t announced = tzo_wire::LoadU32(pending_.data() + position);
        if (announced > kWireMaxFrameLength) {
            // Like the libraries: the length alone condemns the frame, before its payload arrives.
            WireFrameEvent event;
            event.kind = WireFrameEvent::Kind::Oversized;
            event.offset = consumed_ + position;
            event.announced = announced;
            broken_ = true;
            pending_.clear();
            sink_(event);
            return;
        }
        if (pending_.size() - position - 4 < announced) break;
        WireFrameEvent event;
        event.offset = consumed_ + position;
        event.announced = announced;
        event.payload.assign(pending_.begin() + static_cast<std::ptrdiff_t>(position + 4),
                             pending_.begin() + static_cast<std::ptrdiff_t>(position + 4 + announced));
        position += 4 + announced;
        sink_(event);
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(position));
    consumed_ += position;
}

void WireFrameSplitter::Finish() {
    if (broken_ || pending_.empty()) return;
    WireFrameEvent event;
    event.kind = WireFrameEvent::Kind::Truncated;
    event.offset = consumed_;
    event.announced = pending_.size() >= 4 ? tzo_wire::LoadU32(pending_.data()) : 0;
    event.payload = pending_;
    pending_.clear();
    sink_(event);
}

void WireFrameSplitter::Lost() {
    if (broken_) return;
    WireFrameEvent event;
    event.kind = WireFrameEvent::Kind::Gap;
    event.offset = consumed_ + pending_.size();
    broken_ = true;
    pending_.clear();
    sink_(event);
}
