#include "sysutil/TextFormat.h"

#include <cmath>
#include <vector>

#include "platform/Platform.h"

namespace kelvara {
namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = kKiB * 1024;
constexpr std::int64_t kGiB = kMiB * 1024;
constexpr std::int64_t kTiB = kGiB * 1024;

// The digits of a non-negative whole number with a separator every three.
std::wstring GroupedDigits(std::uint64_t value, wchar_t thousandSeparator) {
  const std::wstring digits = std::to_wstring(value);
  std::wstring out;
  out.reserve(digits.size() + digits.size() / 3);
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(thousandSeparator);
    out.push_back(digits[i]);
  }
  return out;
}

// `bytes / unit` with one decimal, rounded half away from zero.
std::wstring OneDecimal(std::int64_t bytes, std::int64_t unit, wchar_t thousandSeparator, wchar_t decimalSeparator) {
  const auto tenths =
      static_cast<std::uint64_t>(std::llround(static_cast<double>(bytes) * 10.0 / static_cast<double>(unit)));
  std::wstring out = GroupedDigits(tenths / 10, thousandSeparator);
  out.push_back(decimalSeparator);
  out.push_back(static_cast<wchar_t>(L'0' + tenths % 10));
  return out;
}

}  // namespace

std::wstring FormatFileSize(std::int64_t bytes, wchar_t thousandSeparator, wchar_t decimalSeparator) {
  if (bytes < kKiB) {
    const bool negative = bytes < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
    return (negative ? L"-" : L"") + GroupedDigits(magnitude, thousandSeparator) + L" Bytes";
  }
  if (bytes < kMiB) return OneDecimal(bytes, kKiB, thousandSeparator, decimalSeparator) + L" KB";
  if (bytes < kGiB) return OneDecimal(bytes, kMiB, thousandSeparator, decimalSeparator) + L" MB";
  if (bytes < kTiB) return OneDecimal(bytes, kGiB, thousandSeparator, decimalSeparator) + L" GB";
  return OneDecimal(bytes, kTiB, thousandSeparator, decimalSeparator) + L" TB";
}

std::wstring FormatFileSize(std::int64_t bytes) {
  platform::SystemApi& system = platform::System();
  return FormatFileSize(bytes, system.ThousandSeparator(), system.DecimalSeparator());
}

std::wstring FormatDateTimeStamp(std::wstring_view dateSeparator, std::wstring_view timeSeparator,
                                 const TDateTimeParts& time) {
  std::wstring out = std::to_wstring(time.Year);
  out.append(dateSeparator).append(std::to_wstring(time.Month));
  out.append(dateSeparator).append(std::to_wstring(time.Day));
  out.append(L" ").append(std::to_wstring(time.Hour));
  out.append(timeSeparator).append(std::to_wstring(time.Minute));
  out.append(timeSeparator).append(std::to_wstring(time.Second));
  out.append(timeSeparator).append(std::to_wstring(time.Millisecond));
  return out;
}

bool MatchesWildcard(std::wstring_view text, std::wstring_view mask) {
  // Matching text[i..] against mask[j..] depends only on (i, j), so the
  // recursive definition is evaluated bottom-up one text position at a
  // time: linear memory, and no exponential back-tracking on masks with
  // many "*".
  const std::size_t n = text.size();
  const std::size_t m = mask.size();
  const auto isLoneStar = [&](std::size_t j) { return j + 1 == m && mask[j] == L'*'; };
  std::vector<char> next(m + 1);                                            // row i + 1
  std::vector<char> row(m + 1);                                             // row i
  for (std::size_t j = 0; j <= m; ++j) row[j] = (j == m) || isLoneStar(j);  // exhausted text
  for (std::size_t i = n; i-- > 0;) {
    next.swap(row);
    for (std::size_t j = m + 1; j-- > 0;) {
      if (j == m) {
        row[j] = false;
      } else if (isLoneStar(j)) {
        row[j] = true;
      } else if (mask[j] == L'*') {
        row[j] = row[j + 1] || next[j];
      } else {
        row[j] = (mask[j] == L'?' || mask[j] == text[i]) && next[j + 1];
      }
    }
  }
  return row[0] != 0;
}

std::size_t LastPosFromEnd(std::wstring_view subText, std::wstring_view text) {
  if (subText.empty()) return text.size();
  const std::size_t pos = text.rfind(subText);
  if (pos == std::wstring_view::npos) return text.size();
  return pos + subText.size() - 1;
}

}  // namespace kelvara
