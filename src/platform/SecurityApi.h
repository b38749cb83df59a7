// Tokens, group membership and privileges of the own process.
#pragma once

#include <string>

namespace kelvara::platform {

class SecurityApi {
 public:
  virtual ~SecurityApi() = default;

  // The token (of the thread, else of the process) lists the Administrators
  // group S-1-5-32-544, whatever its attributes. False when no token opens.
  virtual bool IsAdministratorsMember() = 0;
  // CheckTokenMembership of the effective token against Administrators.
  virtual bool IsElevated() = 0;
  // Enables or disables a named privilege in the own process token; true
  // only when the system reports no error afterwards.
  virtual bool EnablePrivilege(const std::wstring& name, bool enable) = 0;
  // The privilege name is known to the system (LookupPrivilegeValueW).
  virtual bool PrivilegeExists(const std::wstring& name) = 0;
};

}  // namespace kelvara::platform
