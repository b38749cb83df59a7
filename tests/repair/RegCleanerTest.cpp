// The cleaner's run: what it removes, counts, lists and logs, its
// notifications, its backup name, and a clean that cannot back up first.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "CleanFixture.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "registry/RegPaths.h"
#include "repair/BackupName.h"
#include "repair/RegCleaner.h"

namespace kelvara::test {
namespace {

using platform::kHkeyCurrentUser;

constexpr wchar_t kRegistry[] =
    LR"(
[$\Dead]
"x"="1"
[$\Dead\Child]
"y"="2"
[$\Values]
"Bad"="C:\\missing.exe"
"Good"="C:\\Windows\\notepad.exe"
@="default"
[$\Shared]
"C:\\gone.dll"=dword:00000001
[$\Trailing]
[$\Trailing\Sub]
[$\Node]
"n"="n"
[$\Unchecked]
"u"="u"
)";

struct CleanRun {
  TCleanKeyInfo info;
  std::vector<std::wstring> failList;
  std::vector<CleanTarget::Message> messages;
};

CleanRun Clean(const CleanFixture& fixture, std::vector<TResultData>& findings, bool createData,
               TRegCleaner* given = nullptr) {
  TRegCleaner local;
  TRegCleaner& cleaner = given != nullptr ? *given : local;
  CleanTarget target;
  cleaner.SetParWin(&target);
  cleaner.SetEntriesList(Pointers(findings));
  cleaner.SetCreateData(createData);
  cleaner.SetAppPath(fixture.Folder().wstring());
  cleaner.SetBackupPath((fixture.Folder() / "Backup").wstring());
  cleaner.Execute();
  EXPECT_FALSE(cleaner.Busy());
  cleaner.SetParWin(nullptr);
  return {cleaner.DelInfo(), cleaner.FailList(), target.messages};
}

bool Has(const CleanFixture& fixture, const std::wstring& key, const wchar_t* value = nullptr) {
  const std::wstring path = fixture.Key(key);
  return value == nullptr ? RegKeyExistsEx(kHkeyCurrentUser, path) : RegValueExistsEx(kHkeyCurrentUser, path, value);
}

TEST(RegCleaner, RemovesCheckedEntriesAndCountsThem) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  std::vector<TResultData> findings{
      Finding(fixture.Key(L"Dead"), L"", rfKey),
      Finding(fixture.Key(L"Values"), L"Bad", rfValue, true, false),
      Finding(fixture.Key(L"Values"), L"", rfValue),
      Finding(fixture.Key(L"Shared") + L"\\", L"C:\\gone.dll", rfValue),
      Finding(fixture.Key(L"Trailing\\Sub") + L"\\", L"", rfKey, true, false),
      Finding(fixture.Key(L"Node"), L"", rfNode),
      Finding(fixture.Key(L"Unchecked"), L"", rfKey, false),
      Finding(fixture.Key(L"Removed meanwhile"), L"", rfKey),
      Finding(fixture.Key(L"Values"), L"Removed meanwhile", rfValue),
  };
  TRegCleaner cleaner;
  const CleanRun run = Clean(fixture, findings, false, &cleaner);

  EXPECT_FALSE(Has(fixture, L"Dead"));
  EXPECT_FALSE(Has(fixture, L"Values", L"Bad"));
  EXPECT_FALSE(Has(fixture, L"Values", L""));
  EXPECT_TRUE(Has(fixture, L"Values", L"Good"));
  EXPECT_FALSE(Has(fixture, L"Shared", L"C:\\gone.dll"));
  EXPECT_FALSE(Has(fixture, L"Trailing\\Sub"));
  EXPECT_TRUE(Has(fixture, L"Trailing"));
  EXPECT_TRUE(Has(fixture, L"Node", L"n"));
  EXPECT_TRUE(Has(fixture, L"Unchecked", L"u"));

