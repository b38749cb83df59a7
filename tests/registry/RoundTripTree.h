// A key tree holding every form of key name, value name, type and data
// that an export must carry exactly, for round trips through our writer,
// our reader and the registry editor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryApi.h"

namespace kelvara::test {

// What the tree passed through. Our writer and reader carry every value
// exactly. Wine's "regedit /s" adds a NUL to text data that does not end
// with one (as RegSetValueExW does when a NUL happens to follow the data
// in memory). Wine's "regedit /e" then writes every REG_SZ as a quoted
// string (the text up to its first NUL, which reads back with one NUL) and
// a REG_DWORD of another size than 4 bytes as 4 bytes of whatever follows
// its data, so such a value is compared for its type only.
enum class RoundTripPeer { kExact, kWineImport, kWineExport };

// Creates the tree below `root`\`base` (which should not exist yet).
void WriteRoundTripTree(platform::HKey root, const std::wstring& base);
// What differs between the registry below `root`\`base` and the tree, one
// line per difference; empty when they are the same.
std::vector<std::string> CompareRoundTripTree(platform::HKey root, const std::wstring& base,
                                              RoundTripPeer peer = RoundTripPeer::kExact);

}  // namespace kelvara::test
