// The file-type, context-menu and applications rules over small machines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RulesAFixture.h"

namespace kelvara {
namespace {

using test::TRulesFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kMimeTypes[] = R"(
[HKEY_CLASSES_ROOT\MIME\Database\Content Type\text/plain]
"Extension"=".txt"
[HKEY_CLASSES_ROOT\MIME\Database\Content Type\application/x-gone]
"Extension"=".gone"
[HKEY_CLASSES_ROOT\MIME\Database\Content Type\application/x-blank]
"Extension"=""
[HKEY_CLASSES_ROOT\MIME\Database\Content Type\application/x-none]
"CLSID"="{0E46AA4F-0000-0000-0000-000000000000}"
[HKEY_CLASSES_ROOT\.txt]
@="txtfile"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
)";

TEST(FileTypeRulesTest, ReportsMimeTypesWhoseExtensionIsMissingOrBlank) {
  TRulesFixture fixture(kMimeTypes, {});
  EXPECT_THAT(fixture.Scan({_FileType}),
              ElementsAre("HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\application/x-blank | Extension |  | "
                          "rfKey | safe | _FileType | MIME file extension registered incorrectly:  | User",
                          "HKEY_CLASSES_ROOT\\MIME\\Database\\Content Type\\application/x-gone | Extension | .gone | "
                          "rfKey | safe | _FileType | MIME file extension registered incorrectly: .gone | User"));
}

TEST(FileTypeRulesTest, FormatsTheEnglishMimeMessageWhenTheTranslationLacksItsPlaceholder) {
  TRulesFixture fixture(kMimeTypes, {});
  fixture.UseLanguage(L"[ErrorMessage]\r\nMimeExName=Falsch registriert\r\n");
  const auto found = fixture.Scan({_FileType});
  ASSERT_EQ(found.size(), 2u);
  EXPECT_THAT(found[1], ::testing::HasSubstr("| MIME file extension registered incorrectly: .gone |"));
  fixture.UseLanguage(L"[ErrorMessage]\r\nMimeExName=Falsch registriert: %s\r\n");
  EXPECT_THAT(fixture.Scan({_FileType})[1], ::testing::HasSubstr("| Falsch registriert: .gone |"));
}

TEST(FileTypeRulesTest, ReportsClassKeysThatAreEmptyOrPointNowhere) {
  TRulesFixture fixture(R"(
[HKEY_CLASSES_ROOT\.abc]
@="abc_gone"
[HKEY_CLASSES_ROOT\.def]
@="def_gone"
[HKEY_CLASSES_ROOT\.def\OpenWithProgids]
"def.file"=""
[HKEY_CLASSES_ROOT\.ghi]
@="ghi_gone"
"NoOpen"=""
[HKEY_CLASSES_ROOT\.jkl]
@="txtfile"
[HKEY_CLASSES_ROOT\txtfile]
@="Text Document"
[HKEY_CLASSES_ROOT\blankclass]
@="  "
[HKEY_CLASSES_ROOT\blankclass\sub]
[HKEY_CLASSES_ROOT\twovalues]
@=" "
"Other"="x"
[HKEY_CLASSES_ROOT\goneicon]
@="Gone icon"
[HKEY_CLASSES_ROOT\goneicon\DefaultIcon]
@="C:\\Missing\\app.exe,0"
[HKEY_CLASSES_ROOT\okicon]
@="Icon"
[HKEY_CLASSES_ROOT\okicon\DefaultIcon]
@="C:\\Tools\\app.exe,3"
[HKEY_CLASSES_ROOT\discicon]
@="Disc icon"
[HKEY_CLASSES_ROOT\discicon\DefaultIcon]
@="D:\\Setup\\setup.ico"
[HKEY_CLASSES_ROOT\emptycmd]
@="Empty command"
[HKEY_CLASSES_ROOT\emptycmd\shell\open\command]
[HKEY_CLASSES_ROOT\gonecmd]
@="Gone command"
[HKEY_CLASSES_ROOT\gonecmd\shell\open\command]
@="\"C:\\Gone\\gone.exe\" \"%1\""
[HKEY_CLASSES_ROOT\okcmd]
@="Command"
[HKEY_CLASSES_ROOT\okcmd\shell\open\command]
@="\"C:\\Tools\\app.exe\" \"%1\""
)",
                        {L"C:\\Tools\\app.exe"});
  EXPECT_THAT(
      fixture.Scan({_FileType}),
      ElementsAre(
          "HKEY_CLASSES_ROOT\\.abc |  | abc_gone | rfKey | unsafe | _FileType | Without file connection "
          "information. | User",
          "HKEY_CLASSES_ROOT\\blankclass |  |  | rfKey | safe | _FileType | Empty Key | User",
          "HKEY_CLASSES_ROOT\\discicon\\DefaultIcon |  | D:\\Setup\\setup.ico | rfKey | unsafe | _FileType | "
          "File(Folder) does not exist, but drive \"D\" is CD\\DVD-ROM, recommend you ignore this error. | User",
          "HKEY_CLASSES_ROOT\\emptycmd\\shell\\open\\command |  |  | rfKey | safe | _FileType | Shell command "
          "is empty. | User",
          "HKEY_CLASSES_ROOT\\gonecmd\\shell\\open\\command |  | \"C:\\Gone\\gone.exe\" \"%1\" | rfKey | "
          "unsafe | _FileType | Invalid shell command (File not exist). | User",
          "HKEY_CLASSES_ROOT\\goneicon\\DefaultIcon |  | C:\\Missing\\app.exe,0 | rfKey | safe | _FileType | "
          "Invalid path to icon. | User"));
}

