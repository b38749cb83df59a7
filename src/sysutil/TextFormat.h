// Small text formatters shared by the pages and engines: file sizes, the
// date-time stamp of backup names, wildcard masks of the exclusion list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvara {

// A calendar date and time of day, as the caller's clock gave it.
struct TDateTimeParts {
  int Year = 0;
  int Month = 0;
  int Day = 0;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
  int Millisecond = 0;
};

// A byte count as "1,023 Bytes", "1.5 KB", "1.0 MB", "2.3 GB" or "1.0 TB",
// one decimal from KB on, with the given grouping and decimal characters.
// Negative counts use the bytes form.
std::wstring FormatFileSize(std::int64_t bytes, wchar_t thousandSeparator, wchar_t decimalSeparator);
// The same with the user's locale characters from platform::System().
std::wstring FormatFileSize(std::int64_t bytes);

// Year, month and day joined by `dateSeparator`, a blank, then hour,
// minute, second and millisecond joined by `timeSeparator`, all without
// leading zeros: 5 March 2019 14:07:09.123 with "-" gives "2019-3-5 14-7-9-123".
std::wstring FormatDateTimeStamp(std::wstring_view dateSeparator, std::wstring_view timeSeparator,
                                 const TDateTimeParts& time);

// The mask matches the whole text; "*" matches any run of characters (also
// none), "?" any one character, everything else itself (case-sensitive).
// A mask of exactly "*" matches everything; otherwise an exhausted text
// matches only an exhausted mask, so "a**" does not match "a".
bool MatchesWildcard(std::wstring_view text, std::wstring_view mask);

// The zero-based position of the last character of the last occurrence of
// `subText` in `text`; the length of `text` when it does not occur.
std::size_t LastPosFromEnd(std::wstring_view subText, std::wstring_view text);

}  // namespace kelvara
