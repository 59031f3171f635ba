#include "APIPackage.h"

#include "TZOByteOrder.h"

CAPIPackage::CAPIPackage() {
    headFields_[0] = {&TZOField::ServiceNo, &ServiceNo, sizeof ServiceNo, 0, nullptr, 0, 0, 0};
    headFields_[1] = {&TZOField::RequestID, &RequestID, sizeof RequestID, 0, nullptr, 0, 0, 0};
    headFields_[2] = {&TZOField::EndFlag, &EndFlag, sizeof EndFlag, 0, nullptr, 0, 0, 0};
    headBindings_ = {headFields_, 3};
}

int CAPIPackage::Begin(std::uint16_t serviceNo, std::int32_t requestID, std::uint8_t* buffer) {
    ServiceNo = serviceNo;
    RequestID = requestID;
    EndFlag = 0;
    bufferStart_ = buffer;
    messageLength_ = 0;
    bufferSize_ = kAPIMessageMaxSize;
    Attach(buffer, kAPIMessageMaxSize, 0, nullptr);
    AddStruct(headBindings_, TZOField::ApiHead.id);
    CTZOPackage body;
    OpenField(TZOField::ApiBody.id, &body);
    // From here on this object writes the body; its length slot is the ApiBody value length.
    Attach(body.Data(), body.Capacity(), 0, nullptr);
    return 0;
}

void CAPIPackage::SetEndFlag(std::int32_t endFlag) {
    EndFlag = endFlag;
    if (!bufferStart_) return;
    // ApiHead header (8), ServiceNo field (10), RequestID field (12), EndFlag header (8).
    constexpr std::uint32_t kEndFlagValueOffset = 8 + 10 + 12 + 8;
    tzo_wire::StoreU32(bufferStart_ + kEndFlagValueOffset, static_cast<std::uint32_t>(endFlag));
}

int CAPIPackage::Advance(std::uint32_t n) {
    length_ += n;
    if (parent_) {
        tzo_wire::StoreU32(data_ - 4, length_);
        parent_->Advance(n);
    }
    // The head and the body header only count towards the message; every later write is body.
    if (messageLength_ >= kAPIEnvelopeSize) tzo_wire::StoreU32(data_ - 4, length_);
    messageLength_ += n;
    return 0;
}

std::uint8_t* CAPIPackage::Data() { return bufferStart_; }

std::uint32_t CAPIPackage::Length() { return messageLength_; }

void CAPIPackage::OpenReceived(const std::uint8_t* bytes, std::uint32_t length) {
    // A reader never writes: the cast only lets the shared package type look at received bytes.
    Attach(const_cast<std::uint8_t*>(bytes), 0, length, nullptr);
    CTZOPackage head;
    if (FindField(TZOField::ApiHead.id, &head) == 0 && head.Data() &&
        DecodeFields(headBindings_, head.Data(), head.Length()) != 0) {
        // A head that does not decode whole names no message: it reads as ServiceNo 0, which every
        // reader passes over, rather than as a half-read service and request number.
        ServiceNo = 0;
        RequestID = 0;
        EndFlag = 0;
    }
    // Without a body the package reads as empty, never as the head's bytes.
    CTZOPackage body;
    if (FindField(TZOField::ApiBody.id, &body) != 0) {
        Attach(nullptr, 0, 0, nullptr);
        return;
    }
    Attach(body.Data(), 0, body.Length(), nullptr);
}