TEST(FileTypeRulesTest, ReportsExplorerExtensionListsWithoutAnyProgramForEveryCheckedUser) {
  TRulesFixture fixture(R"(
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.abc\OpenWithList]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.txt\OpenWithList]
"a"="notepad.exe"
"MRUList"="a"
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.zzz]
[HKEY_CLASSES_ROOT\.abc]
@="abc_gone"
)",
                        {});
  fixture.AddOtherUser();
  // Without administrator rights only the users' lists are read.
  EXPECT_THAT(fixture.Scan({_FileType}, slNormal, false),
              ElementsAre("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.abc | "
                          " |  | rfKey | safe | _FileType | No any application associated with this type. | User",
                          "HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1002\\Software\\Microsoft\\Windows\\"
                          "CurrentVersion\\Explorer\\FileExts\\.zzz |  |  | rfKey | safe | _FileType | No any "
                          "application associated with this type. | Other"));
}

TEST(FileTypeRulesTest, ReportsShellVerbsAndMenuHandlersWhoseFileIsMissing) {
  TRulesFixture fixture(R"(
[HKEY_CLASSES_ROOT\*\shell\gone\command]
@="C:\\Gone\\tool.exe \"%1\""
[HKEY_CLASSES_ROOT\*\shell\fine\command]
@="C:\\Tools\\app.exe \"%1\""
[HKEY_CLASSES_ROOT\*\shell\nocommand]
@="Verb without a command"
[HKEY_CLASSES_ROOT\lnkfile\shell\gone\command]
@="C:\\Gone\\tool.exe \"%1\""
[HKEY_CLASSES_ROOT\Directory\shellex\ContextMenuHandlers\{11111111-1111-1111-1111-111111111111}]
[HKEY_CLASSES_ROOT\CLSID\{11111111-1111-1111-1111-111111111111}\InProcServer32]
@="C:\\Gone\\ext.dll"
[HKEY_CLASSES_ROOT\Folder\shellex\ContextMenuHandlers\Named]
@="{22222222-2222-2222-2222-222222222222}"
[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Classes\CLSID\{22222222-2222-2222-2222-222222222222}\InProcServer32]
@="C:\\Gone\\ext32.dll"
[HKEY_CLASSES_ROOT\Folder\shellex\ContextMenuHandlers\NoServer]
@="{33333333-3333-3333-3333-333333333333}"
[HKEY_CLASSES_ROOT\CLSID\{33333333-3333-3333-3333-333333333333}]
@="A class without a server"
[HKEY_CLASSES_ROOT\Folder\shellex\ContextMenuHandlers\NotAClass]
@="C:\\Gone\\ext.dll"
[HKEY_CLASSES_ROOT\exefile\shellex\ContextMenuHandlers\Present]
@="{44444444-4444-4444-4444-444444444444}"
[HKEY_CLASSES_ROOT\CLSID\{44444444-4444-4444-4444-444444444444}\InProcServer32]
@="C:\\Tools\\ext.dll"
)",
                        {L"C:\\Tools\\app.exe", L"C:\\Tools\\ext.dll"});
  EXPECT_THAT(fixture.Scan({_ContextMenu}),
              ElementsAre("HKEY_CLASSES_ROOT\\*\\Shell\\gone |  | C:\\Gone\\tool.exe \"%1\" | rfKey | safe | "
                          "_ContextMenu | File(Folder) does not exist. | User",
                          "HKEY_CLASSES_ROOT\\Directory\\shellex\\ContextMenuHandlers\\{11111111-1111-1111-1111-"
                          "111111111111} |  | C:\\Gone\\ext.dll | rfKey | safe | _ContextMenu | File(Folder) does not "
                          "exist. | User",
                          "HKEY_CLASSES_ROOT\\Folder\\shellex\\ContextMenuHandlers\\Named |  | C:\\Gone\\ext32.dll | "
                          "rfKey | safe | _ContextMenu | File(Folder) does not exist. | User"));
}

