// The software, application-path and help-file rules over small machines.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RulesAFixture.h"

namespace kelvara {
namespace {

using test::TRulesFixture;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kSoftware[] = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\EmptyVendor\Sub]
[HKEY_LOCAL_MACHINE\SOFTWARE\Vendor\App]
"Exe"="C:\\Vendor\\gone.exe"
"Ok"="C:\\Tools\\app.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Foo]
"Exe"="C:\\Gone\\ms.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Classes\gonefile\shell\open\command]
@="C:\\Gone\\class.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Vendor32]
"Exe"="C:\\Vendor32\\gone.exe"
[HKEY_CURRENT_USER\Software\EmptyUserVendor]
[HKEY_CURRENT_USER\Software\UserVendor]
"Exe"="C:\\UserVendor\\gone.exe"
[HKEY_CURRENT_USER\Software\Wow6432Node\UserVendor32]
"Exe"="C:\\UserVendor32\\gone.exe"
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\OtherVendor]
"Exe"="C:\\Other\\gone.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Installer\Folders]
"C:\\Program Files\\Gone\\"=""
"C:\\Tools\\"=""
)";

TEST(SoftwareRulesTest, ReportsEmptySoftwareKeysAndMissingFilesOfEveryScannedSoftwareTree) {
  TRulesFixture fixture(kSoftware, {L"C:\\Tools\\app.exe"});
  fixture.AddOtherUser();
  EXPECT_THAT(
      fixture.Scan({_SoftWare}),
      ElementsAre(
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\EmptyVendor |  |  | rfKey | safe | _SoftWare | Empty Key | User",
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App | Exe | C:\\Vendor\\gone.exe | rfValue | safe | _SoftWare | "
          "File(Folder) does not exist.C:\\Vendor\\gone.exe | User",
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Vendor32 | Exe | C:\\Vendor32\\gone.exe | rfValue | safe | "
          "_SoftWare | File(Folder) does not exist.C:\\Vendor32\\gone.exe | User",
          "HKEY_CURRENT_USER\\Software\\EmptyUserVendor |  |  | rfKey | safe | _SoftWare | Empty Key | User",
          "HKEY_CURRENT_USER\\Software\\UserVendor | Exe | C:\\UserVendor\\gone.exe | rfValue | safe | _SoftWare | "
          "File(Folder) does not exist.C:\\UserVendor\\gone.exe | User",
          "HKEY_CURRENT_USER\\Software\\Wow6432Node\\UserVendor32 | Exe | C:\\UserVendor32\\gone.exe | rfValue | safe "
          "| _SoftWare | File(Folder) does not exist.C:\\UserVendor32\\gone.exe | User",
          "HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1002\\Software\\OtherVendor | Exe | C:\\Other\\gone.exe "
          "| rfValue | safe | _SoftWare | File(Folder) does not exist.C:\\Other\\gone.exe | Other",
          "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders | C:\\Program "
          "Files\\Gone\\ |  | rfValue | safe | _SoftWare | File(Folder) does not exist.C:\\Program Files\\Gone\\ | "
          "User"));
}

TEST(SoftwareRulesTest, ReadsOnlyTheUsersSoftwareWithoutAdministratorRights) {
  TRulesFixture fixture(kSoftware, {L"C:\\Tools\\app.exe"});
  const auto found = fixture.Scan({_SoftWare}, slNormal, false);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_THAT(found[0], ::testing::StartsWith("HKEY_CURRENT_USER\\Software\\EmptyUserVendor |"));
}

TEST(SoftwareRulesTest, LeavesTheWow64TreeToTheWow64RulesAndNoneOnA32BitSystem) {
  constexpr char kTrees[] = R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Wow6432Node\Vendor32]
"Exe"="C:\\Vendor32\\gone.exe"
)";
  TRulesFixture win32(kTrees, {}, false);
  EXPECT_THAT(win32.Scan({_SoftWare}), IsEmpty());
}

TEST(SoftwareRulesTest, EndsItsTemporaryExclusionsWithTheCategory) {
  // "\Microsoft\" keeps Microsoft's keys out of the software category only;
  // the application-path category that follows still reports below it.
  TRulesFixture fixture(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\gone.exe]
@="C:\\Gone\\gone.exe"
"Path"="C:\\Gone"
)",
                        {});
  EXPECT_THAT(fixture.Scan({_SoftWare, _AppPath}),
              ElementsAre("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe |  | "
                          "C:\\Gone\\gone.exe | rfKey | safe | _AppPath | File(Folder) does not "
                          "exist.C:\\Gone\\gone.exe | User"));
}