  EXPECT_EQ(run.info.TotalKeys, 8);
  EXPECT_EQ(run.info.SafeKeys, 6);
  EXPECT_EQ(run.info.UnSafeKeys, 2);
  EXPECT_EQ(run.info.FailRemove, 0);
  EXPECT_TRUE(run.failList.empty());
  EXPECT_EQ(cleaner.CurProcessCount(), 8);
  // The list is walked from its last entry to its first.
  EXPECT_EQ(cleaner.CurEntry().key, fixture.Key(L"Dead"));
  ASSERT_EQ(run.messages.size(), 3u);
  EXPECT_EQ(run.messages[0].code, CLEAN_STARTED);
  EXPECT_EQ(run.messages[1].code, CLEAN_ACTION);
  EXPECT_EQ(run.messages[1].lParam, daClean);
  EXPECT_EQ(run.messages[2].code, CLEAN_FINISHED);
  EXPECT_FALSE(std::filesystem::exists(fixture.Folder() / "Backup")) << "no backup was asked for";
}

TEST(RegCleaner, ABackupRunNamesItsFileAndARunWithoutOneKeepsTheName) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  std::vector<TResultData> first{Finding(fixture.Key(L"Dead"), L"", rfKey)};
  TRegCleaner cleaner;
  const CleanRun run = Clean(fixture, first, true, &cleaner);
  ASSERT_EQ(run.messages.size(), 4u);
  EXPECT_EQ(run.messages[1].code, CLEAN_ACTION);
  EXPECT_EQ(run.messages[1].lParam, daBack);
  EXPECT_EQ(run.messages[2].lParam, daClean);

  const std::wstring name = cleaner.BackupFile();
  const std::wstring computer = GetRegComputerName();
  ASSERT_TRUE(StartsWithText(name, computer.empty() ? L"" : computer + L" ")) << ToUtf8(name);
  const std::wregex stamp(
      LR"(([1-9]\d{3})-([1-9]\d?)-([1-9]\d?) (0|[1-9]\d?)-(0|[1-9]\d?)-(0|[1-9]\d?)-(0|[1-9]\d{0,2}))");
  EXPECT_TRUE(std::regex_match(name.substr(computer.empty() ? 0 : computer.size() + 1), stamp)) << ToUtf8(name);
  EXPECT_TRUE(std::filesystem::exists(fixture.Folder() / "Backup" / (name + L".reg")));
  EXPECT_TRUE(cleaner.BackupError().empty());

  std::vector<TResultData> second{Finding(fixture.Key(L"Node"), L"", rfKey)};
  Clean(fixture, second, false, &cleaner);
  EXPECT_FALSE(Has(fixture, L"Node"));
  EXPECT_EQ(cleaner.BackupFile(), name);
}

TEST(BackupName, IsTheComputerNameAndTheTimeWithoutLeadingZeros) {
  const TDateTimeParts time{2019, 5, 3, 14, 7, 9, 45};
  EXPECT_EQ(MakeBackupName(L"PC-1", time), L"PC-1 2019-5-3 14-7-9-45");
  EXPECT_EQ(MakeBackupName(L"", time), L"2019-5-3 14-7-9-45");
  EXPECT_EQ(MakeBackupName(L"X", {2020, 12, 31, 0, 0, 0, 0}), L"X 2020-12-31 0-0-0-0");
}

// The five lines of each record of an error log.
void ExpectRecords(const std::wstring& logFile, const std::vector<std::pair<std::wstring, std::wstring>>& records) {
  const std::vector<std::wstring> lines = Lines(ReadText(logFile));
  ASSERT_EQ(lines.size(), records.size() * 5) << ToUtf8(ReadText(logFile));
  const std::wregex time(LR"(Time: \d{1,2}:\d\d:\d\d Problems:)");
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_TRUE(std::regex_match(lines[i * 5], time)) << ToUtf8(lines[i * 5]);
    EXPECT_EQ(lines[i * 5 + 1], std::wstring(71, L'='));
    EXPECT_EQ(lines[i * 5 + 2], L"Key: " + records[i].first);
    EXPECT_EQ(lines[i * 5 + 3].substr(0, 8 + records[i].second.size()), L"Reason: " + records[i].second);
    EXPECT_EQ(lines[i * 5 + 4], std::wstring(71, L'-'));
  }
}

