// Bounded copies into the fixed text members of the back end's records.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

template <std::size_t N>
void SimCopy(char (&dest)[N], const char* text) {
    std::memset(dest, 0, N);
    if (text) std::memcpy(dest, text, strnlen(text, N - 1));
}

template <std::size_t N>
void SimCopy(char (&dest)[N], const std::string& text) {
    SimCopy(dest, text.c_str());
}

// The text of a fixed member, up to its NUL or its end.
template <std::size_t N>
std::string SimText(const char (&src)[N]) {
    return std::string(src, strnlen(src, N));
}
