#include "sysutil/RunElevatedSupport.h"

#include "platform/Platform.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {

bool IsAdministratorsMember() {
  if (GetOsVersion().platformId == 1) return true;
  return platform::Security().IsAdministratorsMember();
}

bool IsElevated() { return platform::Security().IsElevated(); }

void RunElevated(const std::wstring& parameters) { platform::Process().RunElevated(parameters); }

}  // namespace kelvara
