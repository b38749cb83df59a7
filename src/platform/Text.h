// Text helpers shared by every layer: case-insensitive comparison and
// casing (one table, the same on both targets), trimming, and lossless
// conversions between std::wstring and UTF-16, UTF-8 and Windows-1252.
//
// std::wstring holds UTF-16 code units on Windows and code points on Linux.
// On Linux an unpaired surrogate is kept as its own code unit value, so
// every UTF-16 sequence the registry can hold survives a round trip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvara {

wchar_t UpperChar(wchar_t c) noexcept;
wchar_t LowerChar(wchar_t c) noexcept;
std::wstring UpperCase(std::wstring_view text);
std::wstring LowerCase(std::wstring_view text);

bool SameText(std::wstring_view a, std::wstring_view b) noexcept;
// <0, 0, >0 comparing the upper-cased texts code unit by code unit.
int CompareText(std::wstring_view a, std::wstring_view b) noexcept;
// Case-insensitive search; npos when absent.
std::size_t FindText(std::wstring_view haystack, std::wstring_view needle, std::size_t from = 0) noexcept;
inline bool ContainsText(std::wstring_view haystack, std::wstring_view needle) noexcept {
  return FindText(haystack, needle) != std::wstring_view::npos;
}
bool StartsWithText(std::wstring_view text, std::wstring_view prefix) noexcept;
bool EndsWithText(std::wstring_view text, std::wstring_view suffix) noexcept;
// Replaces every occurrence, case-insensitively / exactly.
std::wstring ReplaceAllText(std::wstring_view text, std::wstring_view from, std::wstring_view to);
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to);

// Removes leading and trailing blanks and control characters (<= U+0020).
std::wstring Trim(std::wstring_view text);
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);

// Case-insensitive ordering and hashing for containers keyed by names.
struct TextLess {
  bool operator()(std::wstring_view a, std::wstring_view b) const noexcept { return CompareText(a, b) < 0; }
};

std::u16string ToUtf16(std::wstring_view text);
std::wstring FromUtf16(std::u16string_view text);
// UTF-16LE bytes, optionally with a terminating NUL code unit.
std::vector<std::uint8_t> ToUtf16LeBytes(std::wstring_view text, bool withNul);
// Decodes UTF-16LE bytes; an odd last byte is dropped.
std::wstring FromUtf16LeBytes(const std::uint8_t* data, std::size_t size);
// UTF-8 with surrogates encoded as three-byte sequences (so nothing is
// lost); malformed bytes decode as U+FFFD.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);
// Windows-1252; characters it cannot hold become "?".
std::string ToAnsi(std::wstring_view text);
std::wstring FromAnsi(std::string_view bytes);

// Narrow ASCII literal or number text to wide.
std::wstring Widen(std::string_view ascii);

}  // namespace kelvara
