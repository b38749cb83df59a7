#include "config/DateTime.h"

#include <charconv>
#include <cmath>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Text.h"

namespace kelvara {
namespace {

constexpr double kMsPerDay = 86400000.0;
// Day number of 30 December 1899 counted from 1 January 1970.
constexpr long long kEpochOffsetDays = -25569;

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970 of a proleptic Gregorian date (H. Hinnant's
// civil-date algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& year, int& month, int& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2 ? 1 : 0));
  month = static_cast<int>(m);
  day = static_cast<int>(d);
}

std::wstring TwoDigits(int value) {
  std::wstring text = std::to_wstring(value);
  return text.size() < 2 ? L"0" + text : text;
}

// A date text cut into its numbers and the separators between them.
struct DateTokens {
  std::vector<int> numbers;
  std::vector<int> digitCounts;
  std::vector<wchar_t> separators;  // separators[i] follows numbers[i]
};

bool ReadNumber(std::wstring_view text, std::size_t& pos, int& value, int& digits) {
  value = 0;
  digits = 0;
  while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
    if (digits == 9) return false;
    value = value * 10 + (text[pos] - L'0');
    ++digits;
    ++pos;
  }
  return digits > 0;
}

// Reads "n<sep>n<sep>n" from `pos`, all separators equal and one of `allowed`.
bool ReadTriple(std::wstring_view text, std::size_t& pos, std::wstring_view allowed, int maxParts, DateTokens& out) {
  int value = 0;
  int digits = 0;
  if (!ReadNumber(text, pos, value, digits)) return false;
  out.numbers.push_back(value);
  out.digitCounts.push_back(digits);
  while (static_cast<int>(out.numbers.size()) < maxParts && pos < text.size() &&
         allowed.find(text[pos]) != std::wstring_view::npos) {
    const wchar_t sep = text[pos];
    if (!out.separators.empty() && out.separators.back() != sep) return false;
    std::size_t next = pos + 1;
    if (!ReadNumber(text, next, value, digits)) return false;
    out.separators.push_back(sep);
    out.numbers.push_back(value);
    out.digitCounts.push_back(digits);
    pos = next;
  }
  return true;
}

int ExpandYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

bool ParseDatePart(std::wstring_view text, std::size_t& pos, TDateParts& parts) {
  DateTokens date;
  if (!ReadTriple(text, pos, L"-/.", 3, date) || date.numbers.size() != 3) return false;
  const wchar_t sep = date.separators[0];
  const auto& n = date.numbers;
  if (date.digitCounts[0] >= 3) {
    parts.year = n[0];
    parts.month = n[1];
    parts.day = n[2];
  } else if (sep == L'/' && n[0] <= 12) {
    parts.month = n[0];
    parts.day = n[1];
    parts.year = ExpandYear(n[2], date.digitCounts[2]);
  } else {
    parts.day = n[0];
    parts.month = n[1];
    parts.year = ExpandYear(n[2], date.digitCounts[2]);
  }
  return true;
}

bool ParseTimePart(std::wstring_view text, std::size_t& pos, TDateParts& parts) {
  DateTokens time;
  if (!ReadTriple(text, pos, L":", 3, time) || time.numbers.size() < 2) return false;
  parts.hour = time.numbers[0];
  parts.minute = time.numbers[1];
  parts.second = time.numbers.size() > 2 ? time.numbers[2] : 0;
  if (time.numbers.size() > 2 && pos < text.size() && (text[pos] == L'.' || text[pos] == L',')) {
    std::size_t next = pos + 1;
    int value = 0;
    int digits = 0;
    if (!ReadNumber(text, next, value, digits) || digits > 3) return false;
    while (digits++ < 3) value *= 10;
    parts.millisecond = value;
    pos = next;
  }
  while (pos < text.size() && text[pos] == L' ') ++pos;
  const std::wstring_view rest = text.substr(pos);
  const bool am = SameText(rest.substr(0, 2), L"AM");
  const bool pm = SameText(rest.substr(0, 2), L"PM");
  if (am || pm) {
    if (parts.hour < 1 || parts.hour > 12) return false;
    parts.hour = parts.hour % 12 + (pm ? 12 : 0);
    pos += 2;
  }
  return true;
}

}  // namespace

