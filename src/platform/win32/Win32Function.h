// Looking up a system function at run time, for functions that older
// Windows versions lack: the program still starts there and the caller
// takes the fallback when the lookup gives null.
#pragma once

#include <windows.h>

namespace kelvara::platform::win32 {

// `Fn` is the function's pointer type; `module` is a system library that
// every process has loaded (kernel32, advapi32, ntdll).
template <typename Fn>
Fn SystemFunction(const wchar_t* module, const char* name) {
  HMODULE library = ::GetModuleHandleW(module);
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace kelvara::platform::win32
