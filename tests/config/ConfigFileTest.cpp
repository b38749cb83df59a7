#include "config/ConfigFile.h"

#include <gtest/gtest.h>

#include "ConfigTestPlatform.h"
#include "config/ConfigObject.h"
#include "config/DataFolders.h"
#include "config/ProgramRegistryValues.h"

#ifndef _WIN32
#include "platform/snapshot/SnapshotPlatform.h"
#endif

namespace kelvara {
namespace {

using test::ConfigTestPlatform;

constexpr wchar_t kProgram[] = L"C:\\Program Files\\Kelvara\\";
constexpr wchar_t kAppData[] = L"C:\\Users\\User\\AppData\\Roaming\\";
constexpr wchar_t kDataPath[] = L"C:\\Users\\User\\AppData\\Roaming\\Kelvara\\";
constexpr wchar_t kConfigFile[] = L"C:\\Users\\User\\AppData\\Roaming\\Kelvara\\Config.ini";

// The interactive mode's set-up: paths chosen, then the file read.
TConfig Start(TWindowState& window, bool isAdmin = true) {
  TConfig config;
  config.Path = kProgram;
  const TDataFolder data = ChooseDataFolder(kProgram, kAppData);
  config.DataPath = data.DataPath;
  config.ConfigFile = data.ConfigFile;
  ReadConfigFile(config, window, isAdmin);
  return config;
}

TConfig Start(bool isAdmin = true) {
  TWindowState window;
  return Start(window, isAdmin);
}

// Writes the file and forgets the config object, as an exit does.
void Exit(const TConfig& config, const TWindowState& window = {}) {
  const platform::HostFileError error = WriteConfigFile(config, window);
  EXPECT_FALSE(error.failed) << std::string(error.message.begin(), error.message.end());
  ResetConfigObject();
}

TEST(ConfigFile, AFirstStartTakesTheDefaultsAndCreatesNoFile) {
  ConfigTestPlatform platform;
  TWindowState window;
  window.Width = 900;
  window.Height = 600;
  const TConfig config = Start(window);
  EXPECT_EQ(config.DataPath, kDataPath);
  EXPECT_TRUE(platform.files->FolderExists(kDataPath));
  EXPECT_EQ(config.ConfigFile, kConfigFile);
  EXPECT_FALSE(platform.files->FileExists(kConfigFile));
  EXPECT_EQ(config.CheckNewMode, ckWEEK);
  EXPECT_EQ(config.ScanLevel, slNormal);
  EXPECT_EQ(config.ClearMode, cmSafe);
  EXPECT_TRUE(config.ClearCreateRestore);
  EXPECT_EQ(config.ClearBackup, dbMonthly);
  EXPECT_EQ(config.Skin, L"Magic");
  EXPECT_EQ(config.Lang, L"");
  EXPECT_EQ(config.BackupDir, std::wstring(kDataPath) + L"Backup\\");
  EXPECT_NEAR(config.LastCheckTime, Now(), 1.0 / 24);
  EXPECT_TRUE(config.ExList.empty());
  EXPECT_FALSE(window.Maximized);
  EXPECT_FALSE(window.HasPosition);
  EXPECT_EQ(window.SkinColor, kSkinColorDefault);
  EXPECT_EQ(config.SetupGUID.size(), 38u);
}

TEST(ConfigFile, ChoosesThePortableTheApplicationDataOrTheProgramFolder) {
  ConfigTestPlatform platform;
  platform.files->PutText(std::wstring(kProgram) + L"config.ini", "[General]\r\nStyle=Portable\r\n");
  TDataFolder data = ChooseDataFolder(kProgram, kAppData);
  EXPECT_TRUE(data.Portable);
  EXPECT_EQ(data.DataPath, kProgram);
  EXPECT_EQ(data.ConfigFile, std::wstring(kProgram) + L"config.ini");
  const TConfig portable = Start();
  EXPECT_EQ(portable.Skin, L"Portable");
  EXPECT_EQ(portable.BackupDir, std::wstring(kProgram) + L"Backup\\");

  // The automatic mode does not look for the portable file.
  data = ChooseAutoModeDataFolder(kProgram, kAppData);
  EXPECT_EQ(data.ConfigFile, kConfigFile);

  platform.files->files.clear();
  platform.files->folders.erase(L"C:\\Users\\User\\AppData\\Roaming\\Kelvara");
  platform.files->uncreatable.insert(L"C:\\Users\\User\\AppData\\Roaming\\Kelvara");
  for (const TDataFolder& fallback :
       {ChooseDataFolder(kProgram, kAppData), ChooseAutoModeDataFolder(kProgram, kAppData),
        ChooseAutoModeDataFolder(kProgram, L"")}) {
    EXPECT_FALSE(fallback.Portable);
    EXPECT_EQ(fallback.DataPath, kProgram);
    EXPECT_EQ(fallback.ConfigFile, std::wstring(kProgram) + L"Config.ini");
  }
  EXPECT_EQ(DefaultBackupDir(L"C:\\Data\\"), L"C:\\Data\\Backup\\");
}

TEST(ConfigFile, ReadsEveryGeneralKey) {
  ConfigTestPlatform platform;
  platform.files->PutText(kConfigFile,
                          "[General]\r\nCheckNewVer=3\r\nStartDate=45000.5\r\nLastCheck=2024-03-05 14:07:09\r\n"
                          "ScanLevel=2\r\ndefaultlanguage=Deutsch\r\nCreateRestore=0\r\nBackupPath=D:\\Backups\r\n"
                          "ClearBackup=0\r\nStyle=Dark\r\nCleanMode=0\r\nBackupHint=0\r\nCleanHint=0\r\nSkipUAC=0\r\n"
                          "UseMode=4\r\nShowFeature=1\r\nMsgIDs=1,2\r\nSetupVer=10.16\r\n");
  const TConfig config = Start();
  EXPECT_EQ(config.CheckNewMode, ckNEVER);
  EXPECT_NEAR(config.LastCheckTime, 45356.58829861111, 1e-9);
  EXPECT_EQ(config.ScanLevel, slDeep);
  EXPECT_EQ(config.Lang, L"Deutsch");
  EXPECT_FALSE(config.ClearCreateRestore);
  EXPECT_EQ(config.BackupDir, L"D:\\Backups\\");
  EXPECT_EQ(config.ClearBackup, dbWeekly);
  EXPECT_EQ(config.Skin, L"Dark");
  EXPECT_EQ(config.ClearMode, cmAll);
  EXPECT_FALSE(config.NeedBackup);
  EXPECT_FALSE(config.ShowCleanHint);
  EXPECT_FALSE(config.SkipUac);
  EXPECT_EQ(config.UseMode, 4);
  EXPECT_EQ(config.showfeature, 1);
  EXPECT_EQ(config.Msgids, L"1,2");
  EXPECT_EQ(config.Setupver, L"10.16");
}

TEST(ConfigFile, UnreadableValuesKeepTheirDefaults) {
  ConfigTestPlatform platform;
  platform.files->PutText(kConfigFile,
                          "[General]\r\nCheckNewVer=9\r\nStartDate=45000.5\r\nLastCheck=not a date\r\nScanLevel=x\r\n"
                          "ClearBackup=-1\r\nCreateRestore=yes\r\n");
  const TConfig config = Start();
  EXPECT_EQ(config.CheckNewMode, ckWEEK);
  EXPECT_EQ(config.LastCheckTime, 45000.5);  // the value of StartDate
  EXPECT_EQ(config.ScanLevel, slNormal);
  EXPECT_EQ(config.ClearBackup, dbMonthly);
  EXPECT_TRUE(config.ClearCreateRestore);
}

TEST(ConfigFile, OtherUsersAreScannedOnlyForAnAdministrator) {
  ConfigTestPlatform platform;
  platform.files->PutText(kConfigFile, "[Users]\r\nAllUsers=0\r\n[UserList]\r\nBob=1\r\nAlice=1\r\n");
  TConfig admin = Start(true);
  EXPECT_FALSE(admin.AllUsers);
  EXPECT_EQ(admin.UsersList, (std::vector<std::wstring>{L"Bob", L"Alice"}));
  ResetConfigObject();

  TConfig user = Start(false);
  EXPECT_FALSE(user.AllUsers);
  EXPECT_TRUE(user.UsersList.empty());
  Exit(user);
  TConfig again = Start(true);
  EXPECT_FALSE(again.AllUsers);
  EXPECT_TRUE(again.UsersList.empty());
  EXPECT_FALSE(ConfigObject(kConfigFile).SectionExists(L"UserList"));
  ResetConfigObject();

  platform.files->PutText(kConfigFile, "[Users]\r\nAllUsers=1\r\n[UserList]\r\nBob=1\r\n");
  TConfig all = Start(true);
  EXPECT_TRUE(all.AllUsers);
  EXPECT_TRUE(all.UsersList.empty());
  all.UsersList = {L"Carol"};
  Exit(all);
  EXPECT_EQ(ConfigObject(kConfigFile).ReadSection(L"UserList"), std::vector<std::wstring>{});
}

TEST(ConfigFile, WindowPlacementAndSkinColour) {
  ConfigTestPlatform platform;
  struct Case {
    const char* text;
    bool maximized, hasPosition;
    int top, left, width, height;
    TColor color;
  };
  const Case cases[] = {
      {"Top=10\r\nLeft=20\r\nWidth=600\r\nHeight=400\r\n", false, true, 10, 20, 850, 580, kSkinColorDefault},
      {"Top=10\r\nLeft=20\r\nWidth=1200\r\nSkinColorIndex=1\r\n", false, true, 10, 20, 1200, 700, kSkinColorBlue},
      {"Maximize=1\r\nTop=10\r\nSkinColorIndex=2\r\n", true, false, 0, 0, 1000, 700, kSkinColorGreen},
      {"Left=20\r\nSkinColorIndex=7\r\nSkinColor_9=$00112233\r\n", false, false, 0, 0, 1000, 700, 0x112233},
      {"Top=-1\r\nSkinColorIndex=9\r\n", false, false, 0, 0, 1000, 700, kSkinColorDefault},
  };
  for (const Case& c : cases) {
    platform.files->PutText(kConfigFile, std::string("[Interface]\r\n") + c.text);
    ResetConfigObject();
    TWindowState window;
    window.Width = 1000;
    window.Height = 700;
    Start(window);
    EXPECT_EQ(window.Maximized, c.maximized) << c.text;
    EXPECT_EQ(window.HasPosition, c.hasPosition) << c.text;
    if (c.hasPosition) {
      EXPECT_EQ(window.Top, c.top) << c.text;
      EXPECT_EQ(window.Left, c.left) << c.text;
    }
    EXPECT_EQ(window.Width, c.width) << c.text;
    EXPECT_EQ(window.Height, c.height) << c.text;
    EXPECT_EQ(window.SkinColor, c.color) << c.text;
  }
}

TEST(ConfigFile, AnExitWritesEveryKeyAndKeepsTheRestOfTheFile) {
  ConfigTestPlatform platform;
  platform.files->PutText(kConfigFile,
                          "; comment\r\n[Foreign]\r\nKeep=me\r\n[General]\r\nStyle=Magic\r\n[RestoreData]\r\n"
                          "PC 2024-3-5 14-7-9-123=12\r\n");
  TWindowState window;
  TConfig config = Start(window);
  config.CheckNewMode = ckDAY;
  config.Lang = L"English";
  config.LastCheckTime = 45356.58829861111;
  config.ExList = {L"HKEY_CURRENT_USER\\Software\\Test*"};
  window.HasPosition = true;
  window.Top = 5;
  window.Left = 6;
  window.Width = 900;
  window.Height = 650;
  Exit(config, window);

  const TMemIniFile saved = TMemIniFile::Load(kConfigFile);
  EXPECT_EQ(saved.ReadSections(),
            (std::vector<std::wstring>{L"Foreign", L"General", L"RestoreData", L"Users", L"Interface"}));
  EXPECT_EQ(saved.ReadString(L"Foreign", L"Keep", L""), L"me");
  EXPECT_EQ(saved.ReadInteger(L"RestoreData", L"PC 2024-3-5 14-7-9-123", 0), 12);
  EXPECT_EQ(saved.ReadSection(L"General"),
            (std::vector<std::wstring>{L"Style", L"BackupPath", L"CheckNewVer", L"ScanLevel", L"CleanMode",
                                       L"defaultlanguage", L"BackupHint", L"ClearBackup", L"StartDate", L"LastCheck",
                                       L"CleanHint", L"CreateRestore", L"SetupGuid", L"SetupVer", L"SkipUAC",
                                       L"UseMode", L"ShowFeature", L"MsgIDs"}));
  EXPECT_EQ(saved.ReadString(L"General", L"BackupPath", L"x"), L"");  // the default follows the data folder
  EXPECT_EQ(saved.ReadString(L"General", L"CheckNewVer", L""), L"0");
  EXPECT_EQ(saved.ReadString(L"General", L"LastCheck", L""), L"2024-03-05 14:07:09");
  EXPECT_EQ(saved.ReadString(L"General", L"SetupGuid", L""), config.SetupGUID);
  EXPECT_NEAR(saved.ReadFloatDate(L"General", L"StartDate", 0), Now(), 1.0 / 24);
  EXPECT_EQ(saved.ReadString(L"Interface", L"SkinColor_9", L""), L"$00382A21");
  EXPECT_EQ(saved.ReadString(L"Interface", L"Maximize", L""), L"0");
  EXPECT_EQ(saved.ReadInteger(L"Interface", L"Height", 0), 650);
  EXPECT_EQ(platform.files->Bytes(std::wstring(kDataPath) + L"Exclusion.dat"),
            "[Exclusion]\r\nHKEY_CURRENT_USER\\Software\\Test*=\r\n\r\n");

  // The next start reads back what the exit wrote.
  TWindowState next;
  const TConfig restarted = Start(next);
  EXPECT_EQ(restarted.CheckNewMode, ckDAY);
  EXPECT_EQ(restarted.Lang, L"English");
  EXPECT_EQ(restarted.ExList, config.ExList);
  EXPECT_EQ(restarted.SetupGUID, config.SetupGUID);
  EXPECT_EQ(next.Width, 900);

  // A maximised window writes Maximize=1 alone; an explicit backup folder stays.
  EXPECT_EQ(restarted.BackupDir, config.BackupDir);
  TConfig moved = restarted;
  moved.BackupDir = L"E:\\Elsewhere\\";
  next.Maximized = true;
  next.Height = 1;
  Exit(moved, next);
  const TMemIniFile maximised = TMemIniFile::Load(kConfigFile);
  EXPECT_EQ(maximised.ReadString(L"Interface", L"Maximize", L""), L"1");
  EXPECT_EQ(maximised.ReadInteger(L"Interface", L"Height", 0), 650);
  EXPECT_EQ(maximised.ReadString(L"General", L"BackupPath", L""), L"E:\\Elsewhere\\");
}

TEST(ConfigFile, AFailedSaveLeavesBothPreviousFiles) {
  ConfigTestPlatform platform;
  const std::string previousConfig = "[General]\r\nStyle=Old\r\n";
  const std::string previousList = "[Exclusion]\r\nHKCU\\Old=\r\n";
  platform.files->PutText(kConfigFile, previousConfig);
  platform.files->PutText(std::wstring(kDataPath) + L"Exclusion.dat", previousList);
  TConfig config = Start();
  config.Skin = L"New";
  config.ExList = {L"HKCU\\New"};
  platform.files->failWrites = true;
  const platform::HostFileError error = WriteConfigFile(config, {});
  EXPECT_TRUE(error.failed);
  EXPECT_NE(error.message.find(kConfigFile), std::wstring::npos);
  EXPECT_EQ(platform.files->Bytes(kConfigFile), previousConfig);
  EXPECT_EQ(platform.files->Bytes(std::wstring(kDataPath) + L"Exclusion.dat"), previousList);
  EXPECT_EQ(platform.files->deletes, 0);
}

// Registry values of the regional flag and the installation identifier, in
// the backend's registry (the snapshot store, or Wine's registry).
class ProgramRegistry : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }

