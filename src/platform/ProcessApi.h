// Running programs, the shell, shortcuts and restarting Windows.
#pragma once

#include <string>

namespace kelvara::platform {

inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMaximized = 3;

struct ShortcutDetails {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingFolder;
  std::wstring iconFile;  // empty: no icon
};

class ProcessApi {
 public:
  virtual ~ProcessApi() = default;

  // Starts a command line and waits for it, handing paint and sent messages
  // of the calling thread on; the exit code, or -1 when it cannot start.
  virtual int RunAndWait(const std::wstring& commandLine, int showState) = 0;
  // ShellExecuteW; the shell's result (32 or less is a failure).
  virtual long ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                            const std::wstring& folder, int showState) = 0;
  // ShellExecuteExW with "runas" on the own program file and mask 0x4040.
  virtual bool RunElevated(const std::wstring& parameters) = 0;
  // Saves a shell link at `linkPath`; true when saving succeeded.
  virtual bool CreateShortcut(const ShortcutDetails& shortcut, const std::wstring& linkPath) = 0;
  // ExitWindowsEx with the reboot flag, no force.
  virtual bool RestartWindows() = 0;
};

}  // namespace kelvara::platform
