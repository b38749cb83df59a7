// The examined file system on Windows: the real one.
#pragma once

#include "platform/FileSystemApi.h"

namespace kelvara::platform::win32 {

class Win32FileSystem final : public FileSystemApi {
 public:
  bool PathExists(const std::wstring& path) override;
  unsigned DriveType(const std::wstring& root) override;
  // Only a 32-bit process under the 64-bit emulation layer is redirected;
  // everywhere else there is nothing to switch and Disable gives false.
  bool DisableRedirection(void*& oldState) override;
  void RevertRedirection(void* oldState) override;
  // The real file system is asked afresh every time: nothing to forget.
  void BeginScan() override {}
};

}  // namespace kelvara::platform::win32