TEST(SoftwareRulesTest, ReportsAppPathsAndCompatibilityEntriesOfMissingPrograms) {
  TRulesFixture fixture(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\disc.exe]
@="D:\\disc.exe"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\empty.exe]
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\foo.exe]
@=""
"Path"="C:\\Tools"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\noext.exe]
@="C:\\Tools\\noext"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\three.exe]
@="C:\\Gone\\three.exe"
"Path"="C:\\Gone"
"UseUrl"=dword:00000001
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths\two.exe]
@="C:\\Gone\\two.exe"
"Path"="C:\\Gone"
[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows\CurrentVersion\App Paths\old32.exe]
@="C:\\Gone\\old32.exe"
[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers]
"C:\\Gone\\legacy.exe"="~ WIN7RTM"
"C:\\Tools\\noext.exe"="~ HIGHDPIAWARE"
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Compatibility Assistant\Persisted]
"C:\\Gone\\setup.exe"=dword:00000003
[HKEY_CURRENT_USER\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Compatibility Assistant\Store]
"C:\\Gone\\store.exe"=hex:53,41
[HKEY_USERS\S-1-5-21-3623811015-3361044348-30300820-1002\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers]
"C:\\Gone\\other.exe"="RUNASADMIN"
)",
                        {L"C:\\Tools\\noext.exe"});
  fixture.AddOtherUser();
  const std::string paths = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  const std::string flags = "\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\";
  EXPECT_THAT(
      fixture.Scan({_AppPath}),
      ElementsAre(paths + "disc.exe |  | D:\\disc.exe | rfKey | unsafe | _AppPath | File(Folder) does not exist, but "
                          "drive \"D\" is CD\\DVD-ROM, recommend you ignore this error. | User",
                  paths + "empty.exe |  |  | rfKey | safe | _AppPath | Empty Node | User",
                  paths + "foo.exe | Path | C:\\Tools | rfKey | safe | _AppPath | File(Folder) does not "
                          "exist.C:\\Tools\\foo.exe | User",
                  paths + "three.exe |  | C:\\Gone\\three.exe | rfValue | safe | _AppPath | File(Folder) does not "
                          "exist.C:\\Gone\\three.exe | User",
                  paths + "two.exe |  | C:\\Gone\\two.exe | rfKey | safe | _AppPath | File(Folder) does not "
                          "exist.C:\\Gone\\two.exe | User",
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\old32.exe "
                  "|  | C:\\Gone\\old32.exe | rfKey | safe | _AppPath | File(Folder) does not "
                  "exist.C:\\Gone\\old32.exe | User",
                  "HKEY_LOCAL_MACHINE" + flags +
                      "Layers | C:\\Gone\\legacy.exe | ~ WIN7RTM | rfValue | safe | _AppPath | File(Folder) does not "
                      "exist. | User",
                  "HKEY_CURRENT_USER" + flags +
                      "Compatibility Assistant\\Persisted | C:\\Gone\\setup.exe | 3 | rfValue | safe | _AppPath | "
                      "File(Folder) does not exist. | User",
                  "HKEY_CURRENT_USER" + flags +
                      "Compatibility Assistant\\Store | C:\\Gone\\store.exe | 53,41 | rfValue | safe | _AppPath | "
                      "File(Folder) does not exist. | User",
                  "HKEY_USERS\\S-1-5-21-3623811015-3361044348-30300820-1002" + flags +
                      "Layers | C:\\Gone\\other.exe | RUNASADMIN | rfValue | safe | _AppPath | File(Folder) does not "
                      "exist. | Other"));
}

TEST(SoftwareRulesTest, ReportsHelpFilesMissingFromTheirFolder) {
  TRulesFixture fixture(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Help]
"x.chm"="C:\\Help"
"ok.hlp"="C:\\Help\\"
"disc.chm"="D:\\Help"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\Html Help]
"gone.chm"="C:\\Gone\\Help"
[HKEY_LOCAL_MACHINE\SOFTWARE\WOW6432Node\Microsoft\Windows\Help]
"y.hlp"="C:\\Help"
)",
                        {L"C:\\Help\\ok.hlp"});
  const std::string help = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Help | ";
  EXPECT_THAT(
      fixture.Scan({_HelpFiles}),
      ElementsAre(help + "x.chm | C:\\Help | rfValue | safe | _HelpFiles | Help File(Folder) does not "
                         "exist.C:\\Help\\x.chm | User",
                  help + "disc.chm | D:\\Help | rfValue | unsafe | _HelpFiles | File(Folder) does not exist, but drive "
                         "\"D\" is CD\\DVD-ROM, recommend you ignore this error. | User",
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\Html Help | gone.chm | C:\\Gone\\Help | rfValue | "
                  "safe | _HelpFiles | Help File(Folder) does not exist.C:\\Gone\\Help\\gone.chm | User",
                  "HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\Help | y.hlp | C:\\Help | rfValue | "
                  "safe | _HelpFiles | Help File(Folder) does not exist.C:\\Help\\y.hlp | User"));
  EXPECT_THAT(fixture.Scan({_HelpFiles}, slNormal, false), IsEmpty());
}

}  // namespace
}  // namespace kelvara
