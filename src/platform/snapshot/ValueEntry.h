// One registry value: name, raw type number and data bytes, kept in a
// single allocation so that millions of small values stay compact.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace kelvara::platform {

class ValueEntry {
 public:
  ValueEntry(std::u16string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size);

  [[nodiscard]] std::u16string_view Name() const noexcept;
  [[nodiscard]] std::uint32_t Type() const noexcept;
  [[nodiscard]] std::uint32_t Size() const noexcept;
  [[nodiscard]] const std::uint8_t* Data() const noexcept;

 private:
  struct Header {
    std::uint32_t type;
    std::uint32_t nameLength;  // code units
    std::uint32_t size;        // bytes
  };
  [[nodiscard]] Header ReadHeader() const noexcept;

  // Header, then the name's code units, then the data bytes.
  std::unique_ptr<char16_t[]> blob_;
};

}  // namespace kelvara::platform
