#include "sysutil/EnvironmentStrings.h"

#include <algorithm>
#include <array>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "sysutil/SystemFolders.h"

namespace kelvara {
namespace {

constexpr int kLastFolderId = 60;
constexpr int kCsidlMyDocuments = 12;

// Short names of the special folders by identifier; identifiers without a
// name (15, 50, 51, 52, 60) are null.
constexpr std::array<const wchar_t*, kLastFolderId + 1> kFolderNames = {L"DESKTOP",
                                                                        L"INTERNET",
                                                                        L"PROGRAMS",
                                                                        L"CONTROLS",
                                                                        L"PRINTERS",
                                                                        L"PERSONAL",
                                                                        L"FAVORITES",
                                                                        L"STARTUP",
                                                                        L"RECENT",
                                                                        L"SENDTO",
                                                                        L"BITBUCKET",
                                                                        L"STARTMENU",
                                                                        L"MYDOCUMENTS",
                                                                        L"MYMUSIC",
                                                                        L"MYVIDEO",
                                                                        nullptr,
                                                                        L"DESKTOPDIRECTORY",
                                                                        L"DRIVES",
                                                                        L"NETWORK",
                                                                        L"NETHOOD",
                                                                        L"FONTS",
                                                                        L"TEMPLATES",
                                                                        L"COMMON_STARTMENU",
                                                                        L"COMMON_PROGRAMS",
                                                                        L"COMMON_STARTUP",
                                                                        L"COMMON_DESKTOPDIRECTORY",
                                                                        L"APPDATA",
                                                                        L"PRINTHOOD",
                                                                        L"LOCAL_APPDATA",
                                                                        L"ALTSTARTUP",
                                                                        L"COMMON_ALTSTARTUP",
                                                                        L"COMMON_FAVORITES",
                                                                        L"INTERNET_CACHE",
                                                                        L"COOKIES",
                                                                        L"HISTORY",
                                                                        L"COMMON_APPDATA",
                                                                        L"WINDOWS",
                                                                        L"SYSTEM",
                                                                        L"PROGRAM_FILES",
                                                                        L"MYPICTURES",
                                                                        L"PROFILE",
                                                                        L"SYSTEMX86",
                                                                        L"PROGRAM_FILESX86",
                                                                        L"PROGRAM_FILES_COMMON",
                                                                        L"PROGRAM_FILES_COMMONX86",
                                                                        L"COMMON_TEMPLATES",
                                                                        L"COMMON_DOCUMENTS",
                                                                        L"COMMON_ADMINTOOLS",
                                                                        L"ADMINTOOLS",
                                                                        L"CONNECTIONS",
                                                                        nullptr,
                                                                        nullptr,
                                                                        nullptr,
                                                                        L"COMMON_MUSIC",
                                                                        L"COMMON_PICTURES",
                                                                        L"COMMON_VIDEO",
                                                                        L"RESOURCES",
                                                                        L"RESOURCES_LOCALIZED",
                                                                        L"COMMON_OEM_LINKS",
                                                                        L"CDBURN_AREA",
                                                                        nullptr};

constexpr std::array<const wchar_t*, 16> kEnvironmentNames = {L"ALLUSERSPROFILE",
                                                              L"CommonProgramFiles",
                                                              L"HOMEDRIVE",
                                                              L"HOMEPATH",
                                                              L"LOCALAPPDATA",
                                                              L"ProgramData",
                                                              L"ProgramFiles",
                                                              L"PUBLIC",
                                                              L"SystemDrive",
                                                              L"SystemRoot",
                                                              L"TEMP",
                                                              L"TMP",
                                                              L"USERPROFILE",
                                                              L"windir",
                                                              L"ProgramW6432",
                                                              L"CommonProgramW6432"};

// The process-wide table; written by InitEnvironmentStrings before threads
// start.
TEnvironmentStrings& Table() {
  static TEnvironmentStrings table;
  return table;
}

}  // namespace

void TEnvironmentStrings::Build() {
  pathList_.clear();
  platform::SystemApi& system = platform::System();
  for (int id = 0; id <= kLastFolderId; ++id) {
    const wchar_t* name = kFolderNames[static_cast<std::size_t>(id)];
    if (name == nullptr) continue;
    // "My Documents" is looked up as the personal folder.
    Add(name, GetSpecialFolder(id == kCsidlMyDocuments ? kCsidlPersonal : id));
  }
  // Without a profile folder there is no LocalLow folder either.
  const std::wstring profile = GetSpecialFolder(kCsidlProfile);
  if (!profile.empty()) Add(L"LOCAL_APPDATA_LOW", profile + L"\\AppData\\LocalLow");
  for (const wchar_t* name : kEnvironmentNames) Add(name, system.GetEnv(name).value_or(std::wstring()));
}

void TEnvironmentStrings::Add(std::wstring_view name, std::wstring value) {
  if (value.empty()) return;
  const bool known = std::any_of(pathList_.begin(), pathList_.end(),
                                 [&](const TEnvironmentStringRec& rec) { return SameText(rec.Name, name); });
  if (!known) pathList_.push_back({std::wstring(name), std::move(value)});
}

std::wstring TEnvironmentStrings::ExpandPath(const std::wstring& Path) const {
  std::wstring result = Path;
  std::wstring token;
  for (const TEnvironmentStringRec& rec : pathList_) {
    if (result.find(L'%') == std::wstring::npos) break;
    token.assign(L"%").append(rec.Name).append(L"%");
    if (ContainsText(result, token)) result = ReplaceAllText(result, token, rec.Value);
  }
  return result;
}

int TEnvironmentStrings::GetPathCount() const { return static_cast<int>(pathList_.size()); }

std::wstring TEnvironmentStrings::GetPathName(int Index) const {
  if (Index < 0 || Index >= GetPathCount()) return {};
  return pathList_[static_cast<std::size_t>(Index)].Value;
}

void InitEnvironmentStrings() { Table().Build(); }

const TEnvironmentStrings& EnvironmentStrings() { return Table(); }

std::wstring ExpandPathVars(const std::wstring& text) { return Table().ExpandPath(text); }

}  // namespace kelvara
