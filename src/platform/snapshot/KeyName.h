// Key and value names of the in-memory registry. Names are kept as UTF-16
// code units (the registry's own form, half the size of wchar_t text on
// Linux) and compared the way Windows orders them: unit by unit on the
// upper-cased text, through the program's one casing table.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace kelvara::platform {

// <0, 0, >0 comparing the upper-cased names code unit by code unit.
int CompareNames(std::u16string_view a, std::u16string_view b) noexcept;
bool SameName(std::u16string_view a, std::u16string_view b) noexcept;

// An owned UTF-16 name in one allocation (its length stored in front), so
// an empty name costs no allocation and a short one costs a few bytes.
class KeyName {
 public:
  KeyName() = default;
  explicit KeyName(std::u16string_view text);

  [[nodiscard]] std::u16string_view View() const noexcept {
    if (!units_) return {};
    std::uint32_t length = 0;
    std::memcpy(&length, units_.get(), sizeof length);
    return {units_.get() + kLengthUnits, length};
  }

 private:
  // The length takes the first two code units of the allocation.
  static constexpr std::size_t kLengthUnits = 2;
  std::unique_ptr<char16_t[]> units_;
};

}  // namespace kelvara::platform
