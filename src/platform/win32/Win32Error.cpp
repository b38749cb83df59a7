#include "platform/win32/Win32Error.h"

#include <windows.h>

#include "platform/Text.h"
#include "platform/win32/Win32Handle.h"

namespace kelvara::platform::win32 {

std::wstring SystemMessage(unsigned long code) {
  LocalMemory<wchar_t*> buffer;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
  std::wstring text = length != 0 && buffer ? TrimRight(std::wstring(buffer.get(), length)) : std::wstring();
  if (text.empty()) text = L"Error " + std::to_wstring(code);
  return text;
}

}  // namespace kelvara::platform::win32
