#include "sysutil/SystemFolders.h"

#include "platform/Platform.h"
#include "sysutil/EnvExpansion.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {
namespace {

// The process-wide folder values; written by InitFolderValues before
// threads start.
TFolderValues& Values() {
  static TFolderValues values;
  return values;
}

std::wstring EnvFolder(const wchar_t* name) {
  return IncludeTrailingBackslash(platform::System().GetEnv(name).value_or(std::wstring()));
}

}  // namespace

void InitFolderValues() {
  TFolderValues values;
  values.ProgramFiles = IncludeTrailingBackslash(GetSpecialFolder(kCsidlProgramFiles));
  values.CommonProgramFiles = IncludeTrailingBackslash(GetSpecialFolder(kCsidlProgramFilesCommon));
  if (IsWin64()) {
    values.NativeProgramFiles = EnvFolder(L"ProgramW6432");
    values.NativeCommonProgramFiles = EnvFolder(L"CommonProgramW6432");
  }
  values.Profile = IncludeTrailingBackslash(GetSpecialFolder(kCsidlProfile));
  values.AppData = IncludeTrailingBackslash(GetSpecialFolder(kCsidlAppData));
  values.Windows = IncludeTrailingBackslash(GetWindowsFolder());
  values.CommonDocuments = IncludeTrailingBackslash(GetSpecialFolder(kCsidlCommonDocuments));
  Values() = std::move(values);
}

const TFolderValues& FolderValues() { return Values(); }

std::wstring GetSpecialFolder(int folderId) {
  if (folderId == kCsidlLocalLow) {
    // An unset USERPROFILE stays unexpanded; that is no folder.
    std::wstring path = ExpandEnvStr(L"%USERPROFILE%\\AppData\\LocalLow");
    return path.find(L'%') == std::wstring::npos ? path : std::wstring();
  }
  return ExcludeTrailingBackslash(platform::System().SpecialFolder(folderId));
}

std::wstring GetDesktopFolder() { return GetSpecialFolder(kCsidlDesktop); }

std::wstring GetWindowsFolder() { return ExcludeTrailingBackslash(platform::System().WindowsFolder()); }

std::wstring IncludeTrailingBackslash(std::wstring_view path) {
  std::wstring out(path);
  if (!out.empty() && out.back() != L'\\') out.push_back(L'\\');
  return out;
}

std::wstring ExcludeTrailingBackslash(std::wstring_view path) {
  if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return std::wstring(path);
}

}  // namespace kelvara
