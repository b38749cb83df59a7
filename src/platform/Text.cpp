#include "platform/Text.h"

#include <algorithm>

namespace kelvara {
namespace {

// Code units above this fit in wchar_t on both targets.
constexpr std::uint32_t kMaxBmp = 0xFFFF;

bool IsHighSurrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendCodePoint(std::wstring& out, std::uint32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp > kMaxBmp) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned ones, which
// map to the C1 control of the same value as Windows does.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

wchar_t UpperChar(wchar_t c) noexcept {
  const auto u = static_cast<std::uint32_t>(c);
  if (u < 0x80) return (u >= 'a' && u <= 'z') ? static_cast<wchar_t>(u - 32) : c;
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<wchar_t>(u - 32);
  if (u == 0xFF) return static_cast<wchar_t>(0x178);
  if (u >= 0x100 && u <= 0x17F) {
    // Latin Extended-A alternates upper/lower; a few ranges are offset by one.
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) return (u % 2 == 0) ? static_cast<wchar_t>(u - 1) : c;
    if (u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F) return c;
    return (u % 2 == 1) ? static_cast<wchar_t>(u - 1) : c;
  }
  if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) return static_cast<wchar_t>(u - 32);
  if (u >= 0x430 && u <= 0x44F) return static_cast<wchar_t>(u - 32);
  if (u >= 0x450 && u <= 0x45F) return static_cast<wchar_t>(u - 80);
  if (u >= 0xFF41 && u <= 0xFF5A) return static_cast<wchar_t>(u - 32);
  return c;
}

wchar_t LowerChar(wchar_t c) noexcept {
  const auto u = static_cast<std::uint32_t>(c);
  if (u < 0x80) return (u >= 'A' && u <= 'Z') ? static_cast<wchar_t>(u + 32) : c;
  if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<wchar_t>(u + 32);
  if (u == 0x178) return static_cast<wchar_t>(0xFF);
  if (u >= 0x100 && u <= 0x17F) {
    if ((u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E)) return (u % 2 == 1) ? static_cast<wchar_t>(u + 1) : c;
    if (u == 0x130 || u == 0x131 || u == 0x138 || u == 0x149 || u == 0x17F) return c;
    return (u % 2 == 0) ? static_cast<wchar_t>(u + 1) : c;
  }
  if (u >= 0x391 && u <= 0x3A9 && u != 0x3A2) return static_cast<wchar_t>(u + 32);
  if (u >= 0x410 && u <= 0x42F) return static_cast<wchar_t>(u + 32);
  if (u >= 0x400 && u <= 0x40F) return static_cast<wchar_t>(u + 80);
  if (u >= 0xFF21 && u <= 0xFF3A) return static_cast<wchar_t>(u + 32);
  return c;
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = UpperChar(c);
  return out;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = LowerChar(c);
  return out;
}

bool SameText(std::wstring_view a, std::wstring_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && UpperChar(a[i]) != UpperChar(b[i])) return false;
  }
  return true;
}

