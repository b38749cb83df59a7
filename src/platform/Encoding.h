// Reading and writing text files in the encodings the program meets: a BOM
// selects UTF-8 or UTF-16 (LE/BE); without one the caller's default applies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvara {

enum class TextEncoding { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16LeBom, Utf16BeBom };

struct DecodedText {
  std::wstring text;
  TextEncoding encoding = TextEncoding::Ansi;
};

// Decodes `bytes`: a BOM decides; else UTF-16LE without BOM is recognised
// when `defaultEncoding` is Utf16Le, otherwise `defaultEncoding` applies.
DecodedText DecodeText(const std::vector<std::uint8_t>& bytes, TextEncoding defaultEncoding = TextEncoding::Ansi);
std::vector<std::uint8_t> EncodeText(const std::wstring& text, TextEncoding encoding);

}  // namespace kelvara
