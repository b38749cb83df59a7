// System facts of the examined Windows machine, taken from settings with
// defaults of a 64-bit Windows 10 (version 10.0.19045) as a 64-bit
// process sees it: folders under C:\, the user's profile
// C:\Users\<user name>.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/SystemApi.h"
#include "platform/Text.h"

namespace kelvara::platform {

struct SystemSettings {
  OsVersion version{2, 10, 0, 19045, L""};
  bool nativeVersionAvailable = true;
  bool is64BitWindows = true;
  std::wstring userName = L"User";
  std::wstring userSid;  // the running user's SID (AccountNameOfSid answers it)
  std::wstring windowsFolder = L"C:\\Windows";
  // Overrides and additions, by CSIDL; an empty text removes a folder.
  std::map<int, std::wstring> specialFolders;
  // Overrides and additions of environment variables.
  std::map<std::wstring, std::wstring, TextLess> environment;
  // SID -> account name, besides the running user and the well-known ones.
  std::map<std::wstring, std::wstring, TextLess> accounts;
  std::uint64_t totalMemory = 8ull << 30;
  wchar_t decimalSeparator = L'.';
  wchar_t thousandSeparator = L',';
  bool doubleByteLocale = false;
  std::uint16_t uiLanguage = 0x0409;
};

class SnapshotSystem final : public SystemApi {
 public:
  explicit SnapshotSystem(SystemSettings settings);

  std::optional<OsVersion> NativeVersion() override;
  OsVersion OrdinaryVersion() override;
  bool IsWindows10OrGreater() override;
  bool Is64BitWindows() override;
  std::wstring SpecialFolder(int csidl) override;
  std::wstring WindowsFolder() override;
  std::optional<std::wstring> GetEnv(const std::wstring& name) override;
  std::optional<std::wstring> ExpandEnvironment(const std::wstring& text, std::size_t bufferChars) override;
  std::wstring UserName() override;
  std::optional<std::wstring> AccountNameOfSid(const std::wstring& stringSid) override;
  std::uint64_t TotalMemory() override;
  wchar_t DecimalSeparator() override;
  wchar_t ThousandSeparator() override;
  bool IsDoubleByteLocale() override;
  std::uint16_t UserUiLanguage() override;

 private:
  SystemSettings settings_;
  std::map<int, std::wstring> folders_;
  std::map<std::wstring, std::wstring, TextLess> environment_;
  std::map<std::wstring, std::wstring, TextLess> accounts_;
};

}  // namespace kelvara::platform
