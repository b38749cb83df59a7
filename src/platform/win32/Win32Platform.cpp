#include "platform/win32/Win32Platform.h"

#include <memory>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32HostFiles.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Security.h"
#include "platform/win32/Win32System.h"

namespace kelvara::platform {

Platform MakeWin32Platform() {
  Platform platform;
  platform.registry = std::make_shared<win32::Win32Registry>();
  platform.files = std::make_shared<win32::Win32FileSystem>();
  platform.hostFiles = std::make_shared<win32::Win32HostFiles>();
  platform.system = std::make_shared<win32::Win32System>();
  platform.security = std::make_shared<win32::Win32Security>();
  platform.process = std::make_shared<win32::Win32Process>();
  return platform;
}

}  // namespace kelvara::platform
