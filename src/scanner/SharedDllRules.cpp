// Shared DLL usage counts: entries whose file is gone, and entries whose
// file no installed program claims any more (a count of 0).
#include <string>

#include "config/LangLookup.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {

void TRegScanner::ScanSharedDlls(const std::wstring& key) {
  using platform::kHkeyLocalMachine;
  TKeyValueReader values(kHkeyLocalMachine, key);
  const std::wstring shownPrefix = L"HKEY_LOCAL_MACHINE\\" + key + L"\\";
  // Findings name the key with a trailing backslash, as the list has
  // always reported them.
  const std::wstring findingKey = key + L"\\";
  for (const std::wstring& file : values.Names()) {
    if (Aborted()) return;
    ReportKey(shownPrefix + file, true);
    const int count = values.ReadInteger(file, -1);
    const std::wstring path = GetFileFromRegData(file, true);
    if (!path.empty() && !PathExists(path)) {
      AddResult(kHkeyLocalMachine, findingKey, file, std::to_wstring(count), rfValue, CurType(), true,
                LangLookup(L"ErrorMessage", L"SharedFilenotexist", L"Shared File does not exist."), L"");
    } else if (count == 0) {
      AddResult(kHkeyLocalMachine, findingKey, file, L"0", rfValue, CurType(), true,
                LangLookup(L"ErrorMessage", L"sharedfilenotbeuse", L"Shared file not be use."), L"");
    }
  }
}

}  // namespace kelvara
