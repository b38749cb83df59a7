// Tokens, group membership and privileges of the own process on Windows.
#pragma once

#include "platform/SecurityApi.h"

namespace kelvara::platform::win32 {

class Win32Security final : public SecurityApi {
 public:
  // Reads the group list of the thread token (the process token when the
  // thread has none). Group attributes are not examined, so the deny-only
  // Administrators entry of a filtered administrator token counts. Any
  // failure to build the SID or read the list gives false.
  bool IsAdministratorsMember() override;
  bool IsElevated() override;
  bool EnablePrivilege(const std::wstring& name, bool enable) override;
  bool PrivilegeExists(const std::wstring& name) override;
};

}  // namespace kelvara::platform::win32