  static void Clean() {
    auto& registry = platform::Registry();
    for (const wchar_t* key : {kRegionalFlagKey, kRegionalFlagKey32}) {
      platform::UniqueKey handle(registry);
      platform::HKey raw = 0;
      if (registry.OpenKey(platform::kHkeyLocalMachine, key, platform::kKeyAllAccess | platform::kKeyWow64_64Key,
                           raw) == 0) {
        handle.reset(raw);
        registry.DeleteValue(raw, L"IsJP");
      }
    }
    platform::HKey raw = 0;
    if (registry.OpenKey(platform::kHkeyClassesRoot, kInstallationIdKey,
                         platform::kKeyAllAccess | platform::kKeyWow64_64Key, raw) == 0) {
      platform::UniqueKey handle(registry, raw);
      registry.DeleteValue(raw, L"KLV");
    }
  }

  static void SetRegionalFlag(const wchar_t* key, std::uint32_t value) {
    auto& registry = platform::Registry();
    platform::HKey raw = 0;
    ASSERT_EQ(
        registry.CreateKey(platform::kHkeyLocalMachine, key, platform::kKeyAllAccess | platform::kKeyWow64_64Key, raw),
        0);
    platform::UniqueKey handle(registry, raw);
    ASSERT_EQ(registry.SetValue(raw, L"IsJP", platform::kRegDword, reinterpret_cast<const std::uint8_t*>(&value), 4),
              0);
  }

