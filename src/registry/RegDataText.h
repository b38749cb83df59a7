// The text forms of raw registry data shared by GetDataAsString and the
// export writer.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kelvara {

// Two upper-case hexadecimal digits per byte, separated by "," without
// blanks ("0A,1B,FF"); empty for no data.
std::wstring HexBytes(std::span<const std::uint8_t> data);
// "hex(<type in lower-case hex>):" followed by HexBytes, e.g. "hex(b):..".
std::wstring HexForm(std::uint32_t type, std::span<const std::uint8_t> data);
// "dword:" and exactly 8 upper-case hexadecimal digits.
std::wstring DwordForm(std::uint32_t value);

}  // namespace kelvara
