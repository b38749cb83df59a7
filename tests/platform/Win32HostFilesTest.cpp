// The win32 host-file facility on a scratch folder under the temp folder.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>
// windows.h renames DeleteFile to DeleteFileW, which would hide the
// facility's operation of that name.
#undef DeleteFile

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "platform/win32/Win32HostFiles.h"

namespace kelvara::platform {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

class Win32HostFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = files_.TempFolder() + L"\\kelvara-files-" + std::to_wstring(std::random_device{}());
    HostFileError error;
    ASSERT_TRUE(files_.CreateFolders(root_, error)) << ToUtf8Text(error.message);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, ignored)) {
      MakeReadOnly(entry.path(), false);
    }
    std::filesystem::remove_all(root_, ignored);
  }

  static void MakeReadOnly(const std::filesystem::path& path, bool readOnly) {
    namespace fs = std::filesystem;
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, ignored);
  }
  static std::string ToUtf8Text(const std::wstring& text) { return ToUtf8(text); }
  std::vector<std::wstring> Names(const std::wstring& folder) {
    std::vector<HostFileInfo> entries;
    EXPECT_TRUE(files_.ListFolder(folder, entries));
    std::vector<std::wstring> names;
    for (const HostFileInfo& entry : entries) names.push_back(entry.name);
    return names;
  }
  std::string Read(const std::wstring& path) {
    std::vector<std::uint8_t> bytes;
    HostFileError error;
    if (!files_.ReadFile(path, bytes, error)) return ToUtf8Text(error.message).append(" (read failed)");
    return {bytes.begin(), bytes.end()};
  }

  win32::Win32HostFiles files_;
  std::wstring root_;
};

TEST_F(Win32HostFilesTest, AtomicWriteCreatesAndReplaces) {
  const std::wstring path = root_ + L"\\Config.ini";
  HostFileError error;
  ASSERT_TRUE(files_.WriteFileAtomic(path, Bytes("first"), error)) << ToUtf8Text(error.message);
  EXPECT_FALSE(error.failed);
  ASSERT_TRUE(files_.WriteFileAtomic(path, Bytes("second, longer"), error)) << ToUtf8Text(error.message);
  EXPECT_EQ(Read(path), "second, longer");
  ASSERT_TRUE(files_.WriteFileAtomic(path, {}, error));
  EXPECT_EQ(Read(path), "");
  EXPECT_EQ(Names(root_), std::vector<std::wstring>{L"Config.ini"}) << "no temporary file is left";
}

