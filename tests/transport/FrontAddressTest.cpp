#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FrontAddress.h"
#include "SocketLibrary.h"
#include "TransportSettings.h"

namespace {

struct ParseCase {
    const char* text;
    bool accepted;
    const char* host;
    std::uint16_t port;
};

const ParseCase kParseCases[] = {
    {"127.0.0.1:17001", true, "127.0.0.1", 17001},
    {"front.example:443", true, "front.example", 443},
    {"localhost:65535", true, "localhost", 65535},
    {"localhost:65536", true, "localhost", 0},  // truncated to 16 bits
    {"localhost:65537", true, "localhost", 1},
    {"localhost:abc", true, "localhost", 0},  // no digits
    {"localhost:", true, "localhost", 0},
    {"localhost: +42", true, "localhost", 42},  // leading blanks and a sign
    {"localhost:-1", true, "localhost", 65535},
    {"localhost:80/extra:9", true, "localhost", 80},               // reading stops at the first other character
    {"localhost:99999999999999999999", true, "localhost", 65535},  // saturates, never overflows
    {"host:1:2", true, "host", 1},                                 // the first ':' splits
    {":8000", true, "", 8000},
    {"no-colon-here", false, "", 0},
    {"", false, "", 0},
};

TEST(FrontAddress, ParsesHostAndPortAsTheFrontIsWritten) {
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(c.text);
        const auto address = ParseFrontAddress(c.text);
        ASSERT_EQ(address.has_value(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(address->host, c.host);
            EXPECT_EQ(address->port, c.port);
        }
    }
}

TEST(FrontAddress, HostLengthIsBoundedBy127Characters) {
    const std::string longest(kFrontHostMaxLength, 'h');
    const auto accepted = ParseFrontAddress(longest + ":1");
    ASSERT_TRUE(accepted.has_value());
    EXPECT_EQ(accepted->host, longest);

    EXPECT_FALSE(ParseFrontAddress(std::string(kFrontHostMaxLength + 1, 'h') + ":1").has_value());
    EXPECT_FALSE(ParseFrontAddress(std::string(200, 'h') + ":1").has_value());
    EXPECT_FALSE(ParseFrontAddress(std::string(200, 'h')).has_value());
}

TEST(TransportSettings, WhatShipsUsesTheSystemConstants) {
    const TransportSettings shipped;
    EXPECT_EQ(shipped.writeBlockSize, 10485760u);
    EXPECT_EQ(shipped.readBufferSize, 1048576u);
    EXPECT_EQ(shipped.heartbeatTimeout, 120);
    EXPECT_EQ(shipped.reconnectDelay.count(), 1000);
    EXPECT_EQ(shipped.connectTimeout.count(), 3000);
    EXPECT_EQ(shipped.shortConnectionLife.count(), 1000);
    EXPECT_FALSE(shipped.onAttempt);
}

// Every I/O service holds a reference; references nest and end in any order.
TEST(SocketLibrary, ReferencesNestAndEachIsStarted) {
    auto first = std::make_unique<CSocketLibraryRef>();
    EXPECT_TRUE(first->IsStarted());
    {
        CSocketLibraryRef second;
        EXPECT_TRUE(second.IsStarted());
        first.reset();
        CSocketLibraryRef third;
        EXPECT_TRUE(third.IsStarted());
    }
    CSocketLibraryRef again;
    EXPECT_TRUE(again.IsStarted());
}

}  // namespace
