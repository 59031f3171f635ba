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

namespace trader_answer_rows {
using K = TraderAnswerKind;
using S = CNarvSqelTraderSpi;

// clang-format off
inline constexpr TraderLocalAnswer kRows[kTraderApiPositionCount] = {
    {0, K::Lifecycle, -1, nullptr},
    {1, K::Lifecycle, -1, nullptr},
    {2, K::Lifecycle, -1, nullptr},
    {3, K::Lifecycle, -1, nullptr},
    {4, K::Lifecycle, -1, nullptr},
    {5, K::Lifecycle, -1, nullptr},
    {6, K::Lifecycle, -1, nullptr},
    {7, K::Lifecycle, -1, nullptr},
    {8, K::Lifecycle, -1, nullptr},
    {9, K::Lifecycle, -1, nullptr},
    {10, K::LocalRecord, 3, nullptr},
    {11, K::NotProvided, -1, nullptr},
    {12, K::NotProvided, -1, nullptr},
    {13, K::Forwarded, 4, nullptr},
    {14, K::Forwarded, 5, nullptr},
    {15, K::Forwarded, 6, nullptr},
    {16, K::NotProvided, -1, nullptr},
    {17, K::LocalRecord, 8, nullptr},
    {18, K::NotProvided, -1, nullptr},
    {19, K::NotProvided, -1, nullptr},
    {20, K::NotProvided, -1, nullptr},
    {21, K::NotProvided, -1, nullptr},
    {22, K::NotProvided, -1, nullptr},
    {23, K::Forwarded, 11, nullptr},
    {24, K::NotProvided, -1, nullptr},
    {25, K::NotProvided, -1, nullptr},
    {26, K::Forwarded, 14, nullptr},
    {27, K::LocalRecord, 15, nullptr},
    {28, K::LocalRecord, 16, nullptr},
    {29, K::NotProvided, -1, nullptr},
    {30, K::NotProvided, -1, nullptr},
    {31, K::NotSupported, 19, &S::OnExt31Rsp},
    {32, K::NotSupported, 20, &S::OnExt32Rsp},
    {33, K::NotSupported, 21, &S::OnExt33Rsp},
    {34, K::NotSupported, 22, &S::OnExt34Rsp},
    {35, K::NotSupported, 23, &S::OnExt35Rsp},
    {36, K::NotProvided, -1, nullptr},
    {37, K::EmptyReply, 25, &S::OnExt37Rsp},
    {38, K::EmptyReply, 26, &S::OnExt38Rsp},
    {39, K::NotProvided, -1, nullptr},
    {40, K::Forwarded, 28, nullptr},
    {41, K::Forwarded, 29, nullptr},
    {42, K::Forwarded, 30, nullptr},
    {43, K::Forwarded, 31, nullptr},
    {44, K::LocalRecord, 32, nullptr},
    {45, K::EmptyReply, 33, &S::OnExt45Rsp},
    {46, K::Forwarded, 34, nullptr},
    {47, K::Forwarded, 35, nullptr},
    {48, K::Forwarded, 36, nullptr},
    {49, K::Forwarded, 37, nullptr},
    {50, K::Forwarded, 38, nullptr},
    {51, K::Forwarded, 39, nullptr},
    {52, K::EmptyReply, 40, &S::OnExt52Rsp},
    {53, K::EmptyReply, 41, &S::OnExt53Rsp},
    {54, K::Forwarded, 42, nullptr},
    {55, K::EmptyReply, 43, &S::OnExt55Rsp},
    {56, K::LocalRecord, 44, nullptr},
    {57, K::EmptyReply, 45, &S::OnExt57Rsp},
    {58, K::EmptyReply, 46, &S::OnExt58Rsp},
    {59, K::NotProvided, -1, nullptr},
    {60, K::NotProvided, -1, nullptr},
    {61, K::Forwarded, 49, nullptr},
    {62, K::NotProvided, -1, nullptr},
    {63, K::NotProvided, -1, nullptr},
    {64, K::NotProvided, -1, nullptr},
    {65, K::NotProvided, -1, nullptr},
    {66, K::EmptyReply, 54, &S::OnExt66Rsp},
    {67, K::NotProvided, -1, nullptr},
    {68, K::NotProvided, -1, nullptr},
    {69, K::EmptyReply, 57, &S::OnExt69Rsp},
    {70, K::NotProvided, -1, nullptr},
    {71, K::NotProvided, -1, nullptr},
    {72, K::EmptyReply, 60, &S::OnExt72Rsp},
    {73, K::EmptyReply, 61, &S::OnExt73Rsp},
    {74, K::EmptyReply, 62, &S::OnExt74Rsp},
    {75, K::EmptyReply, 63, &S::OnExt75Rsp},
    {76, K::EmptyReply, 64, &S::OnExt76Rsp},
    {77, K::EmptyReply, 65, &S::OnExt77Rsp},
    {78, K::EmptyReply, 66, &S::OnExt78Rsp},
    {79, K::EmptyReply, 67, &S::OnExt79Rsp},
    {80, K::EmptyReply, 68, &S::OnExt80Rsp},
    {81, K::EmptyReply, 69, &S::OnExt81Rsp},
    {82, K::EmptyReply, 70, &S::OnExt82Rsp},
    {83, K::EmptyReply, 71, &S::OnExt83Rsp},
    {84, K::EmptyReply, 96, &S::OnExt84Rsp},
    {85, K::EmptyReply, 97, &S::OnExt85Rsp},
    {86, K::EmptyReply, 98, &S::OnExt86Rsp},
    {87, K::EmptyReply, 99, &S::OnExt87Rsp},
    {88, K::LocalRecord, 100, nullptr},
    {89, K::EmptyReply, 101, &S::OnExt89Rsp},
    {90, K::EmptyReply, 102, &S::OnExt90Rsp},
    {91, K::NotProvided, -1, nullptr},
    {92, K::NotProvided, -1, nullptr},
    {93, K::EmptyReply, 121, &S::OnExt93Rsp},
    {94, K::EmptyReply, 125, &S::OnExt94Rsp},
    {95, K::EmptyReply, 126, &S::OnExt95Rsp},
};
// clang-format on
}  // namespace trader_answer_rows

// The implementation is driven from this table: every position it answers by the table alone is
// checked against its row when compiled (NARV_TRADER_TABLE_ANSWER in SqelTraderApiImpl.h).
inline constexpr const TraderLocalAnswer (&kTraderLocalAnswers)[kTraderApiPositionCount] = trader_answer_rows::kRows;

// True for the rows the table alone answers: -3, an empty reply or "Not supported".
constexpr bool TraderAnsweredByTable(int position) {
    return kTraderLocalAnswers[position].kind == TraderAnswerKind::NotProvided ||
           kTraderLocalAnswers[position].kind == TraderAnswerKind::EmptyReply ||
           kTraderLocalAnswers[position].kind == TraderAnswerKind::NotSupported;
}

constexpr int kNotSupportedErrorID = 99;
extern const char kNotSupportedErrorMsg[];
