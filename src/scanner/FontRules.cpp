// Font registrations whose font file is gone. A bare file name lives in
// the Windows fonts folder; a full path is tested where it points.
#include <string>

#include "config/LangLookup.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "sysutil/EnvExpansion.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"
#include "sysutil/SystemFolders.h"

namespace kelvara {

void TRegScanner::ScanFonts(const std::wstring& key) {
  using platform::kHkeyLocalMachine;
  TKeyValueReader values(kHkeyLocalMachine, key);
  const std::wstring shownPrefix = L"HKEY_LOCAL_MACHINE\\" + key + L"\\";
  const std::wstring fontsFolder = IncludeTrailingBackslash(ExpandEnvStr(L"%SystemRoot%")) + L"fonts\\";
  std::wstring data;
  for (const std::wstring& font : values.Names()) {
    if (Aborted()) return;
    ReportKey(shownPrefix + font, true);
    values.ReadText(font, data);
    const bool fullPath = data.find(L":\\") != std::wstring::npos;
    const std::wstring path = GetFileFromRegData(fullPath ? data : fontsFolder + data, true);
    if (!path.empty() && !PathExists(path)) {
      AddResult(kHkeyLocalMachine, key, font, data, rfValue, CurType(), true,
                LangLookup(L"ErrorMessage", L"Fontsnotexist", L"Fonts File does not exist."), L"");
    }
  }
}

}  // namespace kelvara
