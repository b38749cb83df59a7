// Running programs and saving shortcuts with the win32 backend.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/win32/Win32HostFiles.h"
#include "platform/win32/Win32Process.h"
#include "platform/win32/Win32System.h"

namespace kelvara::platform {
namespace {

TEST(Win32Process, RunAndWaitReturnsTheExitCode) {
  win32::Win32Process process;
  win32::Win32System system;
  const std::wstring cmd = system.WindowsFolder() + L"\\system32\\cmd.exe";
  EXPECT_EQ(process.RunAndWait(L"\"" + cmd + L"\" /c exit 7", kSwHide), 7);
  EXPECT_EQ(process.RunAndWait(L"\"" + cmd + L"\" /c exit 0", kSwHide), 0);
  EXPECT_EQ(process.RunAndWait(L"C:\\no\\such\\program.exe", kSwHide), -1);
}

TEST(Win32Process, ShellExecuteOfAMissingFileFails) {
  win32::Win32Process process;
  EXPECT_LE(process.ShellExecute(L"open", L"C:\\no\\such\\document.kelvara", L"", L"", kSwHide), 32);
}

TEST(Win32Process, ShortcutsAreSavedWhereAsked) {
  win32::Win32Process process;
  win32::Win32HostFiles files;
  const std::wstring folder = files.TempFolder() + L"\\kelvara-link-" + std::to_wstring(std::random_device{}());
  HostFileError error;
  ASSERT_TRUE(files.CreateFolders(folder, error));
  const std::wstring link = folder + L"\\Clean Registry - 1 Click.lnk";
  ShortcutDetails shortcut;
  shortcut.target = files.ProgramFile();
  shortcut.arguments = L"-a";
  shortcut.workingFolder = folder;
  shortcut.iconFile = files.ProgramFile();
  EXPECT_TRUE(process.CreateShortcut(shortcut, link));
  HostFileInfo info;
  ASSERT_TRUE(files.GetFileInfo(link, info));
  EXPECT_GT(info.size, 0u);
  EXPECT_FALSE(process.CreateShortcut(shortcut, L"")) << "no place to save it";
  EXPECT_FALSE(process.CreateShortcut(shortcut, folder + L"\\missing folder\\x.lnk"));
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace kelvara::platform

#endif  // _WIN32
