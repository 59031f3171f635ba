// Bounded copies into fixed-size character fields. Every target is zeroed beforehand by its record, so
// a copy only has to stop early enough to leave the terminator in place.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies at most `maxChars` characters of `source` (fewer when a NUL comes first, and never more than
// the target holds besides its terminator).
void TraderCopyText(char* target, std::size_t targetSize, const char* source, std::size_t maxChars);

template <std::size_t N>
void TraderCopyText(char (&target)[N], const char* source, std::size_t maxChars) {
    TraderCopyText(target, N, source, maxChars);
}

// A year-month-day date with dashes ("2025-03-14") as its eight digits ("20250314"): characters 0 to 3,
// 5 and 6, 8 and 9. Stops at the source's terminator, so an empty date stays empty.
void TraderCopyDashlessDate(char (&target)[9], const char* source);

// Leading decimal number of a text (after blanks, with an optional sign), 0 when there is none.
// Values beyond the 32-bit range are held at its ends.
std::int32_t TraderDecimalValue(const char* text, std::size_t maxChars);

// The application's 32-bit halves of the back end's 64-bit SessionID.
std::int32_t TraderFrontOf(std::int64_t sessionID);
std::int32_t TraderSessionOf(std::int64_t sessionID);
// The back end's 64-bit SessionID rebuilt from the two halves, each taken as unsigned 32 bits.
std::int64_t TraderJoinSessionID(std::int32_t frontID, std::int32_t sessionID);