TEST_F(Win32HostFilesTest, AFailedAtomicWriteLeavesTheOldFile) {
  const std::wstring path = root_ + L"\\Exclusion.dat";
  HostFileError error;
  ASSERT_TRUE(files_.WriteFileAtomic(path, Bytes("old"), error));
  {
    // A file another program holds open without delete sharing cannot be
    // replaced by a rename.
    std::ifstream reader(std::filesystem::path(path), std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    EXPECT_FALSE(files_.WriteFileAtomic(path, Bytes("new"), error));
    EXPECT_NE(error.message.find(L"Exclusion.dat"), std::wstring::npos) << ToUtf8Text(error.message);
  }
  // Replacing a folder by a file fails at the rename.
  ASSERT_TRUE(files_.CreateFolders(root_ + L"\\taken.ini", error));
  EXPECT_FALSE(files_.WriteFileAtomic(root_ + L"\\taken.ini", Bytes("new"), error));
  EXPECT_TRUE(error.failed);
  EXPECT_NE(error.message.find(L"taken.ini"), std::wstring::npos) << ToUtf8Text(error.message);
  EXPECT_TRUE(files_.FolderExists(root_ + L"\\taken.ini"));
  // A missing folder fails before anything is written.
  EXPECT_FALSE(files_.WriteFileAtomic(root_ + L"\\missing\\x.ini", Bytes("new"), error));
  EXPECT_NE(error.message.find(L"missing"), std::wstring::npos);
  EXPECT_EQ(Read(path), "old");
  std::vector<std::wstring> names = Names(root_);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Exclusion.dat", L"taken.ini"}))
      << "no temporary file is left after a failure";
}

TEST_F(Win32HostFilesTest, AppendCreatesThenExtends) {
  const std::wstring path = root_ + L"\\Errorlog.txt";
  HostFileError error;
  ASSERT_TRUE(files_.AppendFile(path, Bytes("one\r\n"), error)) << ToUtf8Text(error.message);
  ASSERT_TRUE(files_.AppendFile(path, Bytes("two\r\n"), error));
  EXPECT_EQ(Read(path), "one\r\ntwo\r\n");
  HostFileInfo info;
  ASSERT_TRUE(files_.GetFileInfo(path, info));
  EXPECT_EQ(info.name, L"Errorlog.txt");
  EXPECT_EQ(info.size, 10u);
  EXPECT_FALSE(info.isFolder);
  EXPECT_GT(info.writeTimeUnix, 1500000000) << "seconds since 1970";
  EXPECT_LE(info.creationTimeUnix, info.writeTimeUnix + 2);
}

TEST_F(Win32HostFilesTest, FoldersAreCreatedAlongThePathAndListed) {
  HostFileError error;
  const std::wstring deep = root_ + L"\\Kelvara\\Backup\\2024\\";
  ASSERT_TRUE(files_.CreateFolders(deep, error)) << ToUtf8Text(error.message);
  EXPECT_TRUE(files_.FolderExists(root_ + L"\\Kelvara\\Backup\\2024"));
  EXPECT_TRUE(files_.CreateFolders(deep, error)) << "existing folders are fine";
  ASSERT_TRUE(files_.WriteFileAtomic(root_ + L"\\Kelvara\\a.reg", Bytes("x"), error));
  EXPECT_TRUE(files_.FileExists(root_ + L"\\Kelvara\\a.reg"));
  EXPECT_FALSE(files_.FolderExists(root_ + L"\\Kelvara\\a.reg"));
  EXPECT_FALSE(files_.FileExists(root_ + L"\\Kelvara"));

  std::vector<HostFileInfo> entries;
  ASSERT_TRUE(files_.ListFolder(root_ + L"\\Kelvara", entries));
  ASSERT_EQ(entries.size(), 2u);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  EXPECT_EQ(entries[0].name, L"Backup");
  EXPECT_TRUE(entries[0].isFolder);
  EXPECT_EQ(entries[1].name, L"a.reg");
  EXPECT_EQ(entries[1].size, 1u);
  EXPECT_FALSE(files_.ListFolder(root_ + L"\\nothing here", entries));
  EXPECT_TRUE(entries.empty());

  EXPECT_FALSE(files_.CreateFolders(root_ + L"\\Kelvara\\a.reg\\sub", error)) << "a file is in the way";
  EXPECT_NE(error.message.find(L"a.reg"), std::wstring::npos);
}

TEST_F(Win32HostFilesTest, DeletingReportsTheFileAndForceDeleteClearsReadOnly) {
  HostFileError error;
  EXPECT_FALSE(files_.DeleteFile(root_ + L"\\gone.txt", error));
  EXPECT_TRUE(error.failed);
  EXPECT_NE(error.message.find(L"gone.txt"), std::wstring::npos);
  std::vector<std::uint8_t> bytes;
  EXPECT_FALSE(files_.ReadFile(root_ + L"\\gone.txt", bytes, error));
  EXPECT_NE(error.message.find(L"gone.txt"), std::wstring::npos);

  EXPECT_TRUE(files_.ForceDeleteFile(root_ + L"\\gone.txt")) << "nothing to delete is success";
  const std::wstring path = root_ + L"\\readonly.txt";
  ASSERT_TRUE(files_.WriteFileAtomic(path, Bytes("x"), error));
  MakeReadOnly(path, true);
  EXPECT_FALSE(files_.DeleteFile(path, error)) << "a read-only file refuses a plain delete";
  EXPECT_TRUE(files_.ForceDeleteFile(path));
  EXPECT_FALSE(files_.FileExists(path));
}

TEST(Win32HostFilesFacts, ProgramFileAndTempFolder) {
  win32::Win32HostFiles files;
  const std::wstring program = files.ProgramFile();
  ASSERT_GT(program.size(), 4u);
  EXPECT_EQ(program.substr(program.size() - 4), L".exe");
  EXPECT_TRUE(files.FileExists(program));
  const std::wstring temp = files.TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_NE(temp.back(), L'\\');
  EXPECT_TRUE(files.FolderExists(temp));
  EXPECT_EQ(files.Separator(), L'\\');
}

// Standard error redirected to a file is no console, so no progress line
// is drawn into a log.
TEST_F(Win32HostFilesTest, StandardErrorRedirectedToAFileIsNoTerminal) {
  const std::wstring path = root_ + L"\\stderr.txt";
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const HANDLE saved = ::GetStdHandle(STD_ERROR_HANDLE);
  ::SetStdHandle(STD_ERROR_HANDLE, file);
  const bool terminal = files_.IsErrorStreamTerminal();
  ::SetStdHandle(STD_ERROR_HANDLE, saved);
  ::CloseHandle(file);
  EXPECT_FALSE(terminal);
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
