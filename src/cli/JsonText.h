// JSON text for the command line's --json output: strings are written as
// pure ASCII, every other character as \u escapes of its UTF-16 code
// units, so names with lone surrogates or control characters stay exact.
#pragma once

#include <string>
#include <string_view>

namespace kelvara::cli {

// The quoted JSON string of `text`.
std::string JsonString(std::wstring_view text);

}  // namespace kelvara::cli
