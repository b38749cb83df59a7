#include "sysutil/Privileges.h"

#include "platform/Platform.h"
#include "sysutil/WindowsVersions.h"

namespace kelvara {
namespace {

// ERROR_NO_SUCH_PRIVILEGE, what the system reports for an unknown name.
constexpr long kErrorNoSuchPrivilege = 1313;

}  // namespace

bool EnableProcessPrivilege(const std::wstring& name, bool enable) {
  return platform::Security().EnablePrivilege(name, enable);
}

TSetPrivilegeResult SetPrivilege(const std::wstring& name, bool enable) {
  TSetPrivilegeResult result;
  if (GetOsVersion().platformId == 1) {
    result.Succeeded = true;
    return result;
  }
  if (!platform::Security().PrivilegeExists(name)) {
    result.LookupError = platform::Registry().ErrorMessage(kErrorNoSuchPrivilege);
    return result;
  }
  result.Succeeded = EnableProcessPrivilege(name, enable);
  return result;
}

}  // namespace kelvara
