#include "autoclean/UAutoRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "config/ConfigObject.h"
#include "config/DateTime.h"
#include "config/MemIniFile.h"
#include "platform/RegistryApi.h"
#include "registry/RegFun.h"
#include "repair/RegCleanerExport.h"
#include "support/ScanFixture.h"
#include "support/TestData.h"
#include "sysutil/AdminFlag.h"

namespace kelvara {
namespace {

namespace fs = std::filesystem;

// The hidden window's controls: records what the run shows and lets the
// test wait for the end of the run.
class RecordingAutoRunView final : public TAutoRunView {
 public:
  bool ShowTrayIcon() override { return true; }
  void SetTrayAnimation(bool) override {}
  void SetTrayHint(const std::wstring&) override {}
  bool IsFullScreenActive() override { return false; }
  void ShowNotice(std::int64_t totalErrors, std::int32_t cleanErrors) override {
    const std::lock_guard lock(mutex_);
    notices.emplace_back(totalErrors, cleanErrors);
  }
  bool AskStopAndExit(const std::wstring&) override { return true; }
  void Close() override {
    const std::lock_guard lock(mutex_);
    ++closes;
    closed_.notify_all();
  }
  // True when Close came within the time limit.
  bool WaitForClose() {
    std::unique_lock lock(mutex_);
    return closed_.wait_for(lock, std::chrono::seconds(60), [this] { return closes > 0; });
  }

  std::vector<std::pair<std::int64_t, std::int32_t>> notices;
  int closes = 0;

 private:
  std::mutex mutex_;
  std::condition_variable closed_;
};

// A machine with two dangling startup entries (safe findings), one healthy
// startup entry, and a file type whose open command points to a missing
// program (an unsafe finding).
constexpr const wchar_t* kMachine =
    LR"(Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"Healthy"="C:\\Windows\\notepad.exe"
"OldUpdater"="\"C:\\Program Files\\OldApp\\updater.exe\" /background"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run]
"OldChat"="C:\\Users\\Anna\\AppData\\Local\\OldChat\\chat.exe -autostart"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\.old]
@="OldGame.Save"

[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\OldGame.Save\shell\open\command]
@="\"C:\\Games\\OldGame\\game.exe\" \"%1\""
)";

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class AutoRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetConfigObject();
    machine_.LoadReg(kMachine);
    machine_.AddFile(L"C:\\Windows\\notepad.exe");
    program_ = machine_.DataFolder().parent_path() / "program";
    fs::create_directories(program_ / "Languages");
    const fs::path repository = fs::path(test::FixturePath(L"x")).parent_path().parent_path().parent_path();
    fs::copy_file(repository / "Languages" / "English.ini", program_ / "Languages" / "English.ini");
  }
  void TearDown() override {
    while (IsEngineBusy()) std::this_thread::yield();
    FreeEngines();
    ResetConfigObject();
  }

  fs::path ConfigFile() const { return machine_.DataFolder() / "Config.ini"; }
  void WriteConfig(const std::string& text) const { std::ofstream(ConfigFile(), std::ios::binary) << text; }

  std::unique_ptr<TFrmAutoRun> Create(const std::vector<std::wstring>& arguments) {
    auto run = std::make_unique<TFrmAutoRun>(
        view_, TAutoRunFolders{program_.wstring(), machine_.DataFolder().wstring(), machine_.DataFolder().wstring()});
    run->FormCreate(arguments);
    return run;
  }
  // Runs the whole job and waits for its end.
  void Run(TFrmAutoRun& run) {
    run.tmr1Timer();
    ASSERT_FALSE(run.SetupFailed());
    ASSERT_TRUE(view_.WaitForClose());
    while (IsEngineBusy()) std::this_thread::yield();
  }

  void CheckCleanRun(const std::wstring& second);

  test::ScanFixture machine_;
  fs::path program_;
  RecordingAutoRunView view_;
};

TEST_F(AutoRunTest, SecondArgumentAllInAnyCaseChecksEveryFinding) {
  const struct {
    std::vector<std::wstring> arguments;
    TCheckType expected;
  } cases[] = {
      {{L"-a"}, ctSafe},           {{L"-a", L"-all"}, ctAll},  {{L"-a", L"ALL"}, ctAll},
      {{L"-a", L"-All"}, ctAll},   {{L"-a", L"aLl"}, ctAll},   {{L"-a", L"-allx"}, ctSafe},
      {{L"-a", L"--all"}, ctSafe}, {{L"-a", L"safe"}, ctSafe}, {{L"-all"}, ctSafe},
  };
  for (const auto& c : cases) {
    ResetConfigObject();
    EXPECT_EQ(Create(c.arguments)->CheckType(), c.expected) << testing::PrintToString(c.arguments);
  }
}

