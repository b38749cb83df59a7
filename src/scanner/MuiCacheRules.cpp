// The shell's cache of program names: entries of programs that no longer
// exist. Since Windows 7 each entry is named after the program followed by
// ".FriendlyAppName" or ".ApplicationCompany"; that suffix is no part of
// the program's path.
#include <array>
#include <string>
#include <string_view>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegPaths.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {
namespace {

constexpr std::array<std::wstring_view, 2> kEntrySuffixes = {L".FriendlyAppName", L".ApplicationCompany"};

// The program an entry name stands for.
std::wstring_view CachedProgram(std::wstring_view name) {
  for (const std::wstring_view suffix : kEntrySuffixes) {
    if (EndsWithText(name, suffix)) return name.substr(0, name.size() - suffix.size());
  }
  return name;
}

// The entry's program may be on media that is not inserted.
std::wstring MissingMuiOnDriveMessage(std::wstring_view path, std::wstring_view driveType) {
  constexpr std::wstring_view kDefault =
      L"Missing MUI reference, but drive \"%s\" is %s, recommend you ignore this error.";
  return FormatDriveMessage(
      LangLookup(L"ErrorMessage", L"MUIError1",
                 L"Missing MUI reference, but drive \"%s\" is %s, recommend you ignore this error."),
      kDefault, path, driveType);
}

}  // namespace

void TRegScanner::ScanMuiCache(platform::HKey root, const std::wstring& key, const TProfileContext& profile) {
  TKeyValueReader values(root, key);
  const std::wstring shownPrefix = RootKeyToName(root) + L"\\" + key + L"\\";
  std::wstring data;
  for (const std::wstring& name : values.Names()) {
    if (Aborted()) return;
    ReportKey(shownPrefix + name, true);
    const std::wstring path = GetFileFromRegData(std::wstring(CachedProgram(name)), profile.allowPercent);
    values.ReadText(name, data);
    if (path.empty()) continue;
    const std::wstring_view driveType = RemovableDriveType(path);
    if (driveType.empty()) {
      if (!PathExists(path)) {
        AddResult(root, key, name, data, rfValue, CurType(), true,
                  LangLookup(L"ErrorMessage", L"MUIError", L"Missing MUI reference"), profile.userName);
      }
      continue;
    }
    AddResult(root, key, name, data, rfValue, CurType(), false, MissingMuiOnDriveMessage(path, driveType),
              profile.userName);
  }
}

}  // namespace kelvara
