// The envelope every message travels in: an ApiHead group (ServiceNo, RequestID, EndFlag) followed by
// an ApiBody group holding the service's own fields.
#pragma once

#include <cstdint>

#include "TZOPackage.h"

// Room for one whole message: a frame is at most 8192 bytes, 4 of them its length.
constexpr std::uint32_t kAPIMessageMaxSize = 8188;
// The ApiHead field (42 bytes) plus the 8-byte ApiBody header: the size of a message with no body.
constexpr std::uint32_t kAPIEnvelopeSize = 50;

class CAPIPackage : public CTZOPackage {
public:
    CAPIPackage();

    // Starts an outgoing message in `buffer` (at least kAPIMessageMaxSize bytes); from then on the
    // object writes the body, and Data()/Length() are a complete message at every moment.
    int Begin(std::uint16_t serviceNo, std::int32_t requestID, std::uint8_t* buffer);
    // Servers (and our simulator) send replies in several packages and pushes with a sequence number:
    // rewrites the EndFlag of a message started with Begin, in place.
    void SetEndFlag(std::int32_t endFlag);
    // Reads the head of a received message and makes the object the reader of its body. The bytes are
    // only read, and must stay in place while the body is read.
    void OpenReceived(const std::uint8_t* bytes, std::uint32_t length);

    int Advance(std::uint32_t n) override;
    std::uint8_t* Data() override;
    std::uint32_t Length() override;

    std::uint16_t ServiceNo = 0;
    std::int32_t RequestID = 0;
    std::int32_t EndFlag = 0;

private:
    std::uint8_t* bufferStart_ = nullptr;
    std::uint32_t messageLength_ = 0;
    std::uint32_t bufferSize_ = 0;
    TZOFieldBinding headFields_[3];
    TZOBindingList headBindings_;
};
