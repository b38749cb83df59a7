// System facts, token facts and recorded process calls of the snapshot
// backend, and the platform assembled from settings.
#include <gtest/gtest.h>

#include "platform/snapshot/SnapshotPlatform.h"

namespace kelvara::platform {
namespace {

TEST(SnapshotSystemTest, DefaultsAreThoseOfASixtyFourBitWindows10) {
  SystemSettings settings;
  settings.userName = L"Ann";
  SnapshotSystem system(settings);
  ASSERT_TRUE(system.NativeVersion().has_value());
  EXPECT_EQ(system.NativeVersion()->build, 19045u);
  EXPECT_TRUE(system.IsWindows10OrGreater());
  EXPECT_TRUE(system.Is64BitWindows());
  struct Folder {
    int csidl;
    const wchar_t* path;
  };
  for (const Folder& f :
       {Folder{26, L"C:\\Users\\Ann\\AppData\\Roaming"}, Folder{28, L"C:\\Users\\Ann\\AppData\\Local"},
        Folder{35, L"C:\\ProgramData"}, Folder{36, L"C:\\Windows"}, Folder{37, L"C:\\Windows\\system32"},
        Folder{38, L"C:\\Program Files"}, Folder{40, L"C:\\Users\\Ann"}, Folder{42, L"C:\\Program Files (x86)"},
        Folder{43, L"C:\\Program Files\\Common Files"}, Folder{46, L"C:\\Users\\Public\\Documents"}, Folder{17, L""}}) {
    EXPECT_EQ(system.SpecialFolder(f.csidl), f.path) << f.csidl;
  }
  EXPECT_EQ(system.GetEnv(L"programw6432"), L"C:\\Program Files");
  EXPECT_EQ(system.GetEnv(L"HOMEPATH"), L"\\Users\\Ann");
  EXPECT_EQ(system.GetEnv(L"TEMP"), L"C:\\Users\\Ann\\AppData\\Local\\Temp");
  EXPECT_FALSE(system.GetEnv(L"NoSuchVariable").has_value());
  EXPECT_EQ(system.UserUiLanguage(), 0x0409);
  EXPECT_EQ(system.DecimalSeparator(), L'.');
}

TEST(SnapshotSystemTest, SettingsOverrideFoldersAndVariablesFollowThem) {
  SystemSettings settings;
  settings.is64BitWindows = false;
  settings.specialFolders[26] = L"D:\\Roaming";
  settings.specialFolders[46] = L"";
  settings.environment[L"Extra"] = L"1";
  SnapshotSystem system(settings);
  EXPECT_EQ(system.SpecialFolder(26), L"D:\\Roaming");
  EXPECT_EQ(system.GetEnv(L"APPDATA"), L"D:\\Roaming");
  EXPECT_EQ(system.SpecialFolder(46), L"");
  EXPECT_EQ(system.SpecialFolder(42), L"C:\\Program Files");
  EXPECT_FALSE(system.GetEnv(L"ProgramW6432").has_value());
  EXPECT_EQ(system.GetEnv(L"EXTRA"), L"1");
}

TEST(SnapshotSystemTest, ExpandEnvironmentFollowsWindows) {
  SystemSettings settings;
  SnapshotSystem system(settings);
  struct Case {
    const wchar_t* text;
    const wchar_t* expanded;
  };
  const Case cases[] = {
      {L"%SystemRoot%\\notepad.exe", L"C:\\Windows\\notepad.exe"},
      {L"%systemroot%", L"C:\\Windows"},
      {L"%Unknown%\\a", L"%Unknown%\\a"},
      {L"%Unknown%SystemRoot%", L"%Unknown%SystemRoot%"},
      {L"100%", L"100%"},
      {L"%%", L"%%"},
      {L"a%windir%b%WINDIR%", L"aC:\\WindowsbC:\\Windows"},
      {L"", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(system.ExpandEnvironment(c.text, 260), c.expanded) << ToUtf8(c.text);
  // The buffer counts the terminating NUL.
  EXPECT_EQ(system.ExpandEnvironment(L"%windir%", 11), L"C:\\Windows");
  EXPECT_FALSE(system.ExpandEnvironment(L"%windir%", 10).has_value());
}

TEST(SnapshotSystemTest, AccountsOfKnownSidsOnly) {
  SystemSettings settings;
  settings.userName = L"Ann";
  settings.userSid = L"S-1-5-21-5-6-7-1001";
  settings.accounts[L"S-1-5-21-5-6-7-1002"] = L"Bob";
  SnapshotSystem system(settings);
  EXPECT_EQ(system.AccountNameOfSid(L"S-1-5-21-5-6-7-1001"), L"Ann");
  EXPECT_EQ(system.AccountNameOfSid(L"S-1-5-21-5-6-7-1002"), L"Bob");
  EXPECT_EQ(system.AccountNameOfSid(L"S-1-5-18"), L"SYSTEM");
  EXPECT_FALSE(system.AccountNameOfSid(L"S-1-5-21-0").has_value());
  EXPECT_FALSE(system.AccountNameOfSid(L"not a sid").has_value());
}

TEST(SnapshotSecurityTest, OnlyHeldPrivilegesCanBeEnabled) {
  SecuritySettings settings;
  settings.heldPrivileges = {L"SeRestorePrivilege"};
  settings.elevated = false;
  SnapshotSecurity security(settings);
  EXPECT_TRUE(security.IsAdministratorsMember());
  EXPECT_FALSE(security.IsElevated());
  EXPECT_TRUE(security.EnablePrivilege(L"SeRestorePrivilege", true));
  EXPECT_TRUE(security.IsPrivilegeEnabled(L"serestoreprivilege"));
  EXPECT_FALSE(security.EnablePrivilege(L"SeBackupPrivilege", true));
  EXPECT_TRUE(security.PrivilegeExists(L"SeBackupPrivilege"));
  EXPECT_FALSE(security.PrivilegeExists(L"SeMadeUpPrivilege"));
  EXPECT_TRUE(security.EnablePrivilege(L"SeRestorePrivilege", false));
  EXPECT_FALSE(security.IsPrivilegeEnabled(L"SeRestorePrivilege"));
}

TEST(SnapshotProcessTest, CallsAreRecordedAndRunsGoToTheHandler) {
  SnapshotProcess process(ProcessSettings{});
  EXPECT_EQ(process.RunAndWait(L"regedit.exe /s x.reg", kSwHide), -1);
  process.SetRunHandler(
      [](const std::wstring& commandLine) { return commandLine.find(L"/s") != std::wstring::npos ? 0 : 3; });
  EXPECT_EQ(process.RunAndWait(L"regedit.exe /s y.reg", kSwHide), 0);
  EXPECT_EQ(process.RunAndWait(L"other.exe", kSwHide), 3);
  EXPECT_EQ(process.RunCalls(),
            (std::vector<std::wstring>{L"regedit.exe /s x.reg", L"regedit.exe /s y.reg", L"other.exe"}));

  EXPECT_EQ(process.ShellExecute(L"open", L"https://example.org", L"", L"", kSwShowNormal), 42);
  EXPECT_TRUE(process.RunElevated(L"$UAC"));
  EXPECT_TRUE(process.CreateShortcut(ShortcutDetails{L"C:\\k.exe", L"-a", L"C:\\", L""}, L"C:\\Desktop\\k.lnk"));
  EXPECT_TRUE(process.RestartWindows());
  ASSERT_EQ(process.ShellCalls().size(), 1u);
  EXPECT_EQ(process.ShellCalls()[0].file, L"https://example.org");
  EXPECT_EQ(process.ElevatedRuns(), std::vector<std::wstring>{L"$UAC"});
  ASSERT_EQ(process.Shortcuts().size(), 1u);
  EXPECT_EQ(process.Shortcuts()[0].shortcut.arguments, L"-a");
  EXPECT_EQ(process.RestartRequests(), 1);
}

TEST(SnapshotPlatformTest, FacilitiesShareTheStoreAndItsIdentity) {
  auto store = std::make_shared<RegistryStore>(L"S-1-5-21-4", false);
  SnapshotSettings settings;
  settings.store = store;
  settings.system.userName = L"Ann";
  SnapshotFacilities snapshot = MakeSnapshotFacilities(settings);
  Install(snapshot.Platform());
  EXPECT_EQ(&snapshot.registry->Store(), store.get());
  EXPECT_FALSE(System().Is64BitWindows());
  EXPECT_EQ(System().AccountNameOfSid(L"S-1-5-21-4"), L"Ann");
  HKey key = 0;
  ASSERT_EQ(Registry().CreateKey(kHkeyCurrentUser, L"Software", kKeyAllAccess, key), 0);
  Registry().CloseKey(key);
  EXPECT_EQ(Registry().OpenKey(kHkeyUsers, L"S-1-5-21-4\\Software", kKeyRead, key), 0);
  Registry().CloseKey(key);
  SnapshotSettings defaults;
  Install(MakeSnapshotPlatform(defaults));
}

}  // namespace
}  // namespace kelvara::platform