std::optional<TDateTime> EncodeDateTime(const TDateParts& p) {
  if (p.year < 1 || p.year > 9999 || p.month < 1 || p.month > 12) return std::nullopt;
  if (p.day < 1 || p.day > DaysInMonth(p.year, p.month)) return std::nullopt;
  if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 || p.second > 59 ||
      p.millisecond < 0 || p.millisecond > 999) {
    return std::nullopt;
  }
  const auto days = static_cast<double>(
      DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) - kEpochOffsetDays);
  const double time = ((p.hour * 60.0 + p.minute) * 60.0 + p.second) * 1000.0 + p.millisecond;
  // Before 30 December 1899 the day count is negative and the time of day
  // still counts forward from midnight, so it is subtracted.
  return days < 0 ? days - time / kMsPerDay : days + time / kMsPerDay;
}

TDateParts DecodeDateTime(TDateTime value) {
  double whole = std::trunc(value);
  auto ms = static_cast<long long>(std::llround(std::fabs(value - whole) * kMsPerDay));
  if (ms >= static_cast<long long>(kMsPerDay)) {
    ms -= static_cast<long long>(kMsPerDay);
    whole += value < 0 ? -1 : 1;
  }
  TDateParts parts;
  CivilFromDays(static_cast<long long>(whole) + kEpochOffsetDays, parts.year, parts.month, parts.day);
  parts.millisecond = static_cast<int>(ms % 1000);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.hour = static_cast<int>(ms / 3600000);
  return parts;
}

TDateTime Now() {
  // std::localtime shares one buffer per process on some C libraries; the
  // lock keeps two threads asking at once from reading each other's result.
  static std::mutex lock;
  const std::time_t seconds = std::time(nullptr);
  std::tm local{};
  {
    const std::lock_guard<std::mutex> guard(lock);
    if (const std::tm* tm = std::localtime(&seconds)) local = *tm;
  }
  TDateParts parts;
  parts.year = local.tm_year + 1900;
  parts.month = local.tm_mon + 1;
  parts.day = local.tm_mday;
  parts.hour = local.tm_hour;
  parts.minute = local.tm_min;
  parts.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second
  return EncodeDateTime(parts).value_or(0.0);
}

std::wstring FloatToText(double value, wchar_t decimal) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::wstring text = Widen(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
  for (wchar_t& c : text) {
    if (c == L'.') c = decimal;
  }
  return text;
}

std::optional<double> TextToFloat(std::wstring_view text, wchar_t decimal) {
  if (!text.empty() && text[0] == L'+') text.remove_prefix(1);
  std::string narrow;
  narrow.reserve(text.size());
  for (const wchar_t c : text) {
    if (c == decimal || c == L'.' || c == L',') {
      narrow.push_back('.');
    } else if ((c >= L'0' && c <= L'9') || c == L'e' || c == L'E' || c == L'-' || c == L'+') {
      narrow.push_back(static_cast<char>(c));
    } else {
      return std::nullopt;
    }
  }
  // from_chars checks the placement of signs, point and exponent.
  double value = 0;
  const char* end = narrow.data() + narrow.size();
  const auto result = std::from_chars(narrow.data(), end, value);
  if (narrow.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::wstring FormatDateText(TDateTime value) {
  const TDateParts p = DecodeDateTime(value);
  return std::to_wstring(p.year) + L"-" + TwoDigits(p.month) + L"-" + TwoDigits(p.day) + L" " + TwoDigits(p.hour) +
         L":" + TwoDigits(p.minute) + L":" + TwoDigits(p.second);
}

std::optional<TDateTime> ParseDateText(std::wstring_view text) {
  const std::wstring trimmed = Trim(text);
  const std::wstring_view view(trimmed);
  std::size_t pos = 0;
  TDateParts parts;
  if (!ParseDatePart(view, pos, parts)) return std::nullopt;
  if (pos < view.size()) {
    if (view[pos] != L' ' && view[pos] != L'T') return std::nullopt;
    while (pos < view.size() && (view[pos] == L' ' || view[pos] == L'T')) ++pos;
    if (!ParseTimePart(view, pos, parts)) return std::nullopt;
  }
  while (pos < view.size() && view[pos] == L' ') ++pos;
  if (pos != view.size()) return std::nullopt;
  return EncodeDateTime(parts);
}

}  // namespace kelvara
