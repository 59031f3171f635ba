#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "APIPackage.h"
#include "TZOByteOrder.h"

namespace {

std::vector<std::uint8_t> Bytes(CAPIPackage& p) { return {p.Data(), p.Data() + p.Length()}; }

TEST(Envelope, HeadOnlyMessageIsFiftyBytes) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize, 0xCC);
    CAPIPackage message;
    ASSERT_EQ(message.Begin(116, 7, buffer.data()), 0);
    const std::vector<std::uint8_t> expected = {
        0x03, 0xF1, 0, 0, 0, 0, 0, 34,                // ApiHead, 34 bytes
        0x03, 0xF0, 0, 0, 0, 0, 0, 2,  0, 116,        // ServiceNo 116
        0x03, 0xEB, 0, 0, 0, 0, 0, 4,  0, 0,   0, 7,  // RequestID 7
        0x03, 0xEC, 0, 0, 0, 0, 0, 4,  0, 0,   0, 0,  // EndFlag 0
        0x03, 0xF2, 0, 0, 0, 0, 0, 0,                 // ApiBody, empty
    };
    EXPECT_EQ(Bytes(message), expected);
}

TEST(Envelope, BodyLengthFollowsEveryBodyWrite) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize, 0);
    CAPIPackage message;
    message.Begin(116, 7, buffer.data());
    char investor[16] = "ABCDEF";
    const TZOFieldBinding binding{&TZOField::InvestorID, investor, sizeof investor, 0, nullptr, 0, 0, 0};
    ASSERT_EQ(message.AddStruct({&binding, 1}, TZOField::LoginReq.id), 14);
    EXPECT_EQ(message.Length(), 72u);
    EXPECT_EQ(tzo_wire::LoadU32(buffer.data() + 46), 22u);
}

TEST(Envelope, BodyThatDoesNotFitLeavesAWellFormedMessage) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize, 0);
    CAPIPackage message;
    message.Begin(122, 1, buffer.data());
    std::vector<char> text(1025, 'x');
    text.back() = 0;
    const TZOFieldBinding binding{&TZOField::PayURL, text.data(), 1025, 0, nullptr, 0, 0, 0};
    int added = 0;
    while (message.AddStruct({&binding, 1}, TZOField::ElectronicFundIOReq.id) > 0) ++added;
    EXPECT_EQ(added, 7);
    // What would be sent is exactly the complete part: the body length matches what was committed.
    EXPECT_EQ(tzo_wire::LoadU32(buffer.data() + 46) + kAPIEnvelopeSize, message.Length());
    CAPIPackage reader;
    reader.OpenReceived(buffer.data(), message.Length());
    EXPECT_EQ(reader.ServiceNo, 122);
    CTZOPackage group;
    EXPECT_EQ(reader.FindField(TZOField::ElectronicFundIOReq.id, &group), 0);
    EXPECT_EQ(group.Length(), 8u + 1024u);
}

TEST(Envelope, ReceivedHeadIsFoundInAnyOrder) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize, 0);
    CAPIPackage message;
    message.Begin(123, -5, buffer.data());
    message.SetEndFlag(3);
    std::int16_t rspNo = 9;
    const TZOFieldBinding binding{&TZOField::RspNo, &rspNo, 2, 0, nullptr, 0, 0, 0};
    message.AddStruct({&binding, 1}, TZOField::RspInfo.id);

    // The same message with the body first.
    std::vector<std::uint8_t> swapped(buffer.begin() + 42, buffer.begin() + message.Length());
    swapped.insert(swapped.end(), buffer.begin(), buffer.begin() + 42);

    for (auto* bytes : {&buffer, &swapped}) {
        CAPIPackage received;
        received.OpenReceived(bytes->data(), message.Length());
        EXPECT_EQ(received.ServiceNo, 123);
        EXPECT_EQ(received.RequestID, -5);
        EXPECT_EQ(received.EndFlag, 3);
        std::int16_t decoded = 0;
        const TZOFieldBinding out{&TZOField::RspNo, &decoded, 2, 0, nullptr, 0, 0, 0};
        CTZOPackage group;
        ASSERT_EQ(received.FindField(TZOField::RspInfo.id, &group), 0);
        ASSERT_EQ(DecodeFields({&out, 1}, group.Data(), group.Length()), 0);
        EXPECT_EQ(decoded, 9);
    }
}

TEST(Envelope, MessageWithoutHeadOrBodyReachesNoHandler) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize, 0);
    CAPIPackage message;
    message.Begin(123, 5, buffer.data());
    // Only the body field, without the head.
    CAPIPackage headless;
    headless.OpenReceived(buffer.data() + 42, 8);
    EXPECT_EQ(headless.ServiceNo, 0);
    EXPECT_EQ(headless.RequestID, 0);
    EXPECT_EQ(headless.EndFlag, 0);

    CAPIPackage bodiless;
    bodiless.OpenReceived(buffer.data(), 42);
    EXPECT_EQ(bodiless.ServiceNo, 123);
    CTZOPackage child;
    EXPECT_EQ(bodiless.FindField(TZOField::RspInfo.id, &child), -1);
    EXPECT_EQ(bodiless.FindField(TZOField::ServiceNo.id, &child), -1) << "the head is not read as the body";

    for (std::uint32_t cut = 0; cut < message.Length(); ++cut) {
        std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[cut + 1]);
        std::memcpy(exact.get(), buffer.data(), cut);
        CAPIPackage truncated;
        truncated.OpenReceived(exact.get(), cut);
        EXPECT_EQ(truncated.ServiceNo, cut >= 42 ? 123 : 0) << cut;
    }
}

// A head that does not decode whole (here a RequestID three bytes wide) is no message at all, not a
// ServiceNo with a request number left out.
TEST(Envelope, MalformedHeadReadsAsNoMessage) {
    std::vector<std::uint8_t> buffer(kAPIMessageMaxSize, 0);
    CAPIPackage message;
    message.Begin(123, 5, buffer.data());
    message.SetEndFlag(1);
    ASSERT_EQ(buffer[25], 4);  // the low byte of RequestID's value length
    buffer[25] = 3;
    CAPIPackage received;
    received.OpenReceived(buffer.data(), message.Length());
    EXPECT_EQ(received.ServiceNo, 0);
    EXPECT_EQ(received.RequestID, 0);
    EXPECT_EQ(received.EndFlag, 0);
}

}  // namespace
