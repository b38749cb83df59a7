// The cleaner as the windows reach it: one instance, a threaded run, and
// the busy rules shared with the scanner.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include "CleanFixture.h"
#include "platform/Platform.h"
#include "registry/RegFun.h"
#include "repair/RegCleanerExport.h"
#include "sysutil/AdminFlag.h"

namespace kelvara::test {
namespace {

TEST(RegCleanerExport, WithoutACleanerEverythingIsEmpty) {
  FreeEngines();
  std::vector<std::wstring> list{L"kept"};
  GetFailList(list);
  EXPECT_EQ(list, std::vector<std::wstring>{L"kept"});
  EXPECT_EQ(GetCleanProgress(), 0);
  EXPECT_TRUE(GetBackupFile().empty());
  EXPECT_FALSE(IsCleanerBusy());
  EXPECT_FALSE(IsEngineBusy());
  StartClean();
  EXPECT_EQ(Cleaner(), nullptr);
}

TEST(RegCleanerExport, AThreadedCleanReportsThroughTheExportFunctions) {
  CleanFixture fixture;
  fixture.Load(
      LR"(
[$\Dead]
"x"="1"
[$\Other]
"y"="2"
)");
  SetIsAdmin(true);
  std::vector<TResultData> findings{Finding(fixture.Key(L"Dead"), L"", rfKey),
                                    Finding(fixture.Key(L"Missing"), L"", rfKey)};
  std::vector<TResultData> others{Finding(fixture.Key(L"Other"), L"", rfKey)};

  CleanTarget target;
  std::promise<void> finished;
  bool busyAtStart = false;
  bool engineBusyAtStart = false;
  bool busyAtEnd = true;
  target.onMessage = [&](std::uintptr_t code) {
    if (code == CLEAN_STARTED) {
      busyAtStart = IsCleanerBusy();
      engineBusyAtStart = IsEngineBusy();
    }
    if (code == CLEAN_ACTION) {
      // Neither changes a running clean.
      SetupCleaner(&target, L"", L"", false, false, Pointers(others));
      StartClean();
    }
    if (code == CLEAN_FINISHED) {
      busyAtEnd = IsCleanerBusy();
      finished.set_value();
    }
  };
  const std::wstring backupFolder = (fixture.Folder() / "Backup").wstring();
  SetupCleaner(&target, fixture.Folder().wstring(), backupFolder, true, true, Pointers(findings));
  ASSERT_NE(Cleaner(), nullptr);
  EXPECT_TRUE(Cleaner()->IsAdmin());
  EXPECT_EQ(Cleaner()->BackupPath(), backupFolder + platform::HostFiles().Separator());
  StartClean();
  ASSERT_EQ(finished.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);

  EXPECT_TRUE(busyAtStart);
  EXPECT_TRUE(engineBusyAtStart);
  EXPECT_FALSE(busyAtEnd);
  EXPECT_EQ(GetCleanProgress(), 2);
  TCleanKeyInfo info;
  GetDelInfo(info);
  EXPECT_EQ(info.TotalKeys, 2);
  EXPECT_EQ(info.SafeKeys, 2);
  TRegData current;
  GetCurEntry(current);
  EXPECT_EQ(current.key, fixture.Key(L"Dead"));
  std::vector<std::wstring> failed{L"earlier"};
  GetFailList(failed);
  EXPECT_EQ(failed, std::vector<std::wstring>{L"earlier"});
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(backupFolder) / (GetBackupFile() + L".reg")));
  EXPECT_FALSE(RegKeyExistsEx(platform::kHkeyCurrentUser, fixture.Key(L"Dead")));
  EXPECT_TRUE(RegKeyExistsEx(platform::kHkeyCurrentUser, fixture.Key(L"Other")));
  std::size_t started = 0;
  for (const auto& m : target.messages) started += m.code == CLEAN_STARTED ? 1 : 0;
  EXPECT_EQ(started, 1u);

  FreeEngines();
  EXPECT_EQ(Cleaner(), nullptr);
}

}  // namespace
}  // namespace kelvara::test
