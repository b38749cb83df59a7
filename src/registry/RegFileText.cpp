#include "registry/RegFileText.h"

#include <algorithm>

#include "platform/Text.h"

namespace kelvara {
namespace {

// Bytes decoded at a time; a slice grows to the end of its last line. Small
// enough for the decoded slices to be served from the heap again and
// again instead of fresh memory mappings of the system.
constexpr std::size_t kSliceBytes = 32u << 10;

bool StartsWithBytes(std::span<const std::uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

RegFileLayout DetectRegFileLayout(std::span<const std::uint8_t> bytes) {
  if (StartsWithBytes(bytes, "\xFF\xFE")) return {RegFileEncoding::Utf16Le, 2};
  if (StartsWithBytes(bytes, "\xEF\xBB\xBF")) return {RegFileEncoding::Utf8, 3};
  if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0) return {RegFileEncoding::Utf16Le, 0};
  std::size_t first = 0;
  while (first < bytes.size() && (bytes[first] == ' ' || bytes[first] == '\t')) ++first;
  if (StartsWithBytes(bytes.subspan(first), "REGEDIT4")) return {RegFileEncoding::Ansi, 0};
  return {RegFileEncoding::Utf8, 0};
}

RegTextLines::RegTextLines(std::span<const std::uint8_t> bytes, RegFileLayout layout)
    : bytes_(bytes.subspan(std::min(layout.textOffset, bytes.size()))), encoding_(layout.encoding) {}

std::size_t RegTextLines::SliceEnd(std::size_t from) const noexcept {
  const std::size_t size = bytes_.size();
  if (size - from <= kSliceBytes) return size;
  if (encoding_ == RegFileEncoding::Utf16Le) {
    // Just after a LF code unit (0A 00 at an even offset).
    for (std::size_t i = from + kSliceBytes; i + 1 < size; i += 2) {
      if (bytes_[i] == '\n' && bytes_[i + 1] == 0) return i + 2;
    }
    return size;
  }
  const auto lf =
      std::find(bytes_.begin() + static_cast<std::ptrdiff_t>(from + kSliceBytes), bytes_.end(), std::uint8_t{'\n'});
  return lf == bytes_.end() ? size : static_cast<std::size_t>(lf - bytes_.begin()) + 1;
}

bool RegTextLines::Refill() {
  if (next_ >= bytes_.size()) return false;
  const std::size_t end = SliceEnd(next_);
  const std::uint8_t* begin = bytes_.data() + next_;
  const std::size_t count = end - next_;
  const std::string_view narrow(reinterpret_cast<const char*>(begin), count);
  switch (encoding_) {
    case RegFileEncoding::Utf16Le:
      slice_ = FromUtf16LeBytes(begin, count);
      break;
    case RegFileEncoding::Utf8:
      slice_ = FromUtf8(narrow);
      break;
    case RegFileEncoding::Ansi:
      slice_ = FromAnsi(narrow);
      break;
  }
  next_ = end;
  at_ = 0;
  return true;
}

bool RegTextLines::Next(std::wstring_view& line) {
  if (at_ >= slice_.size() && !Refill()) return false;
  const std::size_t lf = slice_.find(L'\n', at_);
  const std::size_t stop = lf == std::wstring::npos ? slice_.size() : lf;
  std::size_t length = stop - at_;
  if (length > 0 && slice_[at_ + length - 1] == L'\r') --length;
  line = std::wstring_view(slice_).substr(at_, length);
  at_ = lf == std::wstring::npos ? slice_.size() : lf + 1;
  ++lineNumber_;
  return true;
}

}  // namespace kelvara
