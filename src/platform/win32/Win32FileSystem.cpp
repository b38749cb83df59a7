#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <shlwapi.h>

#include "platform/win32/Win32Function.h"
#include "platform/win32/Win32Wow64.h"

namespace kelvara::platform::win32 {

bool Win32FileSystem::PathExists(const std::wstring& path) { return ::PathFileExistsW(path.c_str()) != FALSE; }

unsigned Win32FileSystem::DriveType(const std::wstring& root) { return ::GetDriveTypeW(root.c_str()); }

bool Win32FileSystem::DisableRedirection(void*& oldState) {
  using DisableFn = BOOL(WINAPI*)(PVOID*);
  oldState = nullptr;
  if (!IsWow64Process()) return false;
  const auto disable = SystemFunction<DisableFn>(L"kernel32.dll", "Wow64DisableWow64FsRedirection");
  return disable != nullptr && disable(&oldState) != FALSE;
}

void Win32FileSystem::RevertRedirection(void* oldState) {
  using RevertFn = BOOL(WINAPI*)(PVOID);
  if (!IsWow64Process()) return;
  const auto revert = SystemFunction<RevertFn>(L"kernel32.dll", "Wow64RevertWow64FsRedirection");
  if (revert != nullptr) revert(oldState);
}

}  // namespace kelvara::platform::win32
