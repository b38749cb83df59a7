// Restoring one per-fix backup: which tool imports it, and what a failure
// says.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "CleanFixture.h"
#include "platform/Text.h"
#include "registry/RegFun.h"
#include "repair/BackupRestore.h"

namespace kelvara::test {
namespace {

// A backup that puts back the value "v" of the key "Restored".
std::wstring WriteBackup(const CleanFixture& fixture, const std::string& body) {
  const std::wstring file = fixture.PathIn(L"backup.reg");
  const std::string scratch = ToUtf8(fixture.Scratch());
  std::ofstream(std::filesystem::path(file), std::ios::binary)
      << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" << scratch << "\\Restored]\r\n"
      << body;
  return file;
}

bool Restored(const CleanFixture& fixture) {
  return RegValueExistsEx(platform::kHkeyCurrentUser, fixture.Key(L"Restored"), L"v");
}

TEST(BackupRestore, AMissingFileIsNamed) {
  CleanFixture fixture;
  const std::wstring file = fixture.PathIn(L"missing.reg");
  for (const bool editor : {false, true}) {
    const TBackupRestoreResult result = RestoreRegBackup(file, editor);
    EXPECT_FALSE(result.succeeded);
    EXPECT_NE(result.error.find(file), std::wstring::npos) << ToUtf8(result.error);
  }
}

TEST(BackupRestore, AMalformedFileChangesNothingAndNamesTheLine) {
  CleanFixture fixture;
  platform::SnapshotProcess& process = *fixture.Snapshot().Facilities().process;
  process.SetRunHandler([](const std::wstring&) { return 0; });
  const std::wstring file = WriteBackup(fixture, "\"v\"=\"1\"\r\n\"w\"=dword:xyz\r\n");
  for (const bool editor : {false, true}) {
    const TBackupRestoreResult result = RestoreRegBackup(file, editor);
    EXPECT_FALSE(result.succeeded);
    EXPECT_NE(result.error.find(file + L", line 5"), std::wstring::npos) << ToUtf8(result.error);
  }
  EXPECT_TRUE(process.RunCalls().empty()) << "the editor never sees a malformed file";
  EXPECT_FALSE(Restored(fixture));
}

// The snapshot's stand-in for the registry editor: records the command
// line and answers with `exitCode`, importing nothing.
struct EditorCase {
  const char* name;
  int exitCode;
  bool toolsDisabled;
  bool editorAsked;
  TRegImportTool tool;
  bool restoredByReader;
};

class BackupRestoreTools : public ::testing::TestWithParam<EditorCase> {};

TEST_P(BackupRestoreTools, TheOwnReaderStandsInWhenTheEditorCannotImport) {
  const EditorCase& c = GetParam();
  CleanFixture fixture;
  if (c.toolsDisabled) {
    fixture.Load(
        LR"([HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Policies\System]
"DisableRegistryTools"=dword:00000001
)");
  }
  platform::SnapshotProcess& process = *fixture.Snapshot().Facilities().process;
  process.SetRunHandler([&](const std::wstring&) { return c.exitCode; });
  const std::wstring file = WriteBackup(fixture, "\"v\"=\"1\"\r\n");

  const TBackupRestoreResult result = RestoreRegBackup(file, true);
  EXPECT_TRUE(result.succeeded) << ToUtf8(result.error);
  EXPECT_EQ(result.tool, c.tool);
  EXPECT_EQ(Restored(fixture), c.restoredByReader);
  const std::vector<std::wstring> runs = process.RunCalls();
  if (c.editorAsked) {
    EXPECT_EQ(runs, std::vector<std::wstring>{L"regedit /s \"" + file + L"\""});
  } else {
    EXPECT_TRUE(runs.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackupRestoreTools,
    ::testing::Values(EditorCase{"EditorImports", 0, false, true, TRegImportTool::RegistryEditor, false},
                      EditorCase{"EditorCannotStart", -1, false, true, TRegImportTool::OwnReader, true},
                      EditorCase{"EditorFails", 1, false, true, TRegImportTool::OwnReader, true},
                      EditorCase{"ToolsDisabled", 0, true, false, TRegImportTool::OwnReader, true}),
    [](const ::testing::TestParamInfo<EditorCase>& param) { return param.param.name; });

// The snapshot's process facility starts nothing, so the default restore
// imports into the snapshot.
TEST(BackupRestore, OnTheSnapshotTheOwnReaderImports) {
  CleanFixture fixture;
  const TBackupRestoreResult result = RestoreRegBackup(WriteBackup(fixture, "\"v\"=\"1\"\r\n"));
  EXPECT_TRUE(result.succeeded) << ToUtf8(result.error);
  EXPECT_EQ(result.tool, TRegImportTool::OwnReader);
  EXPECT_TRUE(Restored(fixture));
  EXPECT_EQ(fixture.Snapshot().Facilities().process->RunCalls().size(), 1u);
}

}  // namespace
}  // namespace kelvara::test