  ConfigTestPlatform platform_;
};

TEST_F(ProgramRegistry, RegionalFlagIsOneInEitherView) {
  EXPECT_FALSE(ReadRegionalFlag());
  SetRegionalFlag(kRegionalFlagKey, 2);
  EXPECT_FALSE(ReadRegionalFlag());
  SetRegionalFlag(kRegionalFlagKey32, 1);
  EXPECT_TRUE(ReadRegionalFlag());
  EXPECT_TRUE(Start().isJP);
}

TEST_F(ProgramRegistry, TheInstallationIdentifierIsMadeOnceAndKept) {
  const std::wstring first = ReadInstallationId();
  EXPECT_EQ(first.size(), 38u);
  EXPECT_EQ(first[0], L'{');
  EXPECT_EQ(first[15], L'4');  // version 4
  EXPECT_EQ(ReadInstallationId(), first);
  EXPECT_NE(NewGuidText(), NewGuidText());
}

#ifndef _WIN32
// A user who may not write the identifier still gets one, and the rest of
// the configuration is read.
TEST(ConfigFileSnapshot, AnIdentifierThatCannotBeStoredStillServes) {
  auto snapshot = platform::MakeSnapshotFacilities({});
  ConfigTestPlatform platform(snapshot.registry);
  snapshot.store->FailWritesAfter(0, platform::kErrorAccessDenied);
  platform.files->PutText(kConfigFile, "[Interface]\r\nTop=1\r\nLeft=2\r\nWidth=1000\r\nHeight=800\r\n");
  TWindowState window;
  const TConfig config = Start(window, false);
  EXPECT_EQ(config.SetupGUID.size(), 38u);
  EXPECT_NE(ReadInstallationId(), config.SetupGUID);  // nothing was stored
  EXPECT_TRUE(window.HasPosition);
  EXPECT_EQ(window.Width, 1000);
}
#endif

}  // namespace
}  // namespace kelvara
