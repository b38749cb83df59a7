#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "sysutil/Privileges.h"
#include "sysutil/PublicFuns.h"
#include "sysutil/RunElevatedSupport.h"
#include "sysutil/ShellActions.h"
#include "sysutil/SystemFolders.h"
#include "sysutil/Wow64Redirection.h"

namespace kelvara {
namespace {

test::FakePlatform DesktopFakes(bool win64) {
  test::FakePlatform fakes;
  fakes.system->win64 = win64;
  fakes.system->folders = {{0, L"C:\\Users\\User\\Desktop"},
                           {26, L"C:\\Users\\User\\AppData\\Roaming\\"},
                           {38, L"C:\\Program Files (x86)"},
                           {40, L"C:\\Users\\User"},
                           {43, L"C:\\Program Files (x86)\\Common Files"}};
  fakes.system->environment = {{L"USERPROFILE", L"C:\\Users\\User"},
                               {L"ProgramW6432", L"C:\\Program Files"},
                               {L"CommonProgramW6432", L"C:\\Program Files\\Common Files"}};
  return fakes;
}

TEST(SystemFolders, FolderValuesEndInOneBackslashOrStayEmpty) {
  for (const bool win64 : {false, true}) {
    test::FakePlatform fakes = DesktopFakes(win64);
    fakes.Install();
    const TFolderValues& folders = FolderValues();
    EXPECT_EQ(folders.ProgramFiles, L"C:\\Program Files (x86)\\");
    EXPECT_EQ(folders.CommonProgramFiles, L"C:\\Program Files (x86)\\Common Files\\");
    EXPECT_EQ(folders.AppData, L"C:\\Users\\User\\AppData\\Roaming\\");
    EXPECT_EQ(folders.Profile, L"C:\\Users\\User\\");
    EXPECT_EQ(folders.Windows, L"C:\\Windows\\");
    EXPECT_EQ(folders.CommonDocuments, L"") << "a failed lookup stays empty";
    EXPECT_EQ(folders.NativeProgramFiles, win64 ? L"C:\\Program Files\\" : L"");
    EXPECT_EQ(folders.NativeCommonProgramFiles, win64 ? L"C:\\Program Files\\Common Files\\" : L"");
  }
}

TEST(SystemFolders, LookupsGiveFoldersWithoutTrailingBackslash) {
  test::FakePlatform fakes = DesktopFakes(false);
  fakes.Install();
  EXPECT_EQ(GetSpecialFolder(kCsidlAppData), L"C:\\Users\\User\\AppData\\Roaming");
  EXPECT_EQ(GetDesktopFolder(), L"C:\\Users\\User\\Desktop");
  EXPECT_EQ(GetWindowsFolder(), L"C:\\Windows");
  EXPECT_EQ(GetSpecialFolder(kCsidlLocalLow), L"C:\\Users\\User\\AppData\\LocalLow");
  EXPECT_EQ(GetSpecialFolder(kCsidlCommonDocuments), L"");
  fakes.system->environment.erase(L"USERPROFILE");
  EXPECT_EQ(GetSpecialFolder(kCsidlLocalLow), L"") << "no profile, no LocalLow folder";
  EXPECT_EQ(IncludeTrailingBackslash(L""), L"");
  EXPECT_EQ(IncludeTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(ExcludeTrailingBackslash(L"C:\\a\\\\"), L"C:\\a\\");
}

TEST(GetRegURL, ReadsTheDefaultViewThenThe64BitView) {
  const std::wstring key = L"SOFTWARE\\Nefolab\\KLV";
  const struct {
    bool view64;
    const wchar_t* stored;
    const wchar_t* expected;
  } cases[] = {
      {false, L"https://www.example.com/buy", L"https://www.example.com/buy"},
      {true, L"HTTP://www.example.com/64", L"HTTP://www.example.com/64"},
      {false, L"MailTo:support@example.com", L"MailTo:support@example.com"},
      {false, L"ftp://www.example.com", L"http://default.example.com"},
      {false, L"", L"http://default.example.com"},
  };
  for (const auto& c : cases) {
    test::FakePlatform fakes;
    fakes.registry->SetString(c.view64, key, L"BuyURL", c.stored);
    fakes.Install();
    EXPECT_EQ(GetRegURL(key, L"BuyURL", L"http://default.example.com"), c.expected) << c.stored;
    EXPECT_EQ(fakes.registry->openMasks.front(), 0x20019u);
    if (c.view64) {
      EXPECT_EQ(fakes.registry->openMasks, (std::vector<std::uint32_t>{0x20019u, 0x20119u}));
    }
  }
}

TEST(Privileges, SetPrivilegeReportsUnknownNamesAndPrivilegesNotHeld) {
  test::FakePlatform fakes;
  fakes.Install();
  EXPECT_TRUE(SetPrivilege(kSeShutdownPrivilege, true).Succeeded);
  EXPECT_FALSE(SetPrivilege(kSeBackupPrivilege, true).Succeeded) << "the token does not hold it";
  const TSetPrivilegeResult unknown = SetPrivilege(L"SeNoSuchPrivilege", true);
  EXPECT_FALSE(unknown.Succeeded);
  EXPECT_FALSE(unknown.LookupError.empty());
  EXPECT_EQ(fakes.security->enabled, (std::vector<std::wstring>{L"SeShutdownPrivilege+", L"SeBackupPrivilege+"}));

  fakes.system->native = platform::OsVersion{1, 4, 90, 3000, L""};
  fakes.Install();
  EXPECT_TRUE(SetPrivilege(L"SeNoSuchPrivilege", true).Succeeded) << "Windows 9x has no privileges";
}

TEST(ShellActions, RebootEnablesTheShutdownPrivilegeFirst) {
  test::FakePlatform fakes;
  fakes.Install();
  EXPECT_TRUE(RebootWindows());
  EXPECT_EQ(fakes.security->enabled, std::vector<std::wstring>{L"SeShutdownPrivilege+"});
  EXPECT_EQ(fakes.process->restarts, 1);
}

TEST(ShellActions, OpenURLFallsBackToTheBrowserForWebAddresses) {
  test::FakePlatform fakes;
  fakes.process->failingShellFiles = {L"http://www.example.com", L"C:\\missing.txt"};
  fakes.Install();
  EXPECT_FALSE(OpenURL(L"  "));
  EXPECT_TRUE(fakes.process->shellCalls.empty());
  EXPECT_TRUE(OpenURL(L"http://www.example.com"));
  ASSERT_EQ(fakes.process->shellCalls.size(), 2u);
  EXPECT_EQ(fakes.process->shellCalls[1].file, L"iexplore.exe");
  EXPECT_EQ(fakes.process->shellCalls[1].parameters, L"http://www.example.com");
  EXPECT_FALSE(OpenURL(L"C:\\missing.txt"));
  EXPECT_EQ(fakes.process->shellCalls.size(), 3u) << "no browser for a file";
  EXPECT_TRUE(OpenURL(L"https://www.example.com/news"));
  EXPECT_EQ(fakes.process->shellCalls.back().verb, L"open");
}

TEST(ShellActions, CreateShortcutNeedsAFolder) {
  test::FakePlatform fakes;
  fakes.Install();
  EXPECT_FALSE(CreateShortcut(L"C:\\Kelvara\\Kelvara.exe", L"-a", L"C:\\Kelvara", L"", L"x.lnk", L""));
  EXPECT_TRUE(fakes.process->shortcuts.empty());
  EXPECT_TRUE(CreateShortcut(L"C:\\Kelvara\\Kelvara.exe", L"-a", L"C:\\Kelvara", L"C:\\Users\\User\\Desktop\\",
                             L"Clean Registry - 1 Click.lnk", L"C:\\Kelvara\\1c.ico"));
  ASSERT_EQ(fakes.process->shortcuts.size(), 1u);
  EXPECT_EQ(fakes.process->shortcuts[0].second, L"C:\\Users\\User\\Desktop\\Clean Registry - 1 Click.lnk");
  EXPECT_EQ(fakes.process->shortcuts[0].first.arguments, L"-a");
  EXPECT_EQ(fakes.process->shortcuts[0].first.iconFile, L"C:\\Kelvara\\1c.ico");
}

TEST(RunElevatedSupport, AsksTheTokenAndRestartsElevated) {
  test::FakePlatform fakes;
  fakes.security->administratorsMember = false;
  fakes.security->elevated = false;
  fakes.Install();
  EXPECT_FALSE(IsAdministratorsMember());
  EXPECT_FALSE(IsElevated());
  RunElevated(L"$UAC");
  EXPECT_EQ(fakes.process->elevatedRuns, std::vector<std::wstring>{L"$UAC"});
  fakes.system->native = platform::OsVersion{1, 4, 10, 2222, L""};
  fakes.Install();
  EXPECT_TRUE(IsAdministratorsMember()) << "everyone is an administrator on Windows 9x";
}

TEST(Wow64Redirection, SwitchesOnlyOn64BitWindowsAndRestores) {
  for (const bool win64 : {false, true}) {
    test::FakePlatform fakes;
    fakes.system->win64 = win64;
    fakes.files->redirecting = true;
    fakes.Install();
    EXPECT_EQ(DisableWow64Redirection(), win64);
    EXPECT_EQ(fakes.files->switchedOff, win64 ? 1 : 0);
    RevertWow64Redirection();
    EXPECT_EQ(fakes.files->switchedOff, 0);
    EXPECT_EQ(fakes.files->reverts, win64 ? 1 : 0);
    {
      const TRedirectionOff off;
      EXPECT_EQ(off.Active(), win64);
    }
    EXPECT_EQ(fakes.files->switchedOff, 0);
  }
}

TEST(PublicFuns, ForceDeleteFileAndTotalMemory) {
  test::FakePlatform fakes;
  fakes.hostFiles->files = {L"C:\\Data\\Backup\\old.reg"};
  fakes.system->totalMemory = (8ull << 30) + (1ull << 20) - 1;
  fakes.Install();
  EXPECT_TRUE(ForceDeleteFile(L"C:\\Data\\Backup\\missing.reg"));
  EXPECT_TRUE(fakes.hostFiles->forceDeleted.empty());
  EXPECT_TRUE(ForceDeleteFile(L"C:\\Data\\Backup\\old.reg"));
  EXPECT_EQ(fakes.hostFiles->forceDeleted, std::vector<std::wstring>{L"C:\\Data\\Backup\\old.reg"});
  EXPECT_EQ(GetTotalMemoryMiB(), 8192u);
}

}  // namespace
}  // namespace kelvara
