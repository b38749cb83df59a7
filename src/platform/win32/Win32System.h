// Facts about the running Windows system.
#pragma once

#include "platform/SystemApi.h"

namespace kelvara::platform::win32 {

class Win32System final : public SystemApi {
 public:
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
};

}  // namespace kelvara::platform::win32