TEST(RegCleaner, NeverDeletesARootAndLogsTheFailureAfterEarlierRecords) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  const std::wstring log = fixture.PathIn(L"Errorlog.txt");
  std::vector<TResultData> findings{Finding(L"", L"", rfKey), Finding(L"\\", L"", rfKey), Finding(L"", L"v", rfValue)};
  const std::vector<std::wstring> before = fixture.Dump();
  Clean(fixture, findings, false);
  const CleanRun run = Clean(fixture, findings, false);
  EXPECT_EQ(fixture.Dump(), before);
  EXPECT_EQ(run.info.TotalKeys, 3);
  EXPECT_EQ(run.info.FailRemove, 3);
  EXPECT_EQ(run.info.SafeKeys + run.info.UnSafeKeys, 0);
  EXPECT_EQ(run.failList,
            (std::vector<std::wstring>{L"HKEY_CURRENT_USER\\\\v", L"HKEY_CURRENT_USER\\", L"HKEY_CURRENT_USER\\"}));
  const std::pair<std::wstring, std::wstring> value{L"HKEY_CURRENT_USER\\\\v", L"Remove value failed."};
  const std::pair<std::wstring, std::wstring> key{L"HKEY_CURRENT_USER\\", L"Remove Key failed."};
  ExpectRecords(log, {value, key, key, value, key, key});
}

TEST(RegCleaner, RefusedLocationsFailAndAreListed) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  platform::RegistryStore& store = fixture.Snapshot().Store();
  ASSERT_EQ(store.SetWritesRefused(kHkeyCurrentUser, fixture.Key(L"Dead\\Child"), true), 0);
  ASSERT_EQ(store.SetWritesRefused(kHkeyCurrentUser, fixture.Key(L"Values"), true), 0);
  std::vector<TResultData> findings{
      Finding(fixture.Key(L"Dead"), L"", rfKey),
      Finding(fixture.Key(L"Values"), L"Bad", rfValue),
      Finding(fixture.Key(L"Values"), L"", rfValue),
  };
  const CleanRun run = Clean(fixture, findings, false);
  EXPECT_EQ(run.info.FailRemove, 3);
  const std::wstring root = L"HKEY_CURRENT_USER\\";
  EXPECT_EQ(run.failList, (std::vector<std::wstring>{root + fixture.Key(L"Values"), root + fixture.Key(L"Values\\Bad"),
                                                     root + fixture.Key(L"Dead")}));
  ExpectRecords(fixture.PathIn(L"Errorlog.txt"), {{root + fixture.Key(L"Values") + L"\\", L"Remove value failed."},
                                                  {root + fixture.Key(L"Values\\Bad"), L"Remove value failed."},
                                                  {root + fixture.Key(L"Dead"), L"Remove Key failed."}});
  EXPECT_TRUE(Has(fixture, L"Dead\\Child"));
  EXPECT_TRUE(Has(fixture, L"Values", L"Bad"));
}

TEST(RegCleaner, AValueInAKeyThatRefusesReadingIsNotTakenForRemoved) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  ASSERT_EQ(fixture.Snapshot().Store().SetReadsRefused(kHkeyCurrentUser, fixture.Key(L"Values"), true), 0);
  std::vector<TResultData> findings{Finding(fixture.Key(L"Values"), L"Bad", rfValue)};
  const CleanRun run = Clean(fixture, findings, false);
  EXPECT_EQ(run.info.FailRemove, 1);
  ASSERT_EQ(fixture.Snapshot().Store().SetReadsRefused(kHkeyCurrentUser, fixture.Key(L"Values"), false), 0);
  EXPECT_TRUE(Has(fixture, L"Values", L"Bad"));
}

