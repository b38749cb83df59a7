// The text layer of .reg files: which encoding a file uses, and its
// physical lines.
//
// "Windows Registry Editor Version 5.00" files are UTF-16LE (with or
// without byte-order mark) or UTF-8; "REGEDIT4" files are in the ANSI code
// page. A UTF-16 byte-order mark, or a zero second byte, selects UTF-16LE;
// a UTF-8 mark selects UTF-8; otherwise the header decides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kelvara {

enum class RegFileEncoding { Utf16Le, Utf8, Ansi };

struct RegFileLayout {
  RegFileEncoding encoding = RegFileEncoding::Utf8;
  std::size_t textOffset = 0;  // bytes of the byte-order mark
};

RegFileLayout DetectRegFileLayout(std::span<const std::uint8_t> bytes);

// The lines of a file's text, without their line breaks (LF or CR LF).
// The text is decoded in large slices that end at a line break, so lines
// cost no allocation and a line of any length is returned whole.
class RegTextLines {
 public:
  RegTextLines(std::span<const std::uint8_t> bytes, RegFileLayout layout);

  // The next line; false after the last one. The view stays valid until
  // the next call.
  bool Next(std::wstring_view& line);
  // The 1-based number of the line last returned.
  [[nodiscard]] std::size_t LineNumber() const noexcept { return lineNumber_; }

 private:
  bool Refill();
  [[nodiscard]] std::size_t SliceEnd(std::size_t from) const noexcept;

  std::span<const std::uint8_t> bytes_;
  RegFileEncoding encoding_;
  std::size_t next_ = 0;  // first byte not yet decoded
  std::wstring slice_;
  std::size_t at_ = 0;  // first character of slice_ not yet returned
  std::size_t lineNumber_ = 0;
};

}  // namespace kelvara
