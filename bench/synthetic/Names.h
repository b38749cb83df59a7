// The names and texts of the synthetic machine: vendors, products,
// settings, identifiers and free text, drawn from fixed word lists. None of
// them matches a pattern of the scanner's built-in ignore list, so that a
// planted problem is never hidden by it by accident.
#pragma once

#include <string>

#include "synthetic/SplitMix.h"

namespace kelvara::bench {

// "{8D2C1A4E-...}" in upper case, as the registry spells class ids.
std::wstring GuidText(SplitMix& rng);
// A vendor name such as "Larkspur Systems"; `index` picks one of a long
// list, and numbers a new one past its end, so that names stay distinct.
std::wstring VendorName(std::size_t index);
// A product name such as "Photo Studio".
std::wstring ProductName(SplitMix& rng);
// A setting or sub-key name ("WindowPlacement", "Paramètres", ...); a few
// are not ASCII.
std::wstring SettingName(SplitMix& rng);
// A short word for file names ("render", "sync", ...).
std::wstring FileWord(SplitMix& rng);
// A value's text that names no file: words, versions, numbers, addresses.
std::wstring PlainText(SplitMix& rng);
// A name without blanks made of `words` file words in camel case.
std::wstring CamelName(SplitMix& rng, int words);

}  // namespace kelvara::bench
