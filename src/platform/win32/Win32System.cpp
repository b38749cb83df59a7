#include "platform/win32/Win32System.h"

#include <windows.h>

#include <lmcons.h>
#include <sddl.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/Win32Function.h"
#include "platform/win32/Win32Handle.h"
#include "platform/win32/Win32Wow64.h"

namespace kelvara::platform::win32 {
namespace {

constexpr std::size_t kServicePackChars = 128;

OsVersion VersionFrom(const OSVERSIONINFOW& info) {
  OsVersion version;
  version.platformId = info.dwPlatformId;
  version.major = info.dwMajorVersion;
  version.minor = info.dwMinorVersion;
  // Windows 9x packs the major and minor numbers into the high word.
  version.build = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? info.dwBuildNumber & 0xFFFF : info.dwBuildNumber;
  const std::wstring servicePack(info.szCSDVersion, wcsnlen(info.szCSDVersion, std::size(info.szCSDVersion)));
  version.servicePack = servicePack.substr(0, kServicePackChars);
  return version;
}

std::wstring WithoutTrailingBackslash(std::wstring path) {
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

wchar_t LocaleChar(LCTYPE what, wchar_t fallback) {
  wchar_t buffer[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, what, buffer, static_cast<int>(std::size(buffer))) <= 1) return fallback;
  return buffer[0];
}

}  // namespace

std::optional<OsVersion> Win32System::NativeVersion() {
  // NTSTATUS RtlGetVersion(PRTL_OSVERSIONINFOW): the true version, not the
  // one adjusted for the program's compatibility settings.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = SystemFunction<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion");
  if (rtlGetVersion == nullptr) return std::nullopt;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (rtlGetVersion(&info) != 0) return std::nullopt;
  return VersionFrom(info);
}

OsVersion Win32System::OrdinaryVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!::GetVersionExW(&info)) return OsVersion{};
  return VersionFrom(info);
}

bool Win32System::IsWindows10OrGreater() {
  OSVERSIONINFOEXW wanted{};
  wanted.dwOSVersionInfoSize = sizeof wanted;
  wanted.dwMajorVersion = 10;
  wanted.dwMinorVersion = 0;
  wanted.wServicePackMajor = 0;
  DWORDLONG condition = 0;
  condition = ::VerSetConditionMask(condition, VER_MAJORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_MINORVERSION, VER_GREATER_EQUAL);
  condition = ::VerSetConditionMask(condition, VER_SERVICEPACKMAJOR, VER_GREATER_EQUAL);
  return ::VerifyVersionInfoW(&wanted, VER_MAJORVERSION | VER_MINORVERSION | VER_SERVICEPACKMAJOR, condition) != FALSE;
}

bool Win32System::Is64BitWindows() {
  // A 64-bit build runs only on 64-bit Windows; a 32-bit build is on 64-bit
  // Windows exactly when it runs under the emulation layer.
  const bool onEmulationOr64Bit = sizeof(void*) == 8 || IsWow64Process();
  unsigned architecture = 0;
  if (!onEmulationOr64Bit || !NativeArchitecture(architecture)) return false;
  return architecture == PROCESSOR_ARCHITECTURE_IA64 || architecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         architecture == 12;  // PROCESSOR_ARCHITECTURE_ARM64
}

std::wstring Win32System::SpecialFolder(int csidl) {
  wchar_t buffer[MAX_PATH] = {};
  if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return {};
  return WithoutTrailingBackslash(buffer);
}

std::wstring Win32System::WindowsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return WithoutTrailingBackslash(std::wstring(buffer, length));
}

std::optional<std::wstring> Win32System::GetEnv(const std::wstring& name) {
  std::wstring value(256, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::wstring();
    }
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.assign(length, L'\0');  // too small: `length` includes the NUL
  }
  return std::nullopt;
}

std::optional<std::wstring> Win32System::ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) {
  if (bufferChars == 0 || bufferChars > 0xFFFFFFFFu) return std::nullopt;
  std::wstring buffer(bufferChars, L'\0');
  const DWORD length = ::ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(bufferChars));
  if (length == 0 || length > bufferChars) return std::nullopt;
  buffer.resize(length - 1);  // `length` counts the terminating NUL
  return buffer;
}

std::wstring Win32System::UserName() {
  std::wstring name(UNLEN + 1, L'\0');
  DWORD length = static_cast<DWORD>(name.size());
  if (!::GetUserNameW(name.data(), &length) || length == 0) return {};
  name.resize(length - 1);  // `length` counts the terminating NUL
  return name;
}

std::optional<std::wstring> Win32System::AccountNameOfSid(const std::wstring& stringSid) {
  LocalMemory<PSID> sid;
  if (!::ConvertStringSidToSidW(stringSid.c_str(), sid.put())) return std::nullopt;
  // Account and domain names are limited to far less than 512 characters.
  wchar_t name[512] = {};
  wchar_t domain[512] = {};
  DWORD nameLength = 512;
  DWORD domainLength = 512;
  SID_NAME_USE use = SidTypeUnknown;
  if (!::LookupAccountSidW(nullptr, sid.get(), name, &nameLength, domain, &domainLength, &use)) return std::nullopt;
  return std::wstring(name, wcsnlen(name, std::size(name)));
}

std::uint64_t Win32System::TotalMemory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!::GlobalMemoryStatusEx(&status)) return 0;
  return status.ullTotalPhys;
}

wchar_t Win32System::DecimalSeparator() { return LocaleChar(LOCALE_SDECIMAL, L'.'); }

wchar_t Win32System::ThousandSeparator() { return LocaleChar(LOCALE_STHOUSAND, L','); }

bool Win32System::IsDoubleByteLocale() { return ::GetSystemMetrics(SM_DBCSENABLED) != 0; }

std::uint16_t Win32System::UserUiLanguage() { return ::GetUserDefaultUILanguage(); }

}  // namespace kelvara::platform::win32
