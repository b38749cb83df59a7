#include "registry/RegSnapshot.h"

#include <cstdint>

#include "registry/NefoRegistry.h"
#include "registry/RegExport.h"
#include "registry/RegFun.h"
#include "registry/RegImport.h"

namespace kelvara {

bool LoadRegistrySnapshot(const std::vector<std::wstring>& fileNames, std::wstring& error) {
  // Files are read twice rather than all held at once: a snapshot may be
  // several large exports.
  std::vector<std::uint8_t> bytes;
  for (const std::wstring& fileName : fileNames) {
    if (!ReadRegFileBytes(fileName, bytes, error) || !CheckRegData(bytes, fileName, error)) return false;
  }
  for (const std::wstring& fileName : fileNames) {
    if (!ReadRegFileBytes(fileName, bytes, error) || !ImportRegData(bytes, fileName, error)) return false;
  }
  return true;
}

bool SaveRegistrySnapshot(const std::wstring& fileName, std::wstring& error) {
  for (const platform::HKey root : {platform::kHkeyLocalMachine, platform::kHkeyUsers}) {
    std::vector<std::wstring> names;
    {
      TNefoRegistry reg(GetRegAccess(L"", true, true));
      reg.SetRootKey(root);
      if (reg.OpenKeyReadOnly(L"")) reg.GetKeyNames(names);
    }
    for (const std::wstring& name : names) ExportRegKey(root, name, nullptr, true, fileName);
  }
  return ExportRegKey(0, L"", nullptr, false, fileName, &error);
}

}  // namespace kelvara
