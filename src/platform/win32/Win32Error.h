// The system's own wording of Win32 error codes.
#pragma once

#include <string>

namespace kelvara::platform::win32 {

// FormatMessageW text for `code` without the trailing line break; a generic
// "Error N" when the system has no text for it.
std::wstring SystemMessage(unsigned long code);

}  // namespace kelvara::platform::win32
