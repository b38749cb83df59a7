// The drive map of the snapshot backend: Windows paths looked up in host
// folders without regard to case, and the program's own files on POSIX
// with their failure knobs.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/snapshot/DriveMapFiles.h"
#include "platform/snapshot/PosixHostFiles.h"

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A scratch host folder, removed with its content at the end.
class HostFolder {
 public:
  HostFolder() {
    path_ = fs::temp_directory_path() /
            ("kelvara-snap-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  HostFolder(const HostFolder&) = delete;
  HostFolder& operator=(const HostFolder&) = delete;
  ~HostFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
  void File(const std::string& relative, const std::string& content = "x") const {
    fs::create_directories((path_ / relative).parent_path());
    std::ofstream(path_ / relative, std::ios::binary) << content;
  }
  [[nodiscard]] std::wstring Wide(const std::string& relative = "") const {
    return FromUtf8((relative.empty() ? path_ : path_ / relative).string());
  }
  [[nodiscard]] const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(DriveMapFilesTest, WindowsPathsResolveLikeWindowsDoes) {
  HostFolder drive;
  drive.File("Program Files/App/App.exe");
  drive.File("Windows/notepad.exe");
  drive.File("Users/\xC3\x84rger.txt");  // "Ärger.txt" in UTF-8
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
  EXPECT_EQ(files.HostPath(L"c:\\program files\\app\\app.exe"), (drive.Path() / "Program Files/App/App.exe").string());
}

TEST(DriveMapFilesTest, ListingsAreCachedUntilTheNextScan) {
  HostFolder drive;
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
  HostFolder drive;
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

TEST(PosixHostFilesTest, AtomicWriteReplacesTheFileAndLeavesNothingBehind) {
  HostFolder folder;
  PosixHostFiles files;
  HostFileError error;
  const std::wstring path = folder.Wide("config.ini");
  ASSERT_TRUE(files.WriteFileAtomic(path, ToBytes("first"), error)) << ToUtf8(error.message);
  ASSERT_TRUE(files.WriteFileAtomic(path, ToBytes("second"), error));
  Bytes read;
  ASSERT_TRUE(files.ReadFile(path, read, error));
  EXPECT_EQ(Text(read), "second");
  std::vector<HostFileInfo> entries;
  ASSERT_TRUE(files.ListFolder(folder.Wide(), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, L"config.ini");
  EXPECT_EQ(entries[0].size, 6u);
  EXPECT_FALSE(entries[0].isFolder);

  EXPECT_FALSE(files.WriteFileAtomic(folder.Wide("no/such/folder.ini"), ToBytes("x"), error));
  EXPECT_TRUE(error.failed);
  EXPECT_TRUE(ContainsText(error.message, folder.Wide("no/such/folder.ini"))) << ToUtf8(error.message);
}

TEST(PosixHostFilesTest, KnobFailuresKeepTheOldFile) {
  HostFolder folder;
  PosixHostFiles files;
  HostFileError error;
  const std::wstring path = folder.Wide("data/Exclusion.dat");
  ASSERT_TRUE(files.CreateFolders(folder.Wide("data"), error));
  ASSERT_TRUE(files.WriteFileAtomic(path, ToBytes("old"), error));

  files.FailWritesUnder(folder.Wide("data"), L"The device is not ready");
  error = {};
  EXPECT_FALSE(files.WriteFileAtomic(path, ToBytes("new"), error));
  EXPECT_TRUE(ContainsText(error.message, L"The device is not ready"));
  EXPECT_FALSE(files.AppendFile(path, ToBytes("more"), error));
  EXPECT_FALSE(files.DeleteFile(path, error));
  EXPECT_TRUE(files.WriteFileAtomic(folder.Wide("dataX"), ToBytes("outside"), error));
  files.ClearFaults();

  files.FillDiskAfter(5);
  EXPECT_TRUE(files.AppendFile(path, ToBytes("++"), error));
  error = {};
  EXPECT_FALSE(files.WriteFileAtomic(path, ToBytes("much too long"), error));
  EXPECT_TRUE(error.failed);
  EXPECT_FALSE(files.AppendFile(path, ToBytes("four"), error));
  Bytes read;
  ASSERT_TRUE(files.ReadFile(path, read, error));
  EXPECT_EQ(Text(read), "old++");
  std::vector<HostFileInfo> entries;
  ASSERT_TRUE(files.ListFolder(folder.Wide("data"), entries));
  EXPECT_EQ(entries.size(), 1u);
}

TEST(PosixHostFilesTest, FoldersDeletionAndInformation) {
  HostFolder folder;
  PosixHostFiles files;
  HostFileError error;
  ASSERT_TRUE(files.CreateFolders(folder.Wide("a/b/c"), error));
  ASSERT_TRUE(files.CreateFolders(folder.Wide("a/b/c"), error));
  EXPECT_TRUE(files.FolderExists(folder.Wide("a/b/c")));
  EXPECT_FALSE(files.FileExists(folder.Wide("a/b/c")));
  folder.File("a/file", "12345");
  EXPECT_FALSE(files.CreateFolders(folder.Wide("a/file/d"), error));

  HostFileInfo info;
  ASSERT_TRUE(files.GetFileInfo(folder.Wide("a/file"), info));
  EXPECT_EQ(info.name, L"file");
  EXPECT_EQ(info.size, 5u);
  EXPECT_GT(info.writeTimeUnix, 0);
  EXPECT_FALSE(files.GetFileInfo(folder.Wide("a/none"), info));

  error = {};
  EXPECT_FALSE(files.DeleteFile(folder.Wide("a/none"), error));
  EXPECT_TRUE(ContainsText(error.message, folder.Wide("a/none")));
  fs::permissions(folder.Path() / "a/file", fs::perms::owner_read);
  EXPECT_TRUE(files.ForceDeleteFile(folder.Wide("a/file")));
  EXPECT_FALSE(files.FileExists(folder.Wide("a/file")));
  EXPECT_TRUE(files.ForceDeleteFile(folder.Wide("a/file")));

  error = {};
  Bytes bytes;
  EXPECT_FALSE(files.ReadFile(folder.Wide("a/none"), bytes, error));
  EXPECT_TRUE(ContainsText(error.message, folder.Wide("a/none")));
  EXPECT_TRUE(files.FileExists(files.ProgramFile()));
  EXPECT_TRUE(files.FolderExists(files.TempFolder()));
  EXPECT_EQ(files.Separator(), L'/');
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