TEST_F(AutoRunTest, CategorySelectionFallsBackToAllButHistoryAndEmptyKeys) {
  for (const char* config : {"", "[Type]\r\nActivex=0\r\nFonts=0\r\n"}) {
    ResetConfigObject();
    WriteConfig(config);
    const auto run = Create({L"-a"});
    std::vector<int> checked;
    for (const TEntry* e : run->CheckedEntries()) checked.push_back(static_cast<int>(e->ScanID));
    const std::vector<int> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 17, 18, 19};
    EXPECT_EQ(checked, expected) << config;
  }
  ResetConfigObject();
  WriteConfig("[Type]\r\nFonts=1\r\nEmptyKey=1\r\n");
  const auto run = Create({L"-a"});
  ASSERT_EQ(run->CheckedEntries().size(), 2U);
  EXPECT_EQ(run->CheckedEntries()[0]->Section, L"Fonts");
  EXPECT_EQ(run->CheckedEntries()[1]->Section, L"EmptyKey");
}

TEST_F(AutoRunTest, OnlyUnsafeFindingsInSafeModeEndWithoutCleaningOrWriting) {
  const std::string config = "[Type]\r\nFileTypes=1\r\n";
  WriteConfig(config);
  auto run = Create({L"-a"});
  Run(*run);
  ASSERT_FALSE(run->Entries().empty());
  for (const auto& finding : run->Entries()) {
    EXPECT_FALSE(finding->SafeToFix);
    EXPECT_FALSE(finding->Checked);
  }
  EXPECT_EQ(view_.closes, 1);
  EXPECT_TRUE(view_.notices.empty());
  EXPECT_EQ(ReadFile(ConfigFile()), config);
  EXPECT_FALSE(fs::exists(machine_.DataFolder() / "Backup"));
  EXPECT_TRUE(RegKeyExists(platform::kHkeyLocalMachine, L"SOFTWARE\\Classes\\OldGame.Save\\shell\\open\\command"));
}

// Cleans with the given second argument and checks what the run records
// and shows: every finding of the check type is handed to the cleaner.
void AutoRunTest::CheckCleanRun(const std::wstring& second) {
  WriteConfig("[Type]\r\nStartupProgram=1\r\nFileTypes=1\r\n");
  std::vector<std::wstring> arguments = {L"-a"};
  if (!second.empty()) arguments.push_back(second);
  auto run = Create(arguments);
  const TDateTime before = Now();
  Run(*run);
  const TDateTime after = Now();

  std::int64_t selected = 0;
  bool anyUnsafe = false;
  for (const auto& finding : run->Entries()) {
    anyUnsafe = anyUnsafe || !finding->SafeToFix;
    EXPECT_EQ(finding->Checked, second.empty() ? finding->SafeToFix : true);
    selected += finding->Checked ? 1 : 0;
  }
  EXPECT_TRUE(anyUnsafe);
  ASSERT_GT(selected, 0);
  ASSERT_EQ(view_.notices.size(), 1U);
  EXPECT_EQ(view_.notices[0].first, selected);
  EXPECT_EQ(view_.notices[0].second, selected);
  EXPECT_EQ(view_.closes, 1);
  const TMemIniFile saved = TMemIniFile::Load(ConfigFile().wstring());
  const std::vector<std::wstring> backups = saved.ReadSection(L"RestoreData");
  ASSERT_EQ(backups.size(), 1U);
  EXPECT_EQ(saved.ReadInteger(L"RestoreData", backups[0], -1), selected);
  EXPECT_TRUE(fs::exists(machine_.DataFolder() / "Backup" / (backups[0] + L".reg")));
  const TDateTime lastTime = saved.ReadFloatDate(L"Clean", L"LastTime", 0);
  EXPECT_GE(lastTime, before - 1e-6);
  EXPECT_LE(lastTime, after + 1e-6);
  EXPECT_TRUE(saved.ReadBool(L"Type", L"StartupProgram", false));  // the rest of the file is kept
  EXPECT_TRUE(RegKeyExists(platform::kHkeyLocalMachine, L"SOFTWARE\\Classes\\OldGame.Save\\shell\\open\\command") ==
              second.empty());
}

TEST_F(AutoRunTest, SafeRunRecordsBackupAndTimeAndShowsTheNotice) { CheckCleanRun(L""); }
TEST_F(AutoRunTest, AllRunRecordsBackupAndTimeAndShowsTheNotice) { CheckCleanRun(L"all"); }

TEST_F(AutoRunTest, WithoutAdministratorRightsOtherUsersAreIgnored) {
  WriteConfig("[Users]\r\nAllUsers=1\r\n[UserList]\r\nBen=1\r\n");
  for (const bool admin : {true, false}) {
    ResetConfigObject();
    SetIsAdmin(admin);
    const auto run = Create({L"-a"});
    EXPECT_EQ(run->Config().AllUsers, admin);
    // AllUsers makes the list unnecessary: it is read only without it.
    EXPECT_TRUE(run->Config().UsersList.empty());
  }
  WriteConfig("[Users]\r\nAllUsers=0\r\n[UserList]\r\nBen=1\r\n");
  for (const bool admin : {true, false}) {
    ResetConfigObject();
    SetIsAdmin(admin);
    const auto run = Create({L"-a"});
    EXPECT_FALSE(run->Config().AllUsers);
    EXPECT_EQ(run->Config().UsersList, admin ? std::vector<std::wstring>{L"Ben"} : std::vector<std::wstring>{});
  }
  SetIsAdmin(true);
}

}  // namespace
}  // namespace kelvara
