// Start menu order entries whose folder is gone, and run-key entries that
// are empty or start a program that no longer exists.
#include <string>
#include <vector>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;

// The folder of a menu entry below a programs folder; empty when the
// programs folder is unknown, so that nothing is looked up relative to
// the current drive.
std::wstring ChildFolder(const std::wstring& folder, const std::wstring& name) {
  return folder.empty() ? std::wstring() : folder + L"\\" + name;
}

bool IsPresent(const std::wstring& folder) { return !folder.empty() && PathExists(folder); }

}  // namespace

void TRegScanner::ScanMenuOrder(const std::wstring& menuKey, const std::wstring& relativePath,
                                const std::wstring& userFolder, const std::wstring& commonFolder) {
  const bool topLevel = relativePath.empty();
  const std::wstring key = topLevel ? menuKey : menuKey + L"\\" + relativePath;
  std::vector<std::wstring> items;
  GetRegSubKeys(kHkeyCurrentUser, key, items, true);
  const std::wstring shownPrefix = L"HKEY_CURRENT_USER\\" + key + L"\\";
  for (const std::wstring& item : items) {
    if (Aborted()) return;
    const std::wstring itemKey = key + L"\\" + item;
    ReportKey(shownPrefix + item, topLevel);
    const std::wstring userItem = ChildFolder(userFolder, item);
    const std::wstring commonItem = ChildFolder(commonFolder, item);
    if (!IsPresent(userItem) && !IsPresent(commonItem)) {
      AddResult(kHkeyCurrentUser, itemKey, L"", L"", rfKey, CurType(), true,
                LangLookup(L"ErrorMessage", L"ObsoleteStartMenuItem", L"Obsolete Start Menu Item."), L"");
      continue;
    }
    if (CountRegSubKeys(kHkeyCurrentUser, itemKey) > 0) {
      ScanMenuOrder(menuKey, topLevel ? item : relativePath + L"\\" + item, userItem, commonItem);
    }
  }
}

void TRegScanner::ScanRunKey(const std::wstring& rootName, const std::wstring& key) {
  const platform::HKey root = rootName == L"HKEY_LOCAL_MACHINE" ? kHkeyLocalMachine : kHkeyCurrentUser;
  TKeyValueReader values(root, key);
  const std::wstring shownPrefix = rootName + L"\\" + key + L"\\";
  std::wstring data;
  for (const std::wstring& name : values.Names()) {
    if (Aborted()) return;
    ReportKey(shownPrefix + name, true);
    // The unnamed default value of a run key starts nothing.
    if (Trim(name).empty()) continue;
    if (!values.ReadText(name, data)) continue;
    if (data.empty()) {
      AddResult(root, key, name, L"", rfValue, CurType(), true,
                LangLookup(L"ErrorMessage", L"EmptyValue", L"Empty value"), L"");
      continue;
    }
    const std::wstring path = GetFileFromRegData(data, true);
    if (!path.empty() && !PathExists(path)) {
      AddResult(root, key, name, data, rfValue, CurType(), true, MissingFileMessage(path), L"");
    }
  }
}

}  // namespace kelvara
