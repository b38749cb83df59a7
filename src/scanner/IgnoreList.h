// The locations the scanner never reports, whatever the user chose: keys of
// system components and of programs known to keep entries that look
// orphaned but are in use.
#pragma once

#include <string>
#include <vector>

namespace kelvara {

// The built-in ignore list in its fixed order; appended to the exclusion
// patterns at the start of every scan.
const std::vector<std::wstring>& BuiltInIgnoreList();

}  // namespace kelvara
