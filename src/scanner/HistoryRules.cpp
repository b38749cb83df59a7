// History lists as findings: every entry of the recently-used lists of
// Explorer and the common dialogs (and, in a deep scan, the UserAssist
// counters), the program-name cache of drive paths, and the typed
// addresses of the browser.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "scanner/KeyValueReader.h"
#include "scanner/RegScanner.h"
#include "sysutil/FileReferences.h"
#include "sysutil/TextFormat.h"

namespace kelvara {
namespace {

// The history keys below a user's root, in scan order; the last one,
// UserAssist, only in a deep scan.
constexpr std::array<const wchar_t*, 18> kHistoryKeys = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRULegacy",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\PrnPortsMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StreamMRU",
    L"Software\\Microsoft\\Search Assistant\\ACMru\\5647",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths",
    L"Software\\Microsoft\\Search Assistant\\ACMru\\5604",
    L"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\WordWheelQuery",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist",
};
constexpr std::wstring_view kUserAssist = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";
// Only the counters of UserAssist are history, and only the running
// user's: another profile's keys begin with its SID and never match.
constexpr wchar_t kUserAssistCounters[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\*\\Count";
constexpr wchar_t kProgramNameCache[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
constexpr wchar_t kTypedUrls[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr wchar_t kMuiCache[] = L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache";

std::size_t HistoryKeyCount(TScanLevel level) {
  return level == slDeep ? kHistoryKeys.size() : kHistoryKeys.size() - 1;
}

// A value name such as "C:\x.exe": a drive letter C to Z, a colon, more.
bool NamesDrivePath(const std::wstring& name) {
  if (name.size() <= 3 || name[1] != L':') return false;
  const wchar_t letter = UpperChar(name[0]);
  return letter >= L'C' && letter <= L'Z';
}

// The running user and every other checked profile whose hive is loaded,
// as the engine runs a category that covers other users.
std::vector<TProfileContext> ScannedProfiles() {
  std::vector<TProfileContext> profiles{RunningUserContext()};
  for (const TUserInfo& user : UserList()) {
    if (user.IsCurUser || !user.Checked) continue;
    if (RegKeyExistsEx(platform::kHkeyUsers, user.StringSID, true)) profiles.push_back(ProfileContext(user));
  }
  return profiles;
}

std::int64_t HistoryEstimate(const TRegScanner& scanner) {
  const std::size_t keys = HistoryKeyCount(scanner.ScanLevel());
  std::int64_t count = 0;
  for (const TProfileContext& profile : ScannedProfiles()) {
    for (std::size_t i = 0; i < keys; ++i) count += CountRegSubKeys(profile.root, profile.prefix + kHistoryKeys[i]);
  }
  return count;
}

std::int64_t MuiCacheEstimate() {
  std::int64_t count = 0;
  for (const TProfileContext& profile : ScannedProfiles()) {
    count += GetRegValueCount(profile.root, profile.prefix + kMuiCache);
  }
  return count;
}

}  // namespace

void TRegScanner::InstallHistoryRules() {
  SetCategoryBlock(_MRU, {[](TRegScanner& s) { return HistoryEstimate(s); },
                          [](TRegScanner& s, const TProfileContext& profile) { s.ScanHistory(profile); }, true});
  SetCategoryBlock(_IEUrl,
                   {[](TRegScanner&) { return std::int64_t{GetRegValueCount(platform::kHkeyCurrentUser, kTypedUrls)}; },
                    [](TRegScanner& s, const TProfileContext&) { s.ScanTypedUrls(); }});
  SetCategoryBlock(_MUICache, {[](TRegScanner&) { return MuiCacheEstimate(); },
                               [](TRegScanner& s, const TProfileContext& profile) {
                                 s.ScanMuiCache(profile.root, profile.prefix + kMuiCache, profile);
                               },
                               true});
}

void TRegScanner::ScanHistory(const TProfileContext& profile) {
  const std::size_t keys = HistoryKeyCount(fScanLevel);
  for (std::size_t i = 0; i < keys; ++i) {
    if (Aborted()) return;
    ScanHistoryKey(profile.root, profile.prefix + kHistoryKeys[i], profile);
  }
  const std::wstring cacheKey = profile.prefix + kProgramNameCache;
  const std::wstring shown = RootKeyToName(profile.root) + L"\\" + cacheKey;
  ReportKey(shown, true);
  TKeyValueReader values(profile.root, cacheKey);
  std::wstring data;
  for (const std::wstring& name : values.Names()) {
    ReportKey(shown, true);
    if (Aborted()) return;
    values.ReadText(name, data);
    const std::wstring program = GetFileFromRegData(data, profile.allowPercent);
    // An entry naming a program on a drive is history; the file is not
    // looked at.
    if (NamesDrivePath(name)) {
      AddResult(profile.root, cacheKey, name, program, rfValue, CurType(), true,
                LangLookup(L"ErrorMessage", L"MRULists", L"User MRU Lists"), profile.userName);
    }
  }
}

void TRegScanner::ScanHistoryKey(platform::HKey root, const std::wstring& key, const TProfileContext& profile) {
  const bool inUserAssist = key.find(kUserAssist) != std::wstring::npos;
  if (!inUserAssist || MatchesWildcard(key, kUserAssistCounters)) ReportAllValues(root, key, profile.userName);
  std::vector<std::wstring> lists;
  GetRegSubKeys(root, key, lists, true);
  const std::wstring shownPrefix = RootKeyToName(root) + L"\\" + key + L"\\";
  for (const std::wstring& list : lists) {
    if (Aborted()) return;
    const std::wstring listKey = key + L"\\" + list;
    ReportKey(shownPrefix + list, true);
    if (inUserAssist) {
      ScanHistoryKey(root, listKey, profile);
      continue;
    }
    // A list's sub-key (such as RecentDocs\.txt) is history too; below it
    // only values naming missing files are reported.
    ReportAllValues(root, listKey, profile.userName);
    if (!Trim(list).empty()) ScanValueReferences(root, listKey, profile);
  }
}

void TRegScanner::ReportAllValues(platform::HKey root, const std::wstring& key, const std::wstring& user) {
  const std::wstring shown = RootKeyToName(root) + L"\\" + key;
  ReportKey(shown, true);
  TKeyValueReader values(root, key);
  if (values.Names().empty()) return;
  const std::wstring message = LangLookup(L"ErrorMessage", L"MRULists", L"User MRU Lists");
  std::wstring data;
  for (const std::wstring& name : values.Names()) {
    ReportKey(shown, false);
    if (Aborted()) return;
    values.ReadText(name, data);
    AddResult(root, key, name, data, rfValue, CurType(), true, message, user);
  }
}

void TRegScanner::ScanTypedUrls() {
  using platform::kHkeyCurrentUser;
  TKeyValueReader values(kHkeyCurrentUser, kTypedUrls);
  const std::wstring shownPrefix = std::wstring(L"HKEY_CURRENT_USER\\") + kTypedUrls + L"\\";
  std::wstring address;
  for (const std::wstring& name : values.Names()) {
    if (Aborted()) return;
    ReportKey(shownPrefix + name, true);
    values.ReadText(name, address);
    AddResult(kHkeyCurrentUser, kTypedUrls, name, address, rfValue, CurType(), true,
              LangLookup(L"type", L"IEUrlHistory", L"IE Url History"), L"");
  }
}

}  // namespace kelvara