int CompareText(std::wstring_view a, std::wstring_view b) noexcept {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<std::uint32_t>(UpperChar(a[i]));
    const auto y = static_cast<std::uint32_t>(UpperChar(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::size_t FindText(std::wstring_view haystack, std::wstring_view needle, std::size_t from) noexcept {
  if (needle.empty()) return from <= haystack.size() ? from : std::wstring_view::npos;
  if (needle.size() > haystack.size()) return std::wstring_view::npos;
  const wchar_t first = UpperChar(needle[0]);
  const std::size_t last = haystack.size() - needle.size();
  for (std::size_t i = from; i <= last; ++i) {
    if (UpperChar(haystack[i]) != first) continue;
    if (SameText(haystack.substr(i, needle.size()), needle)) return i;
  }
  return std::wstring_view::npos;
}

bool StartsWithText(std::wstring_view text, std::wstring_view prefix) noexcept {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::wstring_view text, std::wstring_view suffix) noexcept {
  return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

std::wstring ReplaceAllText(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return std::wstring(text);
  std::wstring out;
  std::size_t pos = 0;
  for (std::size_t hit = FindText(text, from); hit != std::wstring_view::npos; hit = FindText(text, from, pos)) {
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return std::wstring(text);
  std::wstring out;
  std::size_t pos = 0;
  for (std::size_t hit = text.find(from); hit != std::wstring_view::npos; hit = text.find(from, pos)) {
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

std::wstring TrimLeft(std::wstring_view text) {
  std::size_t b = 0;
  while (b < text.size() && static_cast<std::uint32_t>(text[b]) <= 0x20) ++b;
  return std::wstring(text.substr(b));
}

std::wstring TrimRight(std::wstring_view text) {
  std::size_t e = text.size();
  while (e > 0 && static_cast<std::uint32_t>(text[e - 1]) <= 0x20) --e;
  return std::wstring(text.substr(0, e));
}

std::wstring Trim(std::wstring_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && static_cast<std::uint32_t>(text[b]) <= 0x20) ++b;
  while (e > b && static_cast<std::uint32_t>(text[e - 1]) <= 0x20) --e;
  return std::wstring(text.substr(b, e - b));
}

std::u16string ToUtf16(std::wstring_view text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return std::u16string(text.begin(), text.end());
  } else {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
      auto cp = static_cast<std::uint32_t>(wc);
      if (cp > kMaxBmp && cp <= 0x10FFFF) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
      } else {
        out.push_back(static_cast<char16_t>(cp > 0x10FFFF ? 0xFFFD : cp));
      }
    }
    return out;
  }
}

std::wstring FromUtf16(std::u16string_view text) {
  if constexpr (sizeof(wchar_t) == 2) {
    return std::wstring(text.begin(), text.end());
  } else {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::uint32_t c = text[i];
      if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        out.push_back(static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
        ++i;
      } else {
        out.push_back(static_cast<wchar_t>(c));
      }
    }
    return out;
  }
}

std::vector<std::uint8_t> ToUtf16LeBytes(std::wstring_view text, bool withNul) {
  const std::u16string units = ToUtf16(text);
  std::vector<std::uint8_t> out;
  out.reserve((units.size() + (withNul ? 1 : 0)) * 2);
  for (char16_t u : units) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  if (withNul) {
    out.push_back(0);
    out.push_back(0);
  }
  return out;
}

std::wstring FromUtf16LeBytes(const std::uint8_t* data, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return FromUtf16(units);
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t cp = static_cast<std::uint32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (IsHighSurrogate(cp) && i + 1 < text.size() && IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<std::uint32_t>(text[i + 1]) - 0xDC00);
        ++i;
      }
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::wstring FromUtf8(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<std::uint8_t>(bytes[i]);
    if (b0 < 0x80) {
      out.push_back(static_cast<wchar_t>(b0));
      ++i;
      continue;
    }
    std::size_t len = 0;
    std::uint32_t cp = 0;
    std::uint32_t minimum = 0;
    if ((b0 & 0xE0) == 0xC0) {
      len = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
      len = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
      len = 4, cp = b0 & 0x07, minimum = 0x10000;
    }
    bool ok = len != 0 && i + len <= bytes.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
      const auto b = static_cast<std::uint8_t>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (b & 0x3F);
    }
    if (!ok || cp < minimum || cp > 0x10FFFF) {
      out.push_back(L'\uFFFD');
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += len;
  }
  return out;
}

std::string ToAnsi(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t wc : text) {
    const auto c = static_cast<std::uint32_t>(wc);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (std::size_t k = 0; k < 32; ++k) {
      const std::uint32_t m = kCp1252High[k] != 0 ? kCp1252High[k] : 0x80 + k;
      if (m == c) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

std::wstring FromAnsi(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (char ch : bytes) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b >= 0x80 && b < 0xA0) {
      const char16_t m = kCp1252High[b - 0x80];
      out.push_back(static_cast<wchar_t>(m != 0 ? m : b));
    } else {
      out.push_back(static_cast<wchar_t>(b));
    }
  }
  return out;
}

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

}  // namespace kelvara
