// Uninstall entries that are empty or name files that no longer exist. A
// missing uninstaller makes the whole entry obsolete; any other missing
// file (an icon, an install folder) only its own value.
#include <string>
#include <vector>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {

void TRegScanner::ScanUninstall(platform::HKey root, const std::wstring& key) {
  std::vector<std::wstring> entries;
  GetRegSubKeys(root, key, entries, true);
  const std::wstring rootName = RootKeyToName(root);
  const std::wstring shownPrefix = rootName + L"\\" + key + L"\\";
  std::wstring data;
  for (const std::wstring& entry : entries) {
    if (Aborted()) return;
    ReportKey(shownPrefix + entry, true);
    const std::wstring entryKey = key + L"\\" + entry;
    if (IsEmptyRegTree(root, entryKey)) {
      AddResult(root, entryKey, L"", L"", rfKey, CurType(), true,
                LangLookup(L"ErrorMessage", L"invalidUnistall", L"Invalid uninstall information."), L"");
      continue;
    }
    TKeyValueReader values(root, entryKey);
    const std::wstring shownEntry = rootName + L"\\" + entryKey + L"\\";
    for (const std::wstring& name : values.Names()) {
      if (Aborted()) return;
      ReportKey(shownEntry + name, false);
      if (!values.ReadText(name, data)) continue;
      const std::wstring path = GetFileFromRegData(data, true);
      if (path.empty()) continue;
      const TRegFixType removeType = SameText(name, L"UninstallString") ? rfKey : rfValue;
      const std::wstring_view driveType = RemovableDriveType(path);
      if (!driveType.empty()) {
        AddResult(root, entryKey, name, data, removeType, CurType(), false, MissingFileOnDriveMessage(path, driveType),
                  L"");
      } else if (!PathExists(path)) {
        AddResult(root, entryKey, name, data, removeType, CurType(), true, MissingFileMessage(path), L"");
      }
    }
  }
}

}  // namespace kelvara
