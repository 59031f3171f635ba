// Bounded copies into fixed-size character fields. Every target is zeroed beforehand by its record, so
// a copy only has to stop early enough to leave the terminator in place. Both facades copy with these.
//
// Thread safety: pure functions of their arguments.
#pragma once

#include <cstddef>
#include <cstdint>

// Copies at most `maxChars` characters of `source`, never reading more than `sourceSize - 1` of its bytes
// and never writing more than the target holds besides its terminator; the target is always terminated.
// A source field that lacks its terminator is thereby cut at its own width instead of running into the
// bytes after it.
void FacadeCopyBounded(char* target, std::size_t targetSize, const char* source, std::size_t sourceSize,
                       std::size_t maxChars);

// A field of a record into a field of another record: both widths bound the copy, whatever `maxChars`
// the conversion allows.
template <std::size_t N, std::size_t M>
void FacadeCopyText(char (&target)[N], const char (&source)[M], std::size_t maxChars) {
    FacadeCopyBounded(target, N, source, M, maxChars);
}

// A NUL-terminated text of the library's own (a constant, a status text) into a field.
template <std::size_t N>
void FacadeCopyString(char (&target)[N], const char* source, std::size_t maxChars) {
    FacadeCopyBounded(target, N, source, maxChars + 1, maxChars);
}

// A year-month-day date with dashes ("2025-03-14") as its eight digits ("20250314"): characters 0 to 3,
// 5 and 6, 8 and 9. Stops at the source's terminator (or its width), so an empty date stays empty.
void FacadeCopyDashlessDate(char (&target)[9], const char* source, std::size_t sourceSize);
template <std::size_t M>
void FacadeCopyDashlessDate(char (&target)[9], const char (&source)[M]) {
    FacadeCopyDashlessDate(target, source, M);
}

// Leading decimal number of a text (after blanks, with an optional sign), 0 when there is none.
// Values beyond the 32-bit range are held at its ends.
std::int32_t FacadeDecimalValue(const char* text, std::size_t maxChars);

// The application's 32-bit halves of the back end's 64-bit SessionID.
std::int32_t FacadeFrontOf(std::int64_t sessionID);
std::int32_t FacadeSessionOf(std::int64_t sessionID);
// The back end's 64-bit SessionID rebuilt from the two halves, each taken as unsigned 32 bits.
std::int64_t FacadeJoinSessionID(std::int32_t frontID, std::int32_t sessionID);
