// Facts about the running (or examined) Windows system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvara::platform {

struct OsVersion {
  std::uint32_t platformId = 2;  // 1 Windows 9x, 2 NT
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::wstring servicePack;
};

class SystemApi {
 public:
  virtual ~SystemApi() = default;

  // The true version (RtlGetVersion); nullopt when the native query is not
  // available, then OrdinaryVersion() stands.
  virtual std::optional<OsVersion> NativeVersion() = 0;
  virtual OsVersion OrdinaryVersion() = 0;
  // VerifyVersionInfo for major >= 10, minor >= 0, service pack >= 0.
  virtual bool IsWindows10OrGreater() = 0;
  // The Windows installation is 64-bit (native processor architecture 6, 9
  // or 12). The program treats such a system as needing the 64-bit views.
  virtual bool Is64BitWindows() = 0;
  // SHGetSpecialFolderPath by CSIDL, without trailing "\"; empty on failure.
  virtual std::wstring SpecialFolder(int csidl) = 0;
  // GetWindowsDirectory without trailing "\".
  virtual std::wstring WindowsFolder() = 0;
  // An environment variable of the process; nullopt when it is not set.
  virtual std::optional<std::wstring> GetEnv(const std::wstring& name) = 0;
  // ExpandEnvironmentStrings into a buffer of `bufferChars` characters;
  // nullopt when it fails or does not fit.
  virtual std::optional<std::wstring> ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) = 0;
  // GetUserNameW.
  virtual std::wstring UserName() = 0;
  // LookupAccountSidW of a textual SID; nullopt when the SID is malformed
  // or unknown.
  virtual std::optional<std::wstring> AccountNameOfSid(const std::wstring& stringSid) = 0;
  // Total physical memory in bytes.
  virtual std::uint64_t TotalMemory() = 0;
  // The user's locale: decimal and grouping characters; whether the system
  // locale is a double-byte (far-east) one.
  virtual wchar_t DecimalSeparator() = 0;
  virtual wchar_t ThousandSeparator() = 0;
  virtual bool IsDoubleByteLocale() = 0;
  // The user's default UI language id (GetUserDefaultUILanguage).
  virtual std::uint16_t UserUiLanguage() = 0;
};

}  // namespace kelvara::platform
