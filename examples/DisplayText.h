// Texts of the libraries' records made fit for the terminal: bounded by their field and turned from GBK,
// in which the back end writes its Chinese texts, into UTF-8.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

// GBK bytes as UTF-8. A byte sequence that is not GBK is shown as \xNN escapes instead of being dropped,
// so a damaged text is still visible as such.
std::string GbkToUtf8(const std::string& gbk);

// The text of a fixed-size character field: up to its NUL, never past its end.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// A field's text as UTF-8.
template <std::size_t N>
std::string DisplayText(const char (&field)[N]) {
    return GbkToUtf8(FieldText(field));
}
