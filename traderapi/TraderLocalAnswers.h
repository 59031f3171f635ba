// What every position of the exported request interface does, as one table indexed by position: the
// requests the library does not provide (-3, no callback), those it answers with an empty reply or with
// "Not supported" (ErrorID 99) through a fixed callback position, those it answers with a record of its
// own, those it forwards to the back end, and the lifecycle operations.
#pragma once

#include <cstddef>

#include "NarvSqelTraderApi.h"

enum class TraderAnswerKind {
    Lifecycle,     // positions 0 to 9: setup and teardown, no request record
    NotProvided,   // returns -3; nothing is posted
    EmptyReply,    // callback with null record, null response info, the request id, last
    NotSupported,  // callback with the request, 99 / "Not supported", the request id, last
    LocalRecord,   // callback with a record built by the library
    Forwarded,     // sent to the back end
};

using TraderExtCallback = void (CNarvSqelTraderSpi::*)(const void*, const NarvRspInfoRecord*, int, bool);

struct TraderLocalAnswer {
    int position;
    TraderAnswerKind kind;
    int callbackPosition;        // -1 when no callback belongs to the position
    TraderExtCallback callback;  // for EmptyReply and NotSupported
};

constexpr std::size_t kTraderApiPositionCount = 96;
extern const TraderLocalAnswer kTraderLocalAnswers[kTraderApiPositionCount];

constexpr int kNotSupportedErrorID = 99;
extern const char kNotSupportedErrorMsg[];
