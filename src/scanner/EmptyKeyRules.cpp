// Empty event keys in every loaded user hive. The whole of HKEY_USERS is
// walked (the category's temporary patterns keep the software, classes,
// printer and system subtrees and the .DEFAULT hive out of it); only keys
// below an "\AppEvents\" key, spelt in exactly that case, are reported.
#include <string>
#include <vector>

#include "registry/RegFun.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/TextFormat.h"

namespace kelvara {

void TRegScanner::ScanEmptyUserKeys(const std::wstring& subkey) {
  using platform::kHkeyUsers;
  std::vector<std::wstring> children;
  if (!GetRegSubKeys(kHkeyUsers, subkey, children, true)) return;
  const bool topLevel = subkey.empty();
  for (const std::wstring& child : children) {
    if (Aborted()) return;
    if (!CanReport(kHkeyUsers, subkey, child)) continue;
    const std::wstring path = topLevel ? child : subkey + L"\\" + child;
    const std::wstring shown = L"HKEY_USERS\\" + path;
    if (topLevel) {
      // One loaded hive (or .DEFAULT) is one progress step.
      ScanEmptyUserKeys(path);
      ReportKey(shown, true);
      continue;
    }
    ReportKey(shown, false);
    if (MatchesWildcard(path, L"*\\AppEvents\\*") && IsEmptyRegTree(kHkeyUsers, path)) {
      AddResult(kHkeyUsers, path, L"", L"", rfKey, _EMPTY, true, EmptyKeyMessage(), L"");
    } else {
      ScanEmptyUserKeys(path);
    }
  }
}

}  // namespace kelvara
