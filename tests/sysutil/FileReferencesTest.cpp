#include "sysutil/FileReferences.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "sysutil/DriveTypes.h"
#include "sysutil/EnvExpansion.h"
#include "sysutil/PublicFuns.h"

namespace kelvara {
namespace {

// A 32-bit-era machine: C: a fixed disk, D: an optical drive, E: a card
// reader with media, F: a network share, A: a fixed disk on the floppy
// letter; every other letter has no drive.
test::FakePlatform MachineFakes() {
  test::FakePlatform fakes;
  fakes.system->windowsFolder = L"C:\\Windows";
  fakes.system->folders = {
      {38, L"C:\\Program Files"}, {43, L"C:\\Program Files\\Common Files"}, {40, L"C:\\Users\\User"}};
  fakes.system->environment = {{L"SystemRoot", L"C:\\Windows"},
                               {L"windir", L"C:\\Windows"},
                               {L"USERPROFILE", L"C:\\Users\\User"},
                               {L"ProgramFiles", L"C:\\Program Files"},
                               {L"LOCALAPPDATA", L"C:\\Users\\User\\AppData\\Local"}};
  fakes.files->driveTypes = {{L'A', platform::kDriveFixed},  {L'C', platform::kDriveFixed},
                             {L'D', platform::kDriveCdRom},  {L'E', platform::kDriveRemovable},
                             {L'F', platform::kDriveRemote}, {L'X', platform::kDriveFixed},
                             {L'Y', platform::kDriveFixed},  {L'Z', platform::kDriveFixed}};
  fakes.files->existing = {
      L"C:\\Windows",
      L"C:\\Windows\\System32",
      L"C:\\Windows\\System32\\shell32.dll",
      L"C:\\Windows\\System32\\rundll32.exe",
      L"C:\\Windows\\System32\\svchost.exe",
      L"C:\\Windows\\notepad.exe",
      L"C:\\Program Files\\App\\app.exe",
      L"C:\\Program Files\\App v1.2",
      L"C:\\Tools",
      L"C:\\Users\\User\\AppData\\Local\\App\\run.exe",
      L"C:\\\u00dcn\u00efc\u00f6de\\\u0444\u0430\u0439\u043b.exe",
      L"X:\\app\\a.exe",
  };
  return fakes;
}

struct Row {
  const wchar_t* data;
  bool allowPercent;
  const wchar_t* expected;
};

void ExpectRows(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(GetFileFromRegData(row.data, row.allowPercent), row.expected)
        << "data: " << row.data << (row.allowPercent ? L"" : L" (no %)");
  }
}

TEST(GetFileFromRegData, FindsThePathInEveryFormOfRegistryData) {
  MachineFakes().Install();
  ExpectRows({
      // Too short, service-host lines, not paths at all.
      {L"C:\\", true, L""},
      {L"abc", true, L""},
      {L"C:\\Windows\\svchost -k netsvcs", true, L""},
      {L"%SystemRoot%\\System32\\svchost.exe -k netsvcs", true, L"C:\\Windows\\System32\\svchost.exe"},
      {L"http://www.example.com/download/setup.exe", true, L""},
      {L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true, L""},
      {L"Microsoft Corporation", true, L""},
      {L"Version: 1.2.3", true, L""},
      {L"1", true, L""},
      // Plain paths, existing and missing, files and folders.
      {L"C:\\Program Files\\App\\app.exe", true, L"C:\\Program Files\\App\\app.exe"},
      {L"C:\\Program Files\\Gone\\gone.exe", true, L"C:\\Program Files\\Gone\\gone.exe"},
      {L"C:\\Program Files\\Gone\\", true, L"C:\\Program Files\\Gone\\"},
      {L"C:\\Windows\\notepad", true, L"C:\\Windows\\notepad"},
      {L"C:\\Data\\7", true, L""},
      // Quoted paths with switches and arguments.
      {L"\"C:\\Program Files\\App\\app.exe\" /s", true, L"C:\\Program Files\\App\\app.exe"},
      {L"\"C:\\Program Files\\Gone\\gone.exe\" /s", true, L"C:\\Program Files\\Gone\\gone.exe"},
      {L"\"C:\\Program Files\\Gone\\gone.exe\" \"%1\"", false, L"C:\\Program Files\\Gone\\gone.exe"},
      {L"'C:\\Program Files\\Gone\\a.exe' -x", true, L"C:\\Program Files\\Gone\\a.exe"},
      {L"C:\\a\"b\"c\"d.exe", true, L""},
      // Unquoted command lines.
      {L"C:\\Program Files\\Gone\\setup.exe /uninstall /quiet", true, L"C:\\Program Files\\Gone\\setup.exe"},
      {L"C:\\Tools\\backup.cmd -daily", true, L"C:\\Tools\\backup.cmd"},
      {L"C:\\Tools\\gone.exe/S", true, L"C:\\Tools\\gone.exe"},
      {L"C:\\app\\run.cmd C:\\doc\\x.txt", true, L"C:\\doc\\x.txt"},
      {L"C:\\Program Files\\App\\app.exe\\Extra", true, L""},
      {L"C:\\a\\b.exe\r\nmore", true, L""},
      // rundll32 forms.
      {L"C:\\Windows\\system32\\rundll32.exe C:\\Tools\\x.dll,Entry", true, L"C:\\Tools\\x.dll"},
      {L"C:\\Windows\\System32\\rundll32.exe \"C:\\Program Files\\Gone\\lib.dll\",Start", true,
       L"C:\\Program Files\\Gone\\lib.dll"},
      {L"C:\\Windows\\System32\\rundll32.exe shell32.dll,Control_RunDLL desk.cpl", true, L""},
      {L"rundll32.exe C:\\Tools\\x.dll,Entry", true, L""},
      // Icon references and resource identifiers after a comma.
      {L"C:\\Windows\\System32\\shell32.dll,-21787", true, L"C:\\Windows\\System32\\shell32.dll"},
      {L"C:\\Program Files\\App\\app.exe,0", true, L"C:\\Program Files\\App\\app.exe"},
      {L"%SystemRoot%\\System32\\imageres.dll,-3", true, L"C:\\Windows\\System32\\imageres.dll"},
      // ";"-lists name their first entry.
      {L"C:\\Old\\lib;C:\\Windows", true, L"C:\\Old\\lib"},
      {L";C:\\Tools;", true, L"C:\\Tools"},
      // Folder tokens and environment variables.
      {L"%SystemRoot%\\system32\\x.dll", true, L"C:\\Windows\\system32\\x.dll"},
      {L"%SystemRoot%\\system32\\x.dll", false, L""},
      {L"%systemroot%\\gone.exe", true, L"C:\\Windows\\gone.exe"},
      {L"%windir%\\system32\\gone.exe", true, L"C:\\Windows\\system32\\gone.exe"},
      {L"%ProgramFiles%\\Gone\\g.exe", true, L"C:\\Program Files\\Gone\\g.exe"},
      {L"%CommonProgramFiles%\\Shared\\s.dll", true, L"C:\\Program Files\\Common Files\\Shared\\s.dll"},
      {L"%ProgramFiles(x86)%\\App\\a.exe", true, L""},
      {L"%UnknownVar%\\x.exe", true, L""},
      {L"%LOCALAPPDATA%\\App\\run.exe --update", true, L"C:\\Users\\User\\AppData\\Local\\App\\run.exe"},
      // Native paths.
      {L"\\??\\C:\\Windows\\x.sys", true, L"C:\\Windows\\x.sys"},
      {L"\\SystemRoot\\System32\\drivers\\x.sys", true, L""},
      // Drives: CD and drives not present are judged; removable media,
      // network drives, floppy letters and X:, Y:, Z: are not.
      {L"D:\\setup\\autorun.exe", true, L"D:\\setup\\autorun.exe"},
      {L"Q:\\Apps\\a.exe", true, L"Q:\\Apps\\a.exe"},
      {L"E:\\card\\a.exe", true, L""},
      {L"F:\\share\\a.exe", true, L""},
      {L"A:\\setup.exe", true, L""},
      {L"X:\\app\\gone.exe", true, L""},
      {L"X:\\app\\a.exe", true, L"X:\\app\\a.exe"},  // an existing plain path is taken first
      {L"y:\\app\\a.exe", true, L""},
      {L"\"Z:\\tools\\z.exe\" /run", true, L""},
      // Non-ASCII paths.
      {L"C:\\\u00dcn\u00efc\u00f6de\\\u0444\u0430\u0439\u043b.exe", true,
       L"C:\\\u00dcn\u00efc\u00f6de\\\u0444\u0430\u0439\u043b.exe"},
      {L"\"C:\\Users\\User\\Documents\\R\u00e9sum\u00e9\\lettre.docx\"", true,
       L"C:\\Users\\User\\Documents\\R\u00e9sum\u00e9\\lettre.docx"},
      // A candidate that exists although the whole text does not is not judged.
      {L"C:\\Program Files\\App v1.2\\bin\\tool", true, L""},
  });
}

TEST(GetFileFromRegData, OnWindows64SomeFolderTokensAreNotJudged) {
  test::FakePlatform fakes = MachineFakes();
  fakes.system->win64 = true;
  fakes.system->folders[38] = L"C:\\Program Files (x86)";
  fakes.system->environment[L"ProgramW6432"] = L"C:\\Program Files";
  fakes.Install();
  ExpectRows({
      {L"%ProgramFiles%\\Gone\\g.exe", true, L"C:\\Program Files\\Gone\\g.exe"},
      {L"%CommonProgramFiles%\\Shared\\s.dll", true, L""},
      {L"\"%CommonProgramFiles%\\Shared\\s.dll\",1", true, L""},
      {L"%ProgramFiles(x86)%\\App\\a.exe", true, L""},
  });
}

TEST(GetFileFromRegData, AnUnresolvedFolderGivesNoPath) {
  test::FakePlatform fakes = MachineFakes();
  fakes.system->windowsFolder.clear();
  fakes.Install();
  EXPECT_EQ(GetFileFromRegData(L"%SystemRoot%\\system32\\x.dll", true), L"");
}

TEST(GetFileFromRegData, VeryLongDataIsNotJudged) {
  MachineFakes().Install();
  const std::wstring longPath = L"C:\\" + std::wstring(kMaxJudgedDataChars, L'a') + L".exe";
  EXPECT_EQ(GetFileFromRegData(longPath, true), L"");
  const std::wstring longest = L"C:\\" + std::wstring(kMaxJudgedDataChars - 7, L'a') + L".exe";
  EXPECT_EQ(GetFileFromRegData(longest, true), longest);
}

TEST(FileReferenceHelpers, StripQuotesAndTrimChar) {
  EXPECT_EQ(StripQuotes(L"  \"C:\\a b\\x.exe\" /s "), L"C:\\a b\\x.exe");
  EXPECT_EQ(StripQuotes(L"'C:\\a b\\x.exe' /s"), L"C:\\a b\\x.exe");
  EXPECT_EQ(StripQuotes(L"\"C:\\unclosed.exe "), L"C:\\unclosed.exe");
  EXPECT_EQ(StripQuotes(L"it's"), L"it's");
  EXPECT_EQ(StripQuotes(L"a'b'c'd"), L"");
  EXPECT_EQ(StripQuotes(L"a\"b'c\"d"), L"");
  EXPECT_EQ(StripQuotes(L"   "), L"");
  EXPECT_EQ(TrimChar(L";a;", L';'), L"a");
  EXPECT_EQ(TrimChar(L";", L';'), L"");
  EXPECT_EQ(TrimChar(L"  ", L';'), L"  ");
  EXPECT_EQ(TrimChar(L" ;a", L';'), L" ;a");
}

TEST(PathExists, TriesProgramExtensionsOnlyForPathsWithoutOne) {
  test::FakePlatform fakes = MachineFakes();
  fakes.files->existing.insert(L"C:\\Tools\\backup.cmd");
  fakes.Install();
  EXPECT_TRUE(PathExists(L"C:\\Windows\\notepad"));
  EXPECT_TRUE(PathExists(L"C:\\Tools"));
  fakes.files->asked.clear();
  EXPECT_TRUE(PathExists(L"C:\\Tools\\backup"));
  EXPECT_EQ(fakes.files->asked,
            (std::vector<std::wstring>{L"C:\\Tools\\backup", L"C:\\Tools\\backup.exe", L"C:\\Tools\\backup.com",
                                       L"C:\\Tools\\backup.bat", L"C:\\Tools\\backup.cmd"}));
  fakes.files->asked.clear();
  EXPECT_FALSE(PathExists(L"C:\\Windows\\nothere.txt"));
  EXPECT_EQ(fakes.files->asked, std::vector<std::wstring>{L"C:\\Windows\\nothere.txt"});
  EXPECT_FALSE(PathExists(L""));
}

TEST(PathExists, AsksAgainWithRedirectionOffOn64BitWindows) {
  for (const bool win64 : {false, true}) {
    test::FakePlatform fakes = MachineFakes();
    fakes.system->win64 = win64;
    fakes.files->redirecting = true;
    fakes.files->hiddenByRedirection.insert(L"C:\\Windows\\System32\\drivers\\native.sys");
    fakes.Install();
    EXPECT_EQ(PathExists(L"C:\\Windows\\System32\\drivers\\native.sys"), win64);
    EXPECT_EQ(fakes.files->switchedOff, 0) << "redirection is switched back on";
    EXPECT_EQ(fakes.files->reverts, win64 ? 1 : 0);
  }
}

TEST(DriveTypeNames, ClassifyDriveRoots) {
  MachineFakes().Install();
  const struct {
    const wchar_t* drive;
    std::wstring_view anyLetter;
    std::wstring_view pathLetter;
  } cases[] = {
      {L"C:", kDriveHardDiskName, kDriveHardDiskName},  {L"c:\\", kDriveHardDiskName, kDriveHardDiskName},
      {L"D:\\", kDriveCdRomName, kDriveCdRomName},      {L"Q:", kDriveRemovableName, kDriveRemovableName},
      {L"A:", kDriveHardDiskName, kDriveUnknownName},   {L"B:\\", kDriveRemovableName, kDriveUnknownName},
      {L"E:\\", kDriveUnknownName, kDriveUnknownName},  {L"F:", kDriveUnknownName, kDriveUnknownName},
      {L"C", kDriveUnknownName, kDriveUnknownName},     {L"C:x", kDriveUnknownName, kDriveUnknownName},
      {L"C:\\x", kDriveUnknownName, kDriveUnknownName}, {L"db\\", kDriveUnknownName, kDriveUnknownName},
      {L"1:\\", kDriveUnknownName, kDriveUnknownName},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetDriveTypeName(c.drive), c.anyLetter) << c.drive;
    EXPECT_EQ(GetPathDriveTypeName(c.drive), c.pathLetter) << c.drive;
  }
}

TEST(ExpandEnvStr, ExpandsWithinTheBufferOrLeavesTheText) {
  test::FakePlatform fakes = MachineFakes();
  fakes.system->environment[L"LONG"] = std::wstring(kExpandBufferChars, L'x');
  fakes.Install();
  EXPECT_EQ(ExpandEnvStr(L"%windir%\\x;%NOPE%"), L"C:\\Windows\\x;%NOPE%");
  EXPECT_EQ(ExpandEnvStr(L"%LONG%\\x"), L"%LONG%\\x");
}

}  // namespace
}  // namespace kelvara