// A backup that cannot be written stops the clean before any removal.
void ExpectNothingRemoved(const CleanFixture& fixture, const std::function<void()>& breakBackup,
                          const std::function<void()>& repair = {}, bool logWritable = true) {
  const std::vector<std::wstring> before = fixture.Dump();
  std::vector<TResultData> findings{
      Finding(fixture.Key(L"Dead"), L"", rfKey),
      Finding(fixture.Key(L"Values"), L"Bad", rfValue, true, false),
      Finding(fixture.Key(L"Unchecked"), L"", rfKey, false),
  };
  breakBackup();
  TRegCleaner cleaner;
  const CleanRun run = Clean(fixture, findings, true, &cleaner);
  if (repair) repair();
  EXPECT_EQ(fixture.Dump(), before);
  EXPECT_EQ(run.info.TotalKeys, 2);
  EXPECT_EQ(run.info.FailRemove, 2);
  EXPECT_EQ(run.info.SafeKeys + run.info.UnSafeKeys, 0);
  const std::wstring root = L"HKEY_CURRENT_USER\\";
  EXPECT_EQ(run.failList, (std::vector<std::wstring>{root + fixture.Key(L"Values\\Bad"), root + fixture.Key(L"Dead")}));
  EXPECT_FALSE(cleaner.BackupError().empty());
  EXPECT_TRUE(cleaner.BackupFile().empty());
  ASSERT_EQ(run.messages.size(), 4u);
  EXPECT_EQ(run.messages[3].code, CLEAN_FINISHED);
  if (!logWritable) return;
  const std::wstring log = ReadText(fixture.PathIn(L"Errorlog.txt"));
  EXPECT_NE(
      log.find(L"Reason: Remove Key failed. Nothing was removed because the backup failed: " + cleaner.BackupError()),
      std::wstring::npos)
      << ToUtf8(log);
}

TEST(RegCleaner, RemovesNothingWhenTheBackupFolderCannotBeCreated) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  ExpectNothingRemoved(fixture, [&] { std::ofstream(fixture.Folder() / "Backup") << "a file in the way"; });
}

TEST(RegCleaner, RemovesNothingWhenTheBackupFolderRefusesWrites) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  auto& files = *fixture.Snapshot().Facilities().hostFiles;
  ExpectNothingRemoved(
      fixture, [&] { files.FailWritesUnder((fixture.Folder() / "Backup").wstring(), L"Permission denied"); },
      [&] { files.ClearFaults(); });
}

TEST(RegCleaner, RemovesNothingWhenTheDiskIsFullDuringTheBackup) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  auto& files = *fixture.Snapshot().Facilities().hostFiles;
  ExpectNothingRemoved(
      fixture, [&] { files.FillDiskAfter(64); }, [&] { files.ClearFaults(); }, false);
  EXPECT_TRUE(std::filesystem::is_empty(fixture.Folder() / "Backup")) << "no partial or temporary file is left";
}

TEST(RegCleaner, AStopDuringTheBackupRemovesNothingAndTheNextRunCleans) {
  CleanFixture fixture;
  fixture.Load(kRegistry);
  const std::vector<std::wstring> before = fixture.Dump();
  std::vector<TResultData> findings{Finding(fixture.Key(L"Dead"), L"", rfKey)};
  TRegCleaner cleaner;
  CleanTarget target;
  target.onMessage = [&](std::uintptr_t code) {
    if (code == CLEAN_ACTION && cleaner.CurAction() == daBack) cleaner.Stop();
  };
  cleaner.SetParWin(&target);
  cleaner.SetEntriesList(Pointers(findings));
  cleaner.SetCreateData(true);
  cleaner.SetBackupPath((fixture.Folder() / "Backup").wstring());
  cleaner.Execute();
  EXPECT_EQ(fixture.Dump(), before);
  EXPECT_EQ(cleaner.DelInfo().TotalKeys, 0);
  EXPECT_TRUE(cleaner.BackupFile().empty());
  EXPECT_EQ(target.messages.back().code, CLEAN_FINISHED);

  target.onMessage = nullptr;
  cleaner.Execute();
  EXPECT_FALSE(Has(fixture, L"Dead"));
  EXPECT_EQ(cleaner.DelInfo().TotalKeys, 1);
  EXPECT_FALSE(cleaner.BackupFile().empty());
}

}  // namespace
}  // namespace kelvara::test
