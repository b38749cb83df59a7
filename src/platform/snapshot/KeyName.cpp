#include "platform/snapshot/KeyName.h"

#include <algorithm>
#include <cstring>

#include "platform/Text.h"

namespace kelvara::platform {
namespace {

std::uint32_t Upper(char16_t c) noexcept {
  // Most names are ASCII: spare the casing table's call for them.
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? c - 32u : c;
  return static_cast<std::uint32_t>(UpperChar(static_cast<wchar_t>(c))) & 0xFFFFu;
}

}  // namespace

int CompareNames(std::u16string_view a, std::u16string_view b) noexcept {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    const std::uint32_t x = Upper(a[i]);
    const std::uint32_t y = Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameName(std::u16string_view a, std::u16string_view b) noexcept {
  return a.size() == b.size() && CompareNames(a, b) == 0;
}

KeyName::KeyName(std::u16string_view text) {
  if (text.empty()) return;
  const auto length = static_cast<std::uint32_t>(text.size());
  units_ = std::make_unique<char16_t[]>(kLengthUnits + text.size());
  std::memcpy(units_.get(), &length, sizeof length);
  std::copy(text.begin(), text.end(), units_.get() + kLengthUnits);
}

}  // namespace kelvara::platform
