// The rules of the software, application-path and help-file categories:
// empty software keys and values below them that name missing files, the
// Windows Installer folder list, App Paths registrations and the
// compatibility lists that name programs, and the registered help files.
#include <array>

#include "config/LangLookup.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "scanner/RegScanner.h"
#include "scanner/RuleMessages.h"
#include "sysutil/FileReferences.h"
#include "sysutil/PathText.h"
#include "sysutil/PublicFuns.h"
#include "sysutil/SystemFolders.h"

namespace kelvara {

using platform::HKey;
using platform::kHkeyLocalMachine;

namespace {

constexpr wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kAppPaths32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kMachineLayers[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
// The user's compatibility lists, below the user's root or hive.
constexpr std::array<const wchar_t*, 3> kUserProgramLists = {
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted",
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Store",
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers"};
constexpr wchar_t kInstallerFolders[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
constexpr std::array<const wchar_t*, 2> kHelpKeys = {L"SOFTWARE\\Microsoft\\Windows\\Help",
                                                     L"SOFTWARE\\Microsoft\\Windows\\Html Help"};
constexpr std::array<const wchar_t*, 2> kHelpKeys32 = {L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Help",
                                                       L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Html Help"};

// Keys the software category leaves to the categories that own them, and
// everything of Microsoft's.
constexpr std::array<const wchar_t*, 5> kSoftwareExclusions = {
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", L"SOFTWARE\\Microsoft\\Windows\\Help",
    L"SOFTWARE\\Microsoft\\Windows\\Html Help", L"SOFTWARE\\Classes", L"\\Microsoft\\"};
constexpr std::array<const wchar_t*, 2> kSoftwareExclusions64 = {
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Help", L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Html Help"};
// The Windows keys of a user's software, while a user's software is read.
constexpr std::array<const wchar_t*, 2> kUserSoftwareExclusions = {L"SOFTWARE\\WOW6432NODE\\Microsoft\\Windows",
                                                                   L"SOFTWARE\\Microsoft\\Windows"};

// Patterns that exclude locations while a part of a scan runs; removed
// again when it ends, also when it ends by an error.
class TTemporaryExclusions {
 public:
  explicit TTemporaryExclusions(TRegScanner& scanner) : scanner_(scanner) {}
  TTemporaryExclusions(const TTemporaryExclusions&) = delete;
  TTemporaryExclusions& operator=(const TTemporaryExclusions&) = delete;
  ~TTemporaryExclusions() {
    for (const wchar_t* pattern : patterns_) scanner_.RemoveExclusion(pattern);
  }
  template <std::size_t N>
  void Add(const std::array<const wchar_t*, N>& patterns) {
    for (const wchar_t* pattern : patterns) {
      scanner_.AddExclusion(pattern);
      patterns_.push_back(pattern);
    }
  }

 private:
  TRegScanner& scanner_;
  std::vector<const wchar_t*> patterns_;
};

bool IsOtherLoadedProfile(const TUserInfo& user) {
  return !user.IsCurUser && user.Checked && RegKeyExistsEx(platform::kHkeyUsers, user.StringSID, true);
}

std::int64_t SubKeysOf(HKey root, const std::wstring& key) { return GetRegSubKeyCount(root, key, false); }

}  // namespace

void TRegScanner::InstallSoftwareRules() {
  TCategoryBlock software;
  software.estimate = [](TRegScanner& scanner) {
    std::int64_t count = 0;
    if (scanner.IsAdmin()) {
      count += SubKeysOf(kHkeyLocalMachine, L"SOFTWARE");
      if (scanner.Win64()) count += SubKeysOf(kHkeyLocalMachine, L"SOFTWARE\\Wow6432Node");
    }
    count += SubKeysOf(platform::kHkeyCurrentUser, L"Software");
    if (scanner.Win64()) count += SubKeysOf(platform::kHkeyCurrentUser, L"Software\\Wow6432Node");
    for (const TUserInfo& user : UserList()) {
      if (user.IsCurUser || !user.Checked) continue;
      count += SubKeysOf(platform::kHkeyUsers, user.StringSID + L"\\Software");
      if (scanner.Win64()) count += SubKeysOf(platform::kHkeyUsers, user.StringSID + L"\\Software\\Wow6432Node");
    }
    return count;
  };
  // The other users' software is read inside the window of the temporary
  // exclusions, before the installer folders, so this block walks the
  // profiles itself.
  software.rules = [](TRegScanner& scanner, const TProfileContext& profile) {
    {
      TTemporaryExclusions exclusions(scanner);
      exclusions.Add(kSoftwareExclusions);
      if (scanner.Win64()) exclusions.Add(kSoftwareExclusions64);
      if (scanner.IsAdmin()) {
        scanner.ScanMachineSoftware();
        if (scanner.Win64()) scanner.ScanMachineSoftware32();
      }
      scanner.ScanUserSoftware(profile);
      scanner.ScanUserSoftware32(profile);
      for (const TUserInfo& user : UserList()) {
        if (scanner.Aborted()) return;
        if (!IsOtherLoadedProfile(user)) continue;
        const TProfileContext other = ProfileContext(user);
        scanner.ScanUserSoftware(other);
        if (scanner.Win64()) scanner.ScanUserSoftware32(other);
      }
    }
    if (scanner.IsAdmin()) scanner.ScanInstallerFolders();
  };
  SetCategoryBlock(_SoftWare, std::move(software));

  TCategoryBlock appPaths;
  appPaths.estimate = [](TRegScanner& scanner) {
    std::int64_t count = 0;
    if (scanner.IsAdmin()) {
      count += SubKeysOf(kHkeyLocalMachine, kAppPaths) + SubKeysOf(kHkeyLocalMachine, kAppPaths32);
      count += GetRegTreeValueCount(kHkeyLocalMachine, kMachineLayers);
    }
    for (const wchar_t* list : kUserProgramLists) count += GetRegTreeValueCount(platform::kHkeyCurrentUser, list);
    for (const TUserInfo& user : UserList()) {
      if (user.IsCurUser || !user.Checked) continue;
      for (const wchar_t* list : kUserProgramLists) {
        count += GetRegSubKeyCount(platform::kHkeyUsers, user.StringSID + L"\\" + list, true);
      }
    }
    return count;
  };
  appPaths.rules = [](TRegScanner& scanner, const TProfileContext& profile) {
    if (profile.isCurrentUser && scanner.IsAdmin()) {
      const TProfileContext machine;
      scanner.ScanAppPaths(kHkeyLocalMachine, kAppPaths, machine);
      if (scanner.Win64()) scanner.ScanAppPaths(kHkeyLocalMachine, kAppPaths32, machine);
      scanner.ScanProgramList(kHkeyLocalMachine, kMachineLayers, machine);
    }
    for (const wchar_t* list : kUserProgramLists) scanner.ScanProgramList(profile.root, profile.prefix + list, profile);
  };
  appPaths.coversOtherUsers = true;
  SetCategoryBlock(_AppPath, std::move(appPaths));

  TCategoryBlock helpFiles;
  helpFiles.estimate = [](TRegScanner&) {
    std::int64_t count = 0;
    for (const wchar_t* key : kHelpKeys) count += GetRegValueCount(kHkeyLocalMachine, key);
    for (const wchar_t* key : kHelpKeys32) count += GetRegValueCount(kHkeyLocalMachine, key);
    return count;
  };
  helpFiles.rules = [](TRegScanner& scanner, const TProfileContext&) {
    for (const wchar_t* key : kHelpKeys) scanner.ScanHelpFiles(kHkeyLocalMachine, key);
    if (!scanner.Win64()) return;
    for (const wchar_t* key : kHelpKeys32) scanner.ScanHelpFiles(kHkeyLocalMachine, key);
  };
  SetCategoryBlock(_HelpFiles, std::move(helpFiles));
}

void TRegScanner::ScanSoftwareKeys(HKey root, const std::wstring& base, const TProfileContext& profile,
                                   bool skipWow64Key) {
  const std::wstring location = RootKeyToName(root) + L"\\" + base + L"\\";
  std::vector<std::wstring> names;
  GetRegSubKeys(root, base, names, true);
  for (const std::wstring& name : names) {
    if (Aborted()) return;
    ReportKey(location + name, true);
    const std::wstring key = base + L"\\" + name;
    if (IsEmptyRegTree(root, key)) {
      AddResult(root, key, L"", L"", rfKey, _SoftWare, true, EmptyKeyMessage(), profile.userName);
      continue;
    }
    if (!CanReport(root, key, L"")) continue;
    // The 32-bit software is read on its own, by the 32-bit rule.
    if (skipWow64Key && SameText(name, L"WOW6432NODE")) continue;
    ScanValueReferences(root, key, profile);
  }
}

void TRegScanner::ScanMachineSoftware() { ScanSoftwareKeys(kHkeyLocalMachine, L"SOFTWARE", TProfileContext{}, true); }

void TRegScanner::ScanMachineSoftware32() {
  ScanSoftwareKeys(kHkeyLocalMachine, L"SOFTWARE\\Wow6432Node", TProfileContext{}, false);
}

void TRegScanner::ScanUserSoftware(const TProfileContext& profile) {
  TTemporaryExclusions exclusions(*this);
  exclusions.Add(kUserSoftwareExclusions);
  ScanSoftwareKeys(profile.root, profile.prefix + L"Software", profile, true);
}

void TRegScanner::ScanUserSoftware32(const TProfileContext& profile) {
  TTemporaryExclusions exclusions(*this);
  exclusions.Add(kUserSoftwareExclusions);
  ScanSoftwareKeys(profile.root, profile.prefix + L"Software\\Wow6432Node", profile, true);
}

void TRegScanner::ScanInstallerFolders() {
  std::vector<std::wstring> folders;
  GetRegValues(kHkeyLocalMachine, kInstallerFolders, folders, true);
  for (const std::wstring& folder : folders) {
    if (Aborted()) return;
    const std::wstring path = GetFileFromRegData(folder, true);
    if (path.empty()) continue;
    const std::wstring_view drive = RemovableDriveType(path);
    if (!drive.empty()) {
      AddResult(kHkeyLocalMachine, kInstallerFolders, folder, L"", rfValue, fCurType, false,
                MissingFileOnDriveMessage(path, drive), L"");
    } else if (!PathExists(path)) {
      AddResult(kHkeyLocalMachine, kInstallerFolders, folder, L"", rfValue, fCurType, true, MissingFileMessage(path),
                L"");
    }
  }
}

void TRegScanner::ScanAppPaths(HKey root, const std::wstring& key, const TProfileContext& profile) {
  const std::wstring location = RootKeyToName(root) + L"\\" + key + L"\\";
  std::vector<std::wstring> programs;
  GetRegSubKeys(root, key, programs, true);
  std::wstring data;
  for (const std::wstring& program : programs) {
    if (Aborted()) return;
    ReportKey(location + program, true);
    const std::wstring appKey = key + L"\\" + program;
    if (IsEmptyRegTree(root, appKey)) {
      AddResult(root, appKey, L"", L"", rfKey, fCurType, true, LangLookup(L"ErrorMessage", L"NodeEmpty", L"Empty Node"),
                profile.userName);
      continue;
    }
    ReadRegData(root, appKey, L"", true, data);
    std::wstring valueName;
    if (data.find(L'\\') == std::wstring::npos && RegValueExistsEx(root, appKey, L"path")) {
      ReadRegData(root, appKey, L"Path", true, data);
      valueName = L"Path";
    }
    std::wstring path = GetFileFromRegData(data, profile.allowPercent);
    // "Path" names the program's folder.
    if (!valueName.empty() && !path.empty() && ExtractFileExt(path).empty()) {
      path = IncludeTrailingBackslash(path) + program;
    }
    if (path.empty()) continue;
    // A registration of one or two values goes whole; of more, only the
    // value that names the program.
    const TRegFixType removeType = GetRegValueCount(root, appKey) <= 2 ? rfKey : rfValue;
    const std::wstring_view drive = RemovableDriveType(path);
    if (!drive.empty()) {
      AddResult(root, appKey, valueName, data, removeType, fCurType, false, MissingFileOnDriveMessage(path, drive),
                profile.userName);
      continue;
    }
    // A target without extension also counts when it exists as a program
    // (".exe", ".com", ".bat", ".cmd" or ".dll" appended): PathExists
    // tries those.
    if (PathExists(path)) continue;
    AddResult(root, appKey, valueName, data, removeType, fCurType, true, MissingFileMessage(path), profile.userName);
  }
}

void TRegScanner::ScanProgramList(HKey root, const std::wstring& key, const TProfileContext& profile) {
  const std::wstring location = RootKeyToName(root) + L"\\" + key + L"\\";
  const bool numbers = ContainsText(key, L"Persisted");
  std::vector<std::wstring> programs;
  GetRegValues(root, key, programs, true);
  for (const std::wstring& program : programs) {
    if (Aborted()) return;
    ReportKey(location + program, true);
    const std::wstring path = GetFileFromRegData(program, profile.allowPercent);
    if (path.empty()) continue;
    const std::wstring_view drive = RemovableDriveType(path);
    if (drive.empty() && PathExists(path)) continue;
    std::wstring data;
    if (numbers) {
      data = std::to_wstring(ReadRegInteger(root, key, program, true, -1));
    } else {
      ReadRegData(root, key, program, true, data);
    }
    if (!drive.empty()) {
      AddResult(root, key, program, data, rfValue, fCurType, false, MissingFileOnDriveMessage(path, drive),
                profile.userName);
    } else {
      AddResult(root, key, program, data, rfValue, fCurType, true, MissingFileMessage(L""), profile.userName);
    }
  }
}

void TRegScanner::ScanHelpFiles(HKey root, const std::wstring& key) {
  const std::wstring location = RootKeyToName(root) + L"\\" + key + L"\\";
  std::vector<std::wstring> helpFiles;
  GetRegValues(root, key, helpFiles, true);
  std::wstring data;
  for (const std::wstring& helpFile : helpFiles) {
    if (Aborted()) return;
    ReportKey(location + helpFile, true);
    ReadRegData(root, key, helpFile, true, data);
    // The data is the folder of the help file the value name names.
    std::wstring path = GetFileFromRegData(data, true);
    if (path.empty()) continue;
    path = Trim(IncludeTrailingBackslash(path) + helpFile);
    const std::wstring_view drive = RemovableDriveType(path);
    if (!drive.empty()) {
      AddResult(root, key, helpFile, data, rfValue, fCurType, false, MissingFileOnDriveMessage(path, drive), L"");
    } else if (!PathExists(path)) {
      AddResult(root, key, helpFile, data, rfValue, fCurType, true, MissingHelpFileMessage(path), L"");
    }
  }
}

}  // namespace kelvara
