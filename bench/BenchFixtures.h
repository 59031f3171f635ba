// Records and frames the benchmarks send and decode: a ten-level quote, an order return, an order entry
// and the replies a front gives to it, filled with values of realistic length.
#pragma once

#include <cstdint>
#include <vector>

#include "NELOOrderRecords.h"
#include "NELOQueryRecords.h"
#include "NELOQuotRecords.h"

namespace narv_bench {

constexpr std::uint16_t kQuotePushService = 125;
constexpr std::uint16_t kInputOrderService = 122;
constexpr std::uint16_t kInputOrderReplyService = 123;
constexpr std::uint16_t kAccountFlowService = 1;  // flow 1: order and trade returns
constexpr std::int32_t kOrderPushKind = 124;

quot::NELOQuotRecord SampleQuote();
NELOOrderRecord SampleOrder();
NELOInputOrderRecord SampleInputOrder();

// Whole frames: the 4-byte length and one envelope message.
std::vector<std::uint8_t> QuoteFrame(const quot::NELOQuotRecord& quote);
// An order return on flow 1 with the given push sequence.
std::vector<std::uint8_t> OrderPushFrame(const NELOOrderRecord& order, std::int32_t sequence);
std::vector<std::uint8_t> InputOrderFrame(const NELOInputOrderRecord& order, std::int32_t requestId);
// The front's acceptance of an order entry: RspInfo with code 0 and the order echoed.
std::vector<std::uint8_t> InputOrderReplyFrame(const NELOInputOrderRecord& order, std::int32_t requestId);

// `count` quote frames in a row as a market sends them: instruments in turn, and prices, quantities,
// match numbers and times that move from one quote to the next (the same seed gives the same stream).
std::vector<std::uint8_t> MarketQuoteStream(int count);

// Where a frame keeps the head values, for patching pre-built frames in place.
constexpr std::size_t kFrameServiceNoOffset = 4 + 16;
constexpr std::size_t kFrameRequestIdOffset = 4 + 26;
constexpr std::size_t kFrameEndFlagOffset = 4 + 38;

void PatchInt32(std::vector<std::uint8_t>& frame, std::size_t offset, std::int32_t value);
void PatchInt32(std::uint8_t* frame, std::size_t offset, std::int32_t value);

}  // namespace narv_bench
