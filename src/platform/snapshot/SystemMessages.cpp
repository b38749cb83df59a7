#include "platform/snapshot/SystemMessages.h"

#include <array>
#include <utility>

namespace kelvara::platform {

std::wstring SystemMessageText(long code) {
  static constexpr std::array<std::pair<long, const wchar_t*>, 18> kTexts{{
      {2, L"The system cannot find the file specified."},
      {3, L"The system cannot find the path specified."},
      {5, L"Access is denied."},
      {6, L"The handle is invalid."},
      {14, L"Not enough memory resources are available to complete this operation."},
      {29, L"The system cannot write to the specified device."},
      {32, L"The process cannot access the file because it is being used by another process."},
      {50, L"The request is not supported."},
      {87, L"The parameter is incorrect."},
      {112, L"There is not enough space on the disk."},
      {161, L"The specified path is invalid."},
      {183, L"Cannot create a file when that file already exists."},
      {234, L"More data is available."},
      {259, L"No more data is available."},
      {1009, L"The configuration registry database is corrupt."},
      {1015, L"The registry is corrupted."},
      {1018, L"Illegal operation attempted on a registry key that has been marked for deletion."},
      {1314, L"A required privilege is not held by the client."},
  }};
  if (code == 0) return {};
  for (const auto& [number, text] : kTexts) {
    if (number == code) return text;
  }
  return L"Error " + std::to_wstring(code) + L".";
}

}  // namespace kelvara::platform