TEST(FileTypeRulesTest, ContextMenusAndApplicationsNeedAdministratorRights) {
  TRulesFixture fixture(R"(
[HKEY_CLASSES_ROOT\*\shell\gone\command]
@="C:\\Gone\\tool.exe"
[HKEY_CLASSES_ROOT\Applications\empty.exe]
)",
                        {});
  EXPECT_THAT(fixture.Scan({_ContextMenu, _APP}, slNormal, false), IsEmpty());
}

TEST(FileTypeRulesTest, ReportsOpenWithApplicationsThatAreGoneOrEmptyAtTheTopLevel) {
  TRulesFixture fixture(R"(
[HKEY_CLASSES_ROOT\Applications\gone.exe\shell\open\command]
@="\"C:\\Gone\\gone.exe\" \"%1\""
[HKEY_CLASSES_ROOT\Applications\ok.exe\shell\open\command]
@="\"C:\\Tools\\app.exe\" \"%1\""
[HKEY_CLASSES_ROOT\Applications\empty.exe]
[HKEY_CLASSES_ROOT\Applications\portable.exe]
"FriendlyAppName"="Portable"
[HKEY_CLASSES_ROOT\Applications\portable.exe\empty]
[HKEY_CLASSES_ROOT\Applications\portable.exe\shell\open\command]
@="F:\\Portable\\portable.exe \"%1\""
)",
                        {L"C:\\Tools\\app.exe"});
  EXPECT_THAT(
      fixture.Scan({_APP}),
      ElementsAre("HKEY_CLASSES_ROOT\\Applications\\empty.exe |  |  | rfKey | safe | _APP | Empty Key | User",
                  "HKEY_CLASSES_ROOT\\Applications\\gone.exe\\shell\\open\\command |  | \"C:\\Gone\\gone.exe\" "
                  "\"%1\" | rfKey | safe | _APP | Open with application error, the specified application does "
                  "not exist. | User",
                  "HKEY_CLASSES_ROOT\\Applications\\portable.exe\\shell\\open\\command |  | "
                  "F:\\Portable\\portable.exe \"%1\" | rfKey | unsafe | _APP | Open with application error, the "
                  "specified application does not exist. But drive \"F\" is Removable Disk, recommend you "
                  "ignore this error. | User"));
}

}  // namespace
}  // namespace kelvara
