// Running programs, the shell, shortcuts and restarting Windows.
#pragma once

#include "platform/ProcessApi.h"

namespace kelvara::platform::win32 {

class Win32Process final : public ProcessApi {
 public:
  int RunAndWait(const std::wstring& commandLine, int showState) override;
  long ShellExecute(const std::wstring& verb, const std::wstring& file, const std::wstring& parameters,
                    const std::wstring& folder, int showState) override;
  bool RunElevated(const std::wstring& parameters) override;
  bool CreateShortcut(const ShortcutDetails& shortcut, const std::wstring& linkPath) override;
  bool RestartWindows() override;
};

}  // namespace kelvara::platform::win32
