#include "TraderLocalAnswers.h"

const char kNotSupportedErrorMsg[] = "Not supported";

namespace {
constexpr bool RowsFollowPositions() {
    for (std::size_t i = 0; i < kTraderApiPositionCount; ++i) {
        if (kTraderLocalAnswers[i].position != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
}  // namespace
static_assert(RowsFollowPositions(), "one row per position, in position order");
