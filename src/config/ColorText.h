// Colour values as the configuration file stores them: a colour name such
// as "clRed" or "clBtnFace", or "$" and eight hexadecimal digits 00BBGGRR.
// Values are Windows colour values (0x00BBGGRR); the system colours carry
// 0xFF in the top byte and the system colour index below it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvara {

using TColor = std::uint32_t;

// The colour's name when it has one, else "$00BBGGRR".
std::wstring ColorToText(TColor color);
// A name (case-insensitive), "$" with up to eight hexadecimal digits, or a
// decimal number; nullopt for anything else.
std::optional<TColor> TextToColor(std::wstring_view text);

}  // namespace kelvara
