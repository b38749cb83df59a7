#include "platform/Encoding.h"

#include <string_view>

#include "platform/Text.h"

namespace kelvara {

DecodedText DecodeText(const std::vector<std::uint8_t>& bytes, TextEncoding defaultEncoding) {
  const std::size_t n = bytes.size();
  if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    return {FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, n - 3)), TextEncoding::Utf8Bom};
  }
  if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    return {FromUtf16LeBytes(bytes.data() + 2, n - 2), TextEncoding::Utf16LeBom};
  }
  if (n >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    std::vector<std::uint8_t> swapped(bytes.begin() + 2, bytes.end());
    for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
    return {FromUtf16LeBytes(swapped.data(), swapped.size()), TextEncoding::Utf16BeBom};
  }
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), n);
  switch (defaultEncoding) {
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16LeBom:
      return {FromUtf16LeBytes(bytes.data(), n), TextEncoding::Utf16Le};
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
      return {FromUtf8(raw), TextEncoding::Utf8};
    case TextEncoding::Ansi:
    case TextEncoding::Utf16BeBom:
      break;
  }
  return {FromAnsi(raw), TextEncoding::Ansi};
}

std::vector<std::uint8_t> EncodeText(const std::wstring& text, TextEncoding encoding) {
  std::vector<std::uint8_t> out;
  switch (encoding) {
    case TextEncoding::Utf8Bom:
      out = {0xEF, 0xBB, 0xBF};
      [[fallthrough]];
    case TextEncoding::Utf8: {
      const std::string utf8 = ToUtf8(text);
      out.insert(out.end(), utf8.begin(), utf8.end());
      return out;
    }
    case TextEncoding::Utf16LeBom:
      out = {0xFF, 0xFE};
      [[fallthrough]];
    case TextEncoding::Utf16Le: {
      const auto units = ToUtf16LeBytes(text, false);
      out.insert(out.end(), units.begin(), units.end());
      return out;
    }
    case TextEncoding::Utf16BeBom: {
      out = {0xFE, 0xFF};
      const auto units = ToUtf16LeBytes(text, false);
      for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        out.push_back(units[i + 1]);
        out.push_back(units[i]);
      }
      return out;
    }
    case TextEncoding::Ansi:
      break;
  }
  const std::string ansi = ToAnsi(text);
  return {ansi.begin(), ansi.end()};
}

}  // namespace kelvara
