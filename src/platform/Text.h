// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text helpers shared by every layer. Model strings are UTF-8 as the file system hands them over; nothing
// here rejects bytes that are not valid UTF-8, they are carried through unchanged.
namespace trx::text {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Appends the UTF-8 form of code point `cp` to `out`; surrogates and values above U+10FFFF give U+FFFD.
void AppendUtf8(std::string& out, char32_t cp);

// Decodes one code point at `pos` and advances `pos`. An invalid or cut sequence yields U+FFFD and advances
// by one byte, so every input is consumed.
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

bool IsValidUtf8(std::string_view text);

// Converts `count` UTF-16LE code units starting at `units` to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16LeToUtf8(const unsigned char* units, std::size_t count);

// Windows code page 1252: the five bytes without a character map to the code point of the same number.
char32_t Cp1252ToUnicode(std::uint8_t byte);

// Inverse of Cp1252ToUnicode; a code point the code page cannot show gives '?'.
std::uint8_t UnicodeToCp1252(char32_t cp);

// Unicode simple upper-case mapping of UTF-8 text. Bytes that are not valid UTF-8 stay as they are, so two
// different names never become equal through a decoding error.
std::string UpperCase(std::string_view text);

// Folds ASCII a to z only; every other byte stays.
std::string AsciiUpperCase(std::string_view text);
// One byte upper-cased in ASCII (a to z only).
inline char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c;
}

// Case-insensitive equality by UpperCase.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace trx::text
