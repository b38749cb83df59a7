// The category blocks of the fixed system lists: which keys each category
// walks, in which order, with which rights, and its progress estimate.
#include <array>
#include <cstdint>
#include <string>

#include "registry/RegFun.h"
#include "scanner/RegScanner.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {
namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kHkeyUsers;

constexpr wchar_t kSharedDlls[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr wchar_t kSharedDlls32[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kUninstall32[] = L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr wchar_t kMenuOrder[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs";
constexpr wchar_t kMenuOrder2[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs";
constexpr wchar_t kMachineShellFolders[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kServices[] = L"SYSTEM\\CurrentControlSet\\services";
constexpr wchar_t kImageOptions[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options";
constexpr wchar_t kImageOptions32[] =
    L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Image File Execution Options";
constexpr wchar_t kFonts[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr wchar_t kFonts32[] = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr std::array<const wchar_t*, 3> kFirewallLists = {
    L"SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\DomainProfile\\"
    L"AuthorizedApplications\\List",
    L"SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\StandardProfile\\"
    L"AuthorizedApplications\\List",
    L"SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\FirewallRules",
};
constexpr wchar_t kDefaultSoundApps[] = L".DEFAULT\\AppEvents\\Schemes\\Apps";
constexpr wchar_t kUserSoundApps[] = L"AppEvents\\Schemes\\Apps";

// The run keys below SOFTWARE, and the same below SOFTWARE\Wow6432Node.
constexpr std::array<const wchar_t*, 6> kRunKeys = {
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunServices",
};
constexpr std::array<const wchar_t*, 6> kRunKeys32 = {
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx",
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run",
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunServices",
};

constexpr wchar_t kMachineRootName[] = L"HKEY_LOCAL_MACHINE";
constexpr wchar_t kUserRootName[] = L"HKEY_CURRENT_USER";

// The subtrees of every hive that the empty-key walk leaves alone.
constexpr std::array<const wchar_t*, 8> kEmptyKeyExclusions = {
    L"HKEY_USERS\\*\\Software\\Microsoft",
    L"HKEY_USERS\\*\\Classes",
    L"HKEY_USERS\\*\\Software\\Policies",
    L"HKEY_USERS\\*\\Printers",
    L"HKEY_USERS\\.DEFAULT",
    L"HKEY_USERS\\*\\Software",
    L"HKEY_USERS\\*\\SYSTEM",
    L"HKEY_USERS\\*Wow6432Node",
};

// Adds the empty-key walk's patterns for its duration and takes each of
// them out again afterwards, also when the walk ends with an error, so
// the categories after it are not narrowed.
class TEmptyKeyExclusions {
 public:
  explicit TEmptyKeyExclusions(TRegScanner& scanner) : fScanner(scanner) {
    for (const wchar_t* pattern : kEmptyKeyExclusions) fScanner.AddExclusion(pattern);
  }
  ~TEmptyKeyExclusions() {
    for (const wchar_t* pattern : kEmptyKeyExclusions) fScanner.RemoveExclusion(pattern);
  }
  TEmptyKeyExclusions(const TEmptyKeyExclusions&) = delete;
  TEmptyKeyExclusions& operator=(const TEmptyKeyExclusions&) = delete;

 private:
  TRegScanner& fScanner;
};

std::int64_t SubKeys(platform::HKey root, const std::wstring& key) { return GetRegSubKeyCount(root, key, false); }
std::int64_t AllSubKeys(platform::HKey root, const std::wstring& key) { return GetRegSubKeyCount(root, key, true); }
std::int64_t Values(platform::HKey root, const std::wstring& key) { return GetRegValueCount(root, key); }
std::int64_t ValuesBelow(platform::HKey root, const std::wstring& key) { return GetRegTreeValueCount(root, key); }

bool IsFolderPresent(const std::wstring& folder) { return !folder.empty() && PathExists(folder); }

void ScanStartMenu(TRegScanner& scanner) {
  std::wstring commonPrograms;
  std::wstring userPrograms;
  ReadRegData(kHkeyLocalMachine, kMachineShellFolders, L"Common Programs", true, commonPrograms);
  ReadRegData(kHkeyCurrentUser, kUserShellFolders, L"Programs", true, userPrograms);
  if (!IsFolderPresent(commonPrograms) && !IsFolderPresent(userPrograms)) return;
  scanner.ScanMenuOrder(kMenuOrder, L"", userPrograms, commonPrograms);
  scanner.ScanMenuOrder(kMenuOrder2, L"", userPrograms, commonPrograms);
}

void ScanStartup(TRegScanner& scanner) {
  if (scanner.IsAdmin()) {
    for (const wchar_t* key : kRunKeys) scanner.ScanRunKey(kMachineRootName, key);
  }
  for (const wchar_t* key : kRunKeys) scanner.ScanRunKey(kUserRootName, key);
  if (scanner.IsAdmin() && scanner.Win64()) {
    for (const wchar_t* key : kRunKeys32) scanner.ScanRunKey(kMachineRootName, key);
  }
}

std::int64_t StartupEstimate(const TRegScanner& scanner) {
  std::int64_t count = 0;
  for (const wchar_t* key : kRunKeys) {
    if (scanner.IsAdmin()) count += Values(kHkeyLocalMachine, key);
    count += Values(kHkeyCurrentUser, key);
  }
  if (scanner.IsAdmin() && scanner.Win64()) {
    for (const wchar_t* key : kRunKeys32) count += Values(kHkeyLocalMachine, key);
  }
  return count;
}

}  // namespace

void TRegScanner::InstallSystemListRules() {
  SetCategoryBlock(_DLL, {[](TRegScanner& s) {
                            return ValuesBelow(kHkeyLocalMachine, kSharedDlls) +
                                   (s.Win64() ? ValuesBelow(kHkeyLocalMachine, kSharedDlls32) : 0);
                          },
                          [](TRegScanner& s, const TProfileContext&) {
                            s.ScanSharedDlls(kSharedDlls);
                            if (s.Win64()) s.ScanSharedDlls(kSharedDlls32);
                          }});
  SetCategoryBlock(_Uninstall, {[](TRegScanner& s) {
                                  std::int64_t count = AllSubKeys(kHkeyCurrentUser, kUninstall);
                                  if (s.IsAdmin()) {
                                    count += AllSubKeys(kHkeyLocalMachine, kUninstall) +
                                             AllSubKeys(kHkeyLocalMachine, kUninstall32);
                                  }
                                  return count;
                                },
                                [](TRegScanner& s, const TProfileContext&) {
                                  if (s.IsAdmin()) {
                                    s.ScanUninstall(kHkeyLocalMachine, kUninstall);
                                    s.ScanUninstall(kHkeyLocalMachine, kUninstall32);
                                  }
                                  s.ScanUninstall(kHkeyCurrentUser, kUninstall);
                                }});
  SetCategoryBlock(_StartMenu, {[](TRegScanner&) { return SubKeys(kHkeyCurrentUser, kMenuOrder2); },
                                [](TRegScanner& s, const TProfileContext&) { ScanStartMenu(s); }});
  SetCategoryBlock(_Startup, {[](TRegScanner& s) { return StartupEstimate(s); },
                              [](TRegScanner& s, const TProfileContext&) { ScanStartup(s); }});
  SetCategoryBlock(_Services, {[](TRegScanner&) { return SubKeys(kHkeyLocalMachine, kServices); },
                               [](TRegScanner& s, const TProfileContext&) { s.ScanServices(); }});
  SetCategoryBlock(_IFEO, {[](TRegScanner& s) {
                             return SubKeys(kHkeyLocalMachine, kImageOptions) +
                                    (s.Win64() ? SubKeys(kHkeyLocalMachine, kImageOptions32) : 0);
                           },
                           [](TRegScanner& s, const TProfileContext&) {
                             s.ScanImageOptions(kImageOptions);
                             if (s.Win64()) s.ScanImageOptions(kImageOptions32);
                           }});
  SetCategoryBlock(_Fonts, {[](TRegScanner& s) {
                              return Values(kHkeyLocalMachine, kFonts) +
                                     (s.Win64() ? Values(kHkeyLocalMachine, kFonts32) : 0);
                            },
                            [](TRegScanner& s, const TProfileContext&) {
                              s.ScanFonts(kFonts);
                              if (s.Win64()) s.ScanFonts(kFonts32);
                            }});
  SetCategoryBlock(_FWALL, {[](TRegScanner&) {
                              std::int64_t count = 0;
                              for (const wchar_t* key : kFirewallLists) count += ValuesBelow(kHkeyLocalMachine, key);
                              return count;
                            },
                            [](TRegScanner& s, const TProfileContext&) {
                              for (const wchar_t* key : kFirewallLists) s.ScanFirewallList(key);
                            }});
  SetCategoryBlock(_Sound, {[](TRegScanner& s) {
                              return AllSubKeys(kHkeyCurrentUser, kUserSoundApps) +
                                     (s.IsAdmin() ? AllSubKeys(kHkeyUsers, kDefaultSoundApps) : 0);
                            },
                            [](TRegScanner& s, const TProfileContext&) {
                              if (s.IsAdmin()) s.ScanSoundEvents(kHkeyUsers, kDefaultSoundApps);
                              s.ScanSoundEvents(kHkeyCurrentUser, kUserSoundApps);
                            }});
  SetCategoryBlock(_EMPTY, {[](TRegScanner&) { return SubKeys(kHkeyUsers, L""); },
                            [](TRegScanner& s, const TProfileContext&) {
                              const TEmptyKeyExclusions exclusions(s);
                              s.ScanEmptyUserKeys(L"");
                            }});
}

}  // namespace kelvara
