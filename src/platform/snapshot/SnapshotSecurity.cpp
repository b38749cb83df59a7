#include "platform/snapshot/SnapshotSecurity.h"

#include <algorithm>
#include <array>
#include <utility>

namespace kelvara::platform {

SnapshotSecurity::SnapshotSecurity(SecuritySettings settings) : settings_(std::move(settings)) {}

bool SnapshotSecurity::IsAdministratorsMember() { return settings_.administratorsMember; }

bool SnapshotSecurity::IsElevated() { return settings_.elevated; }

bool SnapshotSecurity::EnablePrivilege(const std::wstring& name, bool enable) {
  if (!PrivilegeExists(name) || settings_.heldPrivileges.count(name) == 0) return false;
  std::lock_guard lock(mutex_);
  if (enable) {
    enabled_.insert(name);
  } else {
    enabled_.erase(name);
  }
  return true;
}

bool SnapshotSecurity::PrivilegeExists(const std::wstring& name) {
  static constexpr std::array<const wchar_t*, 36> kKnown{L"SeAssignPrimaryTokenPrivilege",
                                                         L"SeAuditPrivilege",
                                                         L"SeBackupPrivilege",
                                                         L"SeChangeNotifyPrivilege",
                                                         L"SeCreateGlobalPrivilege",
                                                         L"SeCreatePagefilePrivilege",
                                                         L"SeCreatePermanentPrivilege",
                                                         L"SeCreateSymbolicLinkPrivilege",
                                                         L"SeCreateTokenPrivilege",
                                                         L"SeDebugPrivilege",
                                                         L"SeDelegateSessionUserImpersonatePrivilege",
                                                         L"SeEnableDelegationPrivilege",
                                                         L"SeImpersonatePrivilege",
                                                         L"SeIncreaseBasePriorityPrivilege",
                                                         L"SeIncreaseQuotaPrivilege",
                                                         L"SeIncreaseWorkingSetPrivilege",
                                                         L"SeLoadDriverPrivilege",
                                                         L"SeLockMemoryPrivilege",
                                                         L"SeMachineAccountPrivilege",
                                                         L"SeManageVolumePrivilege",
                                                         L"SeProfileSingleProcessPrivilege",
                                                         L"SeRelabelPrivilege",
                                                         L"SeRemoteShutdownPrivilege",
                                                         L"SeRestorePrivilege",
                                                         L"SeSecurityPrivilege",
                                                         L"SeShutdownPrivilege",
                                                         L"SeSyncAgentPrivilege",
                                                         L"SeSystemEnvironmentPrivilege",
                                                         L"SeSystemProfilePrivilege",
                                                         L"SeSystemtimePrivilege",
                                                         L"SeTakeOwnershipPrivilege",
                                                         L"SeTcbPrivilege",
                                                         L"SeTimeZonePrivilege",
                                                         L"SeTrustedCredManAccessPrivilege",
                                                         L"SeUndockPrivilege",
                                                         L"SeUnsolicitedInputPrivilege"};
  return std::any_of(kKnown.begin(), kKnown.end(), [&name](const wchar_t* known) { return SameText(name, known); });
}

bool SnapshotSecurity::IsPrivilegeEnabled(const std::wstring& name) const {
  std::lock_guard lock(mutex_);
  return enabled_.count(name) != 0;
}

}  // namespace kelvara::platform
