#include "sysutil/ShellActions.h"

#include "platform/Platform.h"
#include "platform/Text.h"
#include "sysutil/Privileges.h"
#include "sysutil/SystemFolders.h"

namespace kelvara {
namespace {

// ShellExecute results above this mean the program started.
constexpr long kShellExecuteFailureLimit = 32;

bool ShellOpened(const std::wstring& file, const std::wstring& parameters) {
  return platform::Process().ShellExecute(L"open", file, parameters, L"", platform::kSwShowNormal) >
         kShellExecuteFailureLimit;
}

}  // namespace

int RunAndWait(const std::wstring& commandLine, int showState) {
  return platform::Process().RunAndWait(commandLine, showState);
}

bool RebootWindows() {
  SetPrivilege(kSeShutdownPrivilege, true);
  return platform::Process().RestartWindows();
}

bool OpenURL(const std::wstring& address) {
  if (Trim(address).empty()) return false;
  if (ShellOpened(address, L"")) return true;
  return ContainsText(address, L"http") && ShellOpened(L"iexplore.exe", address);
}

bool CreateShortcut(const std::wstring& target, const std::wstring& arguments, const std::wstring& workingFolder,
                    const std::wstring& folder, const std::wstring& linkName, const std::wstring& iconFile) {
  if (folder.empty()) return false;
  const platform::ShortcutDetails shortcut{target, arguments, workingFolder, iconFile};
  return platform::Process().CreateShortcut(shortcut, IncludeTrailingBackslash(folder) + linkName);
}

}  // namespace kelvara
