// Pure text operations on Windows paths.
#pragma once

#include <string_view>

namespace kelvara {

// The extension of a path: from the last "." that follows the last "\" or
// ":", dot included; empty when there is none.
constexpr std::wstring_view ExtractFileExt(std::wstring_view path) noexcept {
  const std::size_t pos = path.find_last_of(L".\\:");
  if (pos == std::wstring_view::npos || path[pos] != L'.') return {};
  return path.substr(pos);
}

}  // namespace kelvara
