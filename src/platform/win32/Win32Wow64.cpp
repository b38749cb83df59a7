#include "platform/win32/Win32Wow64.h"

#include <windows.h>

#include "platform/win32/Win32Function.h"

namespace kelvara::platform::win32 {

bool IsWow64Process() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64 = SystemFunction<IsWow64ProcessFn>(L"kernel32.dll", "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64 != nullptr && isWow64(::GetCurrentProcess(), &wow64) && wow64;
}

bool NativeArchitecture(unsigned& architecture) {
  using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  const auto getNativeInfo = SystemFunction<GetNativeSystemInfoFn>(L"kernel32.dll", "GetNativeSystemInfo");
  if (getNativeInfo == nullptr) return false;
  SYSTEM_INFO info{};
  getNativeInfo(&info);
  architecture = info.wProcessorArchitecture;
  return true;
}

}  // namespace kelvara::platform::win32
