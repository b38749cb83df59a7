// System facts, the examined file system and the token queries of the
// win32 backend, checked for sanity on the machine that runs the tests
// (Wine under scripts/test).
#ifdef _WIN32

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Security.h"
#include "platform/win32/Win32System.h"

namespace kelvara::platform {
namespace {

constexpr int kCsidlDesktop = 0;
constexpr int kCsidlAppData = 26;
constexpr int kCsidlProgramFiles = 38;

TEST(Win32System, VersionsAreSaneAndAgree) {
  win32::Win32System system;
  const std::optional<OsVersion> native = system.NativeVersion();
  ASSERT_TRUE(native.has_value()) << "RtlGetVersion is always there on NT";
  EXPECT_EQ(native->platformId, 2u);
  EXPECT_GE(native->major, 5u);
  EXPECT_GT(native->build, 0u);
  EXPECT_LE(native->servicePack.size(), 128u);
  std::cout << "native version " << native->major << "." << native->minor << "." << native->build << "\n";
  const OsVersion ordinary = system.OrdinaryVersion();
  EXPECT_EQ(ordinary.platformId, 2u);
  EXPECT_LE(ordinary.major, native->major) << "the ordinary query never reports more than the truth";
  EXPECT_EQ(system.IsWindows10OrGreater(), native->major >= 10);
}

TEST(Win32System, A64BitProcessSeesA64BitWindows) {
  win32::Win32System system;
  EXPECT_EQ(system.Is64BitWindows(), sizeof(void*) == 8);
  win32::Win32FileSystem files;
  void* state = reinterpret_cast<void*>(1);
  EXPECT_FALSE(files.DisableRedirection(state)) << "a native process is never redirected";
  EXPECT_EQ(state, nullptr);
  files.RevertRedirection(state);
}

TEST(Win32System, FoldersHaveNoTrailingBackslash) {
  win32::Win32System system;
  win32::Win32FileSystem files;
  const std::wstring windows = system.WindowsFolder();
  ASSERT_FALSE(windows.empty());
  EXPECT_NE(windows.back(), L'\\');
  EXPECT_TRUE(files.PathExists(windows));
  EXPECT_TRUE(files.PathExists(windows + L"\\"));
  for (int csidl : {kCsidlDesktop, kCsidlAppData, kCsidlProgramFiles}) {
    const std::wstring folder = system.SpecialFolder(csidl);
    SCOPED_TRACE(csidl);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), L'\\');
  }
  EXPECT_EQ(system.SpecialFolder(0x7FFF), L"") << "an unknown folder gives the empty text";
  EXPECT_EQ(files.DriveType(windows.substr(0, 3)), kDriveFixed);
  EXPECT_EQ(files.DriveType(L"Q:\\no\\such\\root\\"), kDriveNoRootDir);
  EXPECT_FALSE(files.PathExists(windows + L"\\no such file.kelvara"));
}

TEST(Win32System, EnvironmentReadsAndExpands) {
  win32::Win32System system;
  const std::optional<std::wstring> root = system.GetEnv(L"SystemRoot");
  ASSERT_TRUE(root.has_value());
  EXPECT_TRUE(SameText(*root, system.WindowsFolder()));
  EXPECT_FALSE(system.GetEnv(L"KELVARA_SURELY_UNSET_VARIABLE").has_value());
  const std::wstring text = L"%SystemRoot%\\system32 %KELVARA_SURELY_UNSET_VARIABLE%";
  const std::optional<std::wstring> expanded = system.ExpandEnvironment(text, 1024);
  ASSERT_TRUE(expanded.has_value());
  EXPECT_EQ(*expanded, *root + L"\\system32 %KELVARA_SURELY_UNSET_VARIABLE%");
  EXPECT_EQ(system.ExpandEnvironment(text, expanded->size() + 1), expanded) << "exactly enough room";
  EXPECT_FALSE(system.ExpandEnvironment(text, expanded->size()).has_value()) << "one character short";
  EXPECT_FALSE(system.ExpandEnvironment(text, 0).has_value());
}

TEST(Win32System, AccountsMemoryAndLocale) {
  win32::Win32System system;
  EXPECT_FALSE(system.UserName().empty());
  std::cout << "user " << ToUtf8(system.UserName()) << "\n";
  EXPECT_EQ(system.AccountNameOfSid(L"S-1-5-32-544"), std::optional<std::wstring>(L"Administrators"));
  EXPECT_FALSE(system.AccountNameOfSid(L"not a sid").has_value());
  EXPECT_FALSE(system.AccountNameOfSid(L"S-1-5-21-1-2-3-987654").has_value()) << "unknown account";
  EXPECT_GT(system.TotalMemory(), 64ull << 20);
  EXPECT_NE(system.DecimalSeparator(), system.ThousandSeparator());
  EXPECT_NE(system.DecimalSeparator(), L'\0');
  EXPECT_NE(system.UserUiLanguage(), 0u);
}

TEST(Win32Security, TokenQueriesUnderThisUser) {
  win32::Win32Security security;
  const bool member = security.IsAdministratorsMember();
  const bool elevated = security.IsElevated();
  std::cout << "IsAdministratorsMember " << member << ", IsElevated " << elevated << "\n";
  EXPECT_TRUE(!elevated || member) << "an elevated token always lists Administrators";
  EXPECT_TRUE(security.PrivilegeExists(L"SeShutdownPrivilege"));
  EXPECT_TRUE(security.PrivilegeExists(L"SeBackupPrivilege"));
  EXPECT_FALSE(security.PrivilegeExists(L"SeNoSuchPrivilege"));
  EXPECT_FALSE(security.EnablePrivilege(L"SeNoSuchPrivilege", true));
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
