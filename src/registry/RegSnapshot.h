// A whole registry as registry export files: loading one or more exports
// into the installed registry (on Linux, the snapshot store the program
// examines) and saving it back as one export.
//
// A full export made by Windows holds HKEY_LOCAL_MACHINE, HKEY_USERS and
// also HKEY_CLASSES_ROOT, HKEY_CURRENT_USER (and HKEY_CURRENT_CONFIG)
// sections; the registry maps those onto their real places, so loading
// them again writes the same keys. An export made by Wine holds only the
// first two.
#pragma once

#include <string>
#include <vector>

namespace kelvara {

// Every file is checked before any is applied: a malformed line in any of
// them changes nothing.
bool LoadRegistrySnapshot(const std::vector<std::wstring>& fileNames, std::wstring& error);
// Writes the HKEY_LOCAL_MACHINE and HKEY_USERS trees as one export.
bool SaveRegistrySnapshot(const std::wstring& fileName, std::wstring& error);

}  // namespace kelvara
