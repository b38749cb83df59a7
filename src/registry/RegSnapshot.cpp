#include "registry/RegSnapshot.h"

#include <cstdint>

#include "registry/NefoRegistry.h"
#include "registry/RegExport.h"
#include "registry/RegFun.h"
#include "registry/RegImport.h"

namespace kelvara {

bool LoadRegistrySnapshot(const std::vector<std::wstring>& fileNames, std::wstring& error) {
  // Each file is checked, then all are applied in order. Only the last
  // file stays in memory from its check to its application; the others
  // are read again rather than all held at once, as a snapshot may be
  // several large exports.
  std::vector<std::uint8_t> last;
  std::vector<std::uint8_t> other;
  for (std::size_t i = 0; i < fileNames.size(); ++i) {
    std::vector<std::uint8_t>& bytes = i + 1 == fileNames.size() ? last : other;
    if (!ReadRegFileBytes(fileNames[i], bytes, error) || !CheckRegData(bytes, fileNames[i], error)) return false;
  }
  for (std::size_t i = 0; i < fileNames.size(); ++i) {
    const bool isLast = i + 1 == fileNames.size();
    if (!isLast && !ReadRegFileBytes(fileNames[i], other, error)) return false;
    if (!ImportRegData(isLast ? last : other, fileNames[i], error)) return false;
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
