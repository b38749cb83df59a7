// Date-time values as the configuration file stores them: a number of days
// since 30 December 1899 00:00 whose fraction is the time of day (so
// 1.5 is 31 December 1899 12:00), in local time.
//
// Two text forms exist in the files:
// - the float date: the number itself, written with the user's decimal
//   separator ("45123,75" in a German locale);
// - the date text: a calendar date and a time of day. The program writes
//   it in one fixed form, "yyyy-mm-dd hh:nn:ss" (ISO 8601 order, 24-hour
//   clock, leading zeros), the same on every machine and locale, so a file
//   moved between machines still reads. On reading it also accepts the
//   short-date and long-time forms Windows locales produce (see
//   ParseDateText).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvara {

using TDateTime = double;

struct TDateParts {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// nullopt when a part is out of range (month 13, 30 February, hour 24, ...).
std::optional<TDateTime> EncodeDateTime(const TDateParts& parts);
// The calendar parts of a value, rounded to the millisecond.
TDateParts DecodeDateTime(TDateTime value);

// The current local date and time.
TDateTime Now();

// The shortest text that reads back as exactly `value`, with `decimal`
// as the decimal separator.
std::wstring FloatToText(double value, wchar_t decimal);
// Accepts `decimal`, "." or "," as the one decimal separator (a file moved
// from another locale still reads) and an optional exponent; nullopt for
// anything else (blanks, thousands groups, trailing text).
std::optional<double> TextToFloat(std::wstring_view text, wchar_t decimal);

// "yyyy-mm-dd hh:nn:ss".
std::wstring FormatDateText(TDateTime value);
// Reads a date, optionally followed by a time:
// - the date as year-month-day with "-", "/" or "." between the parts
//   (a four-digit first part), as day.month.year (dots), or as
//   month/day/year and day-month-year; with "/" the first part is the day
//   when it is above 12, and a two-digit year means 1950 to 2049;
// - the time as h:n, h:n:s or h:n:s.zzz with an optional "AM"/"PM".
// nullopt when the text is none of these or names no valid date.
std::optional<TDateTime> ParseDateText(std::wstring_view text);

}  // namespace kelvara
