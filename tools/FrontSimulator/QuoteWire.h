// The quote service's messages, read and written with the quote client's own records. The quote records
// share names with the trade records (kept apart by their namespace), so nothing of either record set
// crosses this interface: only plain simulator types and bytes, and the services never mix the two.
#pragma once

#include <cstdint>

#include "DepthSnapshot.h"

// Room for one whole message, the same limit as every other message of the wire.
constexpr std::uint32_t kSimQuoteMessageMaxSize = 8188;

struct SimQuoteRequest {
    std::uint16_t serviceNo = 0;
    std::int32_t requestId = 0;
    char investorId[16] = {};
    char password[21] = {};
    char instrumentId[16] = {};
};

struct SimReplyStatus {
    std::int16_t code;
    const char* text;  // GBK
};

struct SimLoginGrant {
    const char* investorId;
    const char* tradingDay;  // YYYY-MM-DD
    const char* investorName;
    const char* systemName;
    std::int64_t sessionId;
};

// Reads the head and the request fields the quote service knows (login, logout, subscriptions). Unknown
// services come back with only serviceNo and requestId set.
void SimQuoteWireRead(const std::uint8_t* message, std::uint32_t length, SimQuoteRequest& request);

// Each writer builds one whole message into `buffer` (kSimQuoteMessageMaxSize bytes) and returns its length.
// 117: the reply information and, when granted, the login record.
std::uint32_t SimQuoteWireLoginReply(std::uint8_t* buffer, std::int32_t requestId, SimReplyStatus status,
                                     const SimLoginGrant* grant);
// 119: the reply information and the investor.
std::uint32_t SimQuoteWireLogoutReply(std::uint8_t* buffer, std::int32_t requestId, SimReplyStatus status,
                                      const char* investorId);
// 8 or 10: the reply information and the instrument the request named.
std::uint32_t SimQuoteWireSubscriptionReply(std::uint8_t* buffer, std::uint16_t serviceNo, std::int32_t requestId,
                                            SimReplyStatus status, const char* instrumentId);
// Any reply that carries only the reply information (refusals of services the simulator lacks).
std::uint32_t SimQuoteWireStatusReply(std::uint8_t* buffer, std::uint16_t serviceNo, std::int32_t requestId,
                                      SimReplyStatus status);
// 125: one quote.
std::uint32_t SimQuoteWireQuote(std::uint8_t* buffer, const SimDepthSnapshot& snapshot);
