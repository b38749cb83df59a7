// A key tree holding every form of key name, value name, type and data
// that an export must carry exactly, for round trips through our writer,
// our reader and the registry editor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"

namespace kelvara::test {

// Creates the tree below `root`\`base` (which should not exist yet).
void WriteRoundTripTree(platform::HKey root, const std::wstring& base);
// What differs between the registry below `root`\`base` and the tree, one
// line per difference; empty when they are the same.
std::vector<std::string> CompareRoundTripTree(platform::HKey root, const std::wstring& base);

}  // namespace kelvara::test
