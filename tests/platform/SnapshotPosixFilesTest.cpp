// The program's own files on Linux, and the drive map over a host tree
// whose names may differ only in case (a copied or case-sensitive tree).
#ifndef _WIN32

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SnapshotTestFolder.h"
#include "platform/Text.h"
#include "platform/snapshot/DriveMapFiles.h"
#include "platform/snapshot/PosixHostFiles.h"

namespace kelvara::platform {
namespace {

namespace fs = std::filesystem;
using test::SnapshotTestFolder;
using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(DriveMapFilesTest, HostNamesDifferingOnlyInCaseAreAllSearched) {
  SnapshotTestFolder drive;
  drive.File("Pod/Usage.pm");
  drive.File("pod/Other.pm");
  drive.File("pod/usage.pm");
  DriveMapFiles files({{L'C', DriveMapping{drive.Wide()}}});
  EXPECT_TRUE(files.PathExists(L"C:\\POD\\OTHER.PM"));
  EXPECT_TRUE(files.PathExists(L"C:\\Pod\\Other.pm"));
  EXPECT_EQ(files.HostPath(L"C:\\Pod\\Usage.pm"), drive.Path() / "Pod" / "Usage.pm");
  EXPECT_EQ(files.HostPath(L"C:\\pod\\Usage.pm"), drive.Path() / "pod" / "usage.pm");
  EXPECT_FALSE(files.PathExists(L"C:\\pod\\missing.pm"));
}

TEST(PosixHostFilesTest, AtomicWriteReplacesTheFileAndLeavesNothingBehind) {
  SnapshotTestFolder folder;
  PosixHostFiles files;
  HostFileError error;
  const std::wstring path = folder.Wide("config.ini");
  ASSERT_TRUE(files.WriteFileAtomic(path, ToBytes("first"), error)) << ToUtf8(error.message);
  fs::permissions(folder.Path() / "config.ini", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(files.WriteFileAtomic(path, ToBytes("second"), error));
  Bytes read;
  ASSERT_TRUE(files.ReadFile(path, read, error));
  EXPECT_EQ(std::string(read.begin(), read.end()), "second");
  // The replacement keeps the permissions of the file it replaced.
  EXPECT_EQ(fs::status(folder.Path() / "config.ini").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
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

TEST(PosixHostFilesTest, FoldersDeletionAndInformation) {
  SnapshotTestFolder folder;
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

// Standard error is switched to a pseudo-terminal and to a file in turn.
TEST(PosixHostFilesTest, TellsWhetherStandardErrorIsATerminal) {
  SnapshotTestFolder folder;
  PosixHostFiles files;
  const int saved = ::dup(STDERR_FILENO);
  ASSERT_GE(saved, 0);
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ::dup2(terminal, STDERR_FILENO);
  const bool onTerminal = files.IsErrorStreamTerminal();
  const int file = ::open((folder.Path() / "stderr.txt").c_str(), O_WRONLY | O_CREAT, 0600);
  ::dup2(file, STDERR_FILENO);
  const bool onFile = files.IsErrorStreamTerminal();
  ::dup2(saved, STDERR_FILENO);
  for (const int fd : {saved, master, terminal, file}) ::close(fd);
  EXPECT_TRUE(onTerminal);
  EXPECT_FALSE(onFile);
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
