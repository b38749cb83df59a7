// The drive map of the snapshot backend (Windows paths looked up in host
// folders without regard to case) and the failure knobs of its host files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SnapshotTestFolder.h"
#include "platform/Text.h"
#include "platform/snapshot/SnapshotPlatform.h"

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;
using test::SnapshotTestFolder;
using Bytes = std::vector<std::uint8_t>;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(DriveMapFilesTest, WindowsPathsResolveLikeWindowsDoes) {
  SnapshotTestFolder drive;
  drive.File("Program Files/App/App.exe");
  drive.File("Windows/notepad.exe");
  drive.File(fs::path(u8"Users/\u00C4rger.txt"));
  fs::create_directories(drive.Path() / "Users/Public");
  DriveMapFiles files({{L'c', DriveMapping{drive.Wide()}}});
  struct Case {
    const wchar_t* path;
    bool exists;
  };
  const Case cases[] = {
      {L"C:\\Program Files\\App\\App.exe", true},
      {L"c:/program files/APP/app.EXE", true},
      {L"C:\\Program Files\\\\App\\App.exe", true},
      {L"C:\\Program Files\\App\\", true},
      {L"C:\\Program Files\\.\\App\\..\\App\\App.exe", true},
      {L"C:\\..\\Windows\\notepad.exe", true},
      {L"C:\\Windows\\notepad.exe.", true},
      {L"C:\\Windows\\notepad.exe  ", true},
      {L"C:\\Users\\\u00E4RGER.TXT", true},
      {L"C:\\Users\\Public", true},
      {L"C:\\", true},
      {L"C:", true},
      {L"C:\\Windows\\notepad", false},
      {L"C:\\Windows\\notepad.exe\\", false},
      {L"C:\\Windows\\notepad.exe\\x", false},
      {L"C:\\Nothing", false},
      {L"D:\\Windows", false},
      {L"C:Windows", false},
      {L"Windows\\notepad.exe", false},
      {L"\\\\?\\C:\\Windows", false},
      {L"\\\\server\\share\\Windows", false},
      {L"C:\\Win*", false},
      {L"C:\\Windows\\note?ad.exe", false},
      {L"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(files.PathExists(c.path), c.exists) << ToUtf8(c.path);
  EXPECT_EQ(files.HostPath(L"c:\\program files\\app\\app.exe"), drive.Path() / "Program Files" / "App" / "App.exe");
}

TEST(DriveMapFilesTest, ListingsAreCachedUntilTheNextScan) {
  SnapshotTestFolder drive;
  drive.File("Windows/old.dll");
  DriveMapFiles files({{L'C', DriveMapping{drive.Wide()}}});
  EXPECT_TRUE(files.PathExists(L"C:\\Windows\\old.dll"));
  EXPECT_FALSE(files.PathExists(L"C:\\Windows\\new.dll"));
  drive.File("Windows/new.dll");
  fs::remove(drive.Path() / "Windows/old.dll");
  EXPECT_TRUE(files.PathExists(L"C:\\Windows\\old.dll"));
  EXPECT_FALSE(files.PathExists(L"C:\\Windows\\new.dll"));
  files.BeginScan();
  EXPECT_FALSE(files.PathExists(L"C:\\Windows\\old.dll"));
  EXPECT_TRUE(files.PathExists(L"C:\\Windows\\new.dll"));
}

TEST(DriveMapFilesTest, DriveTypesComeFromTheMap) {
  SnapshotTestFolder drive;
  DriveMapFiles files({{L'C', DriveMapping{drive.Wide()}},
                       {L'e', DriveMapping{drive.Wide(), kDriveRemovable}},
                       {L'F', DriveMapping{drive.Wide(), kDriveCdRom}}});
  EXPECT_EQ(files.DriveType(L"C:\\"), kDriveFixed);
  EXPECT_EQ(files.DriveType(L"c:"), kDriveFixed);
  EXPECT_EQ(files.DriveType(L"E:/"), kDriveRemovable);
  EXPECT_EQ(files.DriveType(L"F:\\"), kDriveCdRom);
  EXPECT_EQ(files.DriveType(L"Q:\\"), kDriveNoRootDir);
  EXPECT_EQ(files.DriveType(L"C:\\Windows"), kDriveNoRootDir);
  void* state = &files;
  EXPECT_FALSE(files.DisableRedirection(state));
  EXPECT_EQ(state, nullptr);
}

// The knobs wrap the target's real host files: a refused or over-full
// write fails before anything is written, so the old file stays.
TEST(FaultyHostFilesTest, KnobFailuresKeepTheOldFile) {
  SnapshotTestFolder folder;
  SnapshotSettings defaults;
  const std::shared_ptr<FaultyHostFiles> files = MakeSnapshotFacilities(defaults).hostFiles;
  HostFileError error;
  const std::wstring path = folder.Wide("data/Exclusion.dat");
  ASSERT_TRUE(files->CreateFolders(folder.Wide("data"), error));
  ASSERT_TRUE(files->WriteFileAtomic(path, ToBytes("old"), error));

  files->FailWritesUnder(folder.Wide("data"), L"The device is not ready");
  error = {};
  EXPECT_FALSE(files->WriteFileAtomic(path, ToBytes("new"), error));
  EXPECT_TRUE(ContainsText(error.message, L"The device is not ready"));
  EXPECT_TRUE(ContainsText(error.message, path));
  EXPECT_FALSE(files->AppendFile(path, ToBytes("more"), error));
  EXPECT_FALSE(files->DeleteFile(path, error));
  EXPECT_FALSE(files->ForceDeleteFile(path));
  EXPECT_TRUE(files->WriteFileAtomic(folder.Wide("dataX"), ToBytes("outside"), error));
  files->ClearFaults();

  files->FillDiskAfter(5);
  EXPECT_TRUE(files->AppendFile(path, ToBytes("++"), error));
  error = {};
  EXPECT_FALSE(files->WriteFileAtomic(path, ToBytes("much too long"), error));
  EXPECT_TRUE(error.failed);
  EXPECT_FALSE(files->AppendFile(path, ToBytes("four"), error));
  Bytes read;
  ASSERT_TRUE(files->ReadFile(path, read, error));
  EXPECT_EQ(Text(read), "old++");
  std::vector<HostFileInfo> entries;
  ASSERT_TRUE(files->ListFolder(folder.Wide("data"), entries));
  EXPECT_EQ(entries.size(), 1u);
}

}  // namespace
}  // namespace kelvara::platform
