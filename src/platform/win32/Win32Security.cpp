#include "platform/win32/Win32Security.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Win32Handle.h"

namespace kelvara::platform::win32 {
namespace {

// S-1-5-32-544: NT authority, built-in domain, Administrators.
AllocatedSid AdministratorsSid() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  AllocatedSid sid;
  if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                  0, sid.put())) {
    sid.reset();
  }
  return sid;
}

KernelHandle QueryToken() {
  KernelHandle token;
  if (::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) return token;
  if (::GetLastError() != ERROR_NO_TOKEN) return KernelHandle();
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return KernelHandle();
  return token;
}

}  // namespace

bool Win32Security::IsAdministratorsMember() {
  const KernelHandle token = QueryToken();
  if (!token) return false;
  const AllocatedSid administrators = AdministratorsSid();
  if (!administrators) return false;
  // The first call only asks for the size and must fail for that reason.
  DWORD size = 0;
  if (::GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &size) ||
      ::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
    return false;
  }
  // Pointer-sized elements keep the TOKEN_GROUPS record aligned.
  std::vector<DWORD_PTR> buffer(size / sizeof(DWORD_PTR) + 1);
  if (!::GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) return false;
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  for (DWORD i = 0; i < groups->GroupCount; ++i) {
    if (::EqualSid(groups->Groups[i].Sid, administrators.get())) return true;
  }
  return false;
}

bool Win32Security::IsElevated() {
  const AllocatedSid administrators = AdministratorsSid();
  BOOL member = FALSE;
  if (!administrators || !::CheckTokenMembership(nullptr, administrators.get(), &member)) return false;
  return member != FALSE;
}

bool Win32Security::EnablePrivilege(const std::wstring& name, bool enable) {
  KernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  if (!::LookupPrivilegeValueW(nullptr, name.c_str(), &privileges.Privileges[0].Luid)) return false;
  privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
  // AdjustTokenPrivileges succeeds with ERROR_NOT_ALL_ASSIGNED when the token
  // does not hold the privilege; only a clean last error is success.
  if (!::AdjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr)) return false;
  return ::GetLastError() == ERROR_SUCCESS;
}

bool Win32Security::PrivilegeExists(const std::wstring& name) {
  LUID luid{};
  return ::LookupPrivilegeValueW(nullptr, name.c_str(), &luid) != FALSE;
}

}  // namespace kelvara::platform::win32
