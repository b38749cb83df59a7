// Token privileges of the own process: backing up and restoring hives,
// loading other users' hives, restarting Windows, trimming memory.
#pragma once

#include <string>

namespace kelvara {

inline constexpr const wchar_t* kSeBackupPrivilege = L"SeBackupPrivilege";
inline constexpr const wchar_t* kSeRestorePrivilege = L"SeRestorePrivilege";
inline constexpr const wchar_t* kSeDebugPrivilege = L"SeDebugPrivilege";
inline constexpr const wchar_t* kSeShutdownPrivilege = L"SeShutdownPrivilege";

// Enables (or disables) a privilege of the own process token; true only
// when the system reports no error afterwards, so a privilege the token
// does not hold gives false.
bool EnableProcessPrivilege(const std::wstring& name, bool enable);

struct TSetPrivilegeResult {
  bool Succeeded = false;
  // The system's text for an unknown privilege name; the caller shows it
  // (this layer has no windows). Empty otherwise.
  std::wstring LookupError;
};

// Enables or disables a named privilege of the own process: always
// succeeds on Windows 9x; an unknown name fails with LookupError set.
TSetPrivilegeResult SetPrivilege(const std::wstring& name, bool enable);

}  // namespace kelvara
