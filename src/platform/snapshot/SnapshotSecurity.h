// Token facts of the examined machine's user, from settings. Only the
// privileges the settings grant can be enabled; which ones are enabled
// can be read back by tests.
#pragma once

#include <mutex>
#include <set>
#include <string>

#include "platform/SecurityApi.h"
#include "platform/Text.h"

namespace kelvara::platform {

struct SecuritySettings {
  bool administratorsMember = true;
  bool elevated = true;
  std::set<std::wstring, TextLess> heldPrivileges{L"SeBackupPrivilege", L"SeRestorePrivilege", L"SeShutdownPrivilege",
                                                  L"SeDebugPrivilege"};
};

class SnapshotSecurity final : public SecurityApi {
 public:
  explicit SnapshotSecurity(SecuritySettings settings);

  bool IsAdministratorsMember() override;
  bool IsElevated() override;
  bool EnablePrivilege(const std::wstring& name, bool enable) override;
  bool PrivilegeExists(const std::wstring& name) override;

  [[nodiscard]] bool IsPrivilegeEnabled(const std::wstring& name) const;

 private:
  SecuritySettings settings_;
  mutable std::mutex mutex_;
  std::set<std::wstring, TextLess> enabled_;
};

}  // namespace kelvara::platform
